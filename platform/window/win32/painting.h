// The Win32 backend of the painting vocabulary: Font carries a LOGFONTW,
// Image a GDI+ bitmap with premultiplied alpha, DeviceContext a GDI+
// Graphics on the window's (double-buffered) device context. Private to the
// backend and to the tests that drive it.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/font.h"
#include "platform/window/geometry.h"
#include "platform/window/image.h"

namespace platform::window {

struct Font::Impl {
    LOGFONTW logFont{};
};

struct Image::Impl {
    std::shared_ptr<Gdiplus::Bitmap> bitmap;  // 32 bpp, premultiplied alpha
};

struct DeviceContext::Impl {
    // A brush is a colour, a vertical gradient over a box, or nothing.
    struct Brush {
        enum class Kind { None, Solid, Gradient } kind = Kind::None;
        ColorRef color = 0;
        Rect box;
        ColorRef bottom = 0;
    };
    // What Save keeps besides the Graphics' own state (clip, transform,
    // smoothing).
    struct State {
        Pen pen;
        bool nullPen = false;
        Brush brush;
        Font font;
        ColorRef text = 0;
        ColorRef background = Rgb(255, 255, 255);
        double opacity = 1;
        bool antialiasing = false;
        Gdiplus::GraphicsState graphics = 0;
    };

    explicit Impl(Gdiplus::Graphics& on, Font window)
        : graphics(on), windowFont(std::move(window)) {
        state.font = windowFont;
    }

    Gdiplus::Graphics& graphics;
    Font windowFont;
    State state;
    std::vector<State> saved;
};

namespace win32 {

// Starts GDI+ for the process the first time it is called; later calls are
// free. False when GDI+ cannot start (nothing can be painted then).
bool StartGdiplus();

Font FontFromLogFont(const LOGFONTW& logFont);
// The font as GDI+ draws it; a face GDI+ does not know becomes the
// system's sans-serif face at the same size.
std::unique_ptr<Gdiplus::Font> ToGdiplusFont(const Font& font);

// A copy of the bitmap as an Image (32 bpp premultiplied); the null image
// for a null or unreadable bitmap.
Image ImageFromBitmap(Gdiplus::Bitmap& bitmap);

// Runs `paint` with a device context on `graphics`; `windowFont` is what
// WindowFont() answers. Whatever the paint saved and did not restore is
// undone after it.
void PaintWith(Gdiplus::Graphics& graphics, const Font& windowFont,
               const std::function<void(DeviceContext&)>& paint);

}  // namespace win32
}  // namespace platform::window
