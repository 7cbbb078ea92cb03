// DeviceContext: what a window paints with, handed to its paint handler
// (WM_PAINT's device context in Win32). Fills, frames, lines, polylines and
// polygons, ellipses and pies, text in a font and colour, images with their
// alpha, clipping and antialiasing. Coordinates are the window's client
// coordinates in pixels; rectangles are Rect (right and bottom one past the
// last pixel).
//
// Shapes are outlined with the pen and filled with the brush, as in GDI:
//
//   dc.SetAntialiasing(true);
//   dc.SetPen(Pen{SKIN_COLOR, 3, PenStyle::Solid, LineEnds::Round});
//   dc.Polyline(points);
//   dc.SetTextColor(SKIN_COLOR);
//   dc.DrawText(area, "Locked", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "platform/window/font.h"
#include "platform/window/geometry.h"
#include "platform/window/image.h"

namespace platform::window {

// DrawText's format bits, Win32's values. Without DT_SINGLELINE a "\n"
// starts a new line. Without DT_NOPREFIX a '&' underlines the letter after
// it and is not shown, "&&" shows one ampersand. An ellipsis bit shortens
// each line too wide for the rectangle on its own: at its end
// (DT_END_ELLIPSIS, DT_WORD_ELLIPSIS) or in its middle, so that the end of a
// path stays readable (DT_PATH_ELLIPSIS).
inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_TOP = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_WORDBREAK = 0x0010;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_NOPREFIX = 0x0800;
inline constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
inline constexpr unsigned DT_END_ELLIPSIS = 0x8000;
inline constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;
inline constexpr unsigned DT_ELLIPSIS_MASK = DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;

enum class PenStyle { Solid, Dash, None };
// How a wide line ends and joins: square and mitred as GDI's cosmetic pens,
// or round (PS_ENDCAP_ROUND | PS_JOIN_ROUND).
enum class LineEnds { Square, Round };

struct Pen {
    ColorRef color = 0;
    double width = 1;  // fractional widths need antialiasing to show
    PenStyle style = PenStyle::Solid;
    LineEnds ends = LineEnds::Square;
};

class DeviceContext {
  public:
    struct Impl;

    // Made by the backend for one paint; the state set here lasts for it.
    explicit DeviceContext(std::unique_ptr<Impl> impl);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // ---- State -----------------------------------------------------------
    // Saves pen, brush, font, text and background colours, clipping,
    // origin, opacity and antialiasing; Restore gives back the last saved.
    void Save();
    void Restore();
    void SetAntialiasing(bool on);
    void SetPen(const Pen& pen);
    void SetNullPen();
    void SetBrush(ColorRef color);
    void SetNullBrush();
    // A brush running from `top` at the centre of the box's top pixel row to
    // `bottom` at the centre of its bottom row (a GDI+ linear gradient).
    void SetGradientBrush(const Rect& box, ColorRef top, ColorRef bottom);
    // The colour behind the painted control (GetBkColor); white unless the
    // control gives its own.
    ColorRef BackgroundColor() const;
    void SetBackgroundColor(ColorRef color);
    // Drawing after this lands at (x + dx, y + dy); fractions place an
    // antialiased stroke on pixel centres.
    void Translate(double dx, double dy);
    // Limits drawing to the rectangle (until Restore).
    void SetClipRect(const Rect& rect);
    // Images and shapes drawn from now on are blended at this opacity (0..1).
    void SetOpacity(double opacity);

    // ---- Fills and shapes -------------------------------------------------
    void FillRect(const Rect& rect, ColorRef color);
    // A vertical gradient from `top` at the rectangle's top to `bottom` at its
    // bottom (GradientFill with GRADIENT_FILL_RECT_V).
    void FillGradient(const Rect& rect, ColorRef top, ColorRef bottom);
    // Outlined with the pen, filled with the brush. Unlike GDI's Rectangle,
    // the outline's right and bottom run one pixel outside `rect` with a one
    // pixel pen: `rect` names the pixel centres the outline passes through.
    void Rectangle(const Rect& rect);
    // The rectangle with corners of `radius`, and the ellipse, whose outline
    // runs through the centres of the box's outer pixels.
    void RoundedRectangle(const Rect& box, double radius);
    void Ellipse(const Rect& box);
    // A slice of that ellipse from `startDegrees` (counter-clockwise from three
    // o'clock) over `sweepDegrees` (negative: clockwise).
    void Pie(const Rect& box, double startDegrees, double sweepDegrees);

    // ---- Lines -----------------------------------------------------------
    // Both ends are drawn (GDI's LineTo leaves out the last pixel).
    void Line(Point from, Point to);
    void SetPixel(Point at);  // one dot in the pen
    void Polyline(std::span<const Point> points);
    // Closed, outlined with the pen and filled with the brush.
    void Polygon(std::span<const Point> points);

    // ---- Text ------------------------------------------------------------
    // The font of the window being painted, as its controls show text.
    Font WindowFont() const;
    void SetFont(const Font& font);
    void SetTextColor(ColorRef color);
    // UTF-8 text laid out in the rectangle by DT_* bits.
    void DrawText(const Rect& rect, std::string_view text, unsigned format);
    // Starts the text's first line with its base line at `baseline`.
    void DrawTextAt(Point baseline, std::string_view text);
    // Width of one line of text in the current font.
    int TextWidth(std::string_view text) const;

    // ---- Images ----------------------------------------------------------
    // The image's `source` part, unscaled, with its top-left corner at `to`.
    void DrawImage(Point to, const Image& image, const Rect& source);
    void DrawImage(Point to, const Image& image);
    // Scaled to fill `to`.
    void StretchImage(const Rect& to, const Image& image);
    // Repeated from the rectangle's top-left corner to fill it.
    void TileImage(const Rect& rect, const Image& image);

    Impl& Get() { return *m_impl; }

  private:
    std::unique_ptr<Impl> m_impl;
};

// Paints on a copy of `image` as on a memory device context with the bitmap
// selected into it (CreateCompatibleDC, SelectObject) and returns the
// painted copy; `image` itself is left as it was. The device context's
// window font is the application's default font. The null image gives the
// null image and paints nothing.
Image PaintOnImage(const Image& image, const std::function<void(DeviceContext&)>& paint);

}  // namespace platform::window
