// Points, sizes and rectangles as Win32 gives them, and colours as Win32
// colour values. A rectangle's right and bottom lie one past its last pixel,
// so right - left is the width; a toolkit whose rectangles name the last
// pixel itself converts at its edge, never here.
#pragma once

#include <cstdint>

namespace platform::window {

struct Point {
    int x = 0;
    int y = 0;

    constexpr bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The rectangle of `width` x `height` pixels whose top-left pixel is (x, y).
    static constexpr Rect FromSize(int x, int y, int width, int height) {
        return Rect{x, y, x + width, y + height};
    }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr Point TopLeft() const { return Point{left, top}; }
    constexpr Size GetSize() const { return Size{Width(), Height()}; }
    // Each edge moved inwards by its own amount (negative amounts move outwards).
    constexpr Rect Deflated(int dl, int dt, int dr, int db) const {
        return Rect{left + dl, top + dt, right - dr, bottom - db};
    }
    constexpr Rect Offset(int dx, int dy) const {
        return Rect{left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr bool operator==(const Rect&) const = default;
};

// A Win32 colour value: 0x00BBGGRR.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

}  // namespace platform::window
