// Rectangles as Win32 gives them (right and bottom lie one past the last
// pixel, so right - left is the width) and colours as Win32 colour values.
// QRect's right() is the last pixel itself; mixing the two is an easy
// off-by-one, so window rectangles cross this layer as Rect.
#pragma once

#include <QColor>
#include <QRect>

#include <cstdint>

namespace platform::window {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool operator==(const Rect&) const = default;

    static Rect FromQRect(const QRect& r) {
        return Rect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
};

// A Win32 colour value: 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline QColor ToQColor(ColorRef c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline ColorRef FromQColor(const QColor& c) {
    return Rgb(c.red(), c.green(), c.blue());
}

}  // namespace platform::window
