#include "platform/window/control_edges.h"

#include "platform/window/styles.h"

namespace platform::window {

namespace {

constexpr ColorRef SHADOW = Rgb(128, 128, 128);
constexpr ColorRef DARK_SHADOW = Rgb(64, 64, 64);
constexpr ColorRef HIGHLIGHT = Rgb(255, 255, 255);
constexpr ColorRef LIGHT = Rgb(227, 227, 227);

bool HasSunkenEdge(std::uint32_t style, std::uint32_t exStyle) {
    // SS_SUNKEN shares its bit with other meanings on edits and buttons;
    // the factory only passes it through for statics.
    return (style & SS_SUNKEN) != 0 || (exStyle & WS_EX_STATICEDGE) != 0;
}

// The outermost pixel ring of `r`: top and left in one colour, bottom and
// right in the other.
void DrawLines(DeviceContext& dc, const Rect& r, ColorRef topLeft, ColorRef bottomRight) {
    const int right = r.right - 1;  // the last pixels inside
    const int bottom = r.bottom - 1;
    dc.SetPen(Pen{topLeft});
    dc.Line({r.left, r.top}, {right - 1, r.top});
    dc.Line({r.left, r.top}, {r.left, bottom - 1});
    dc.SetPen(Pen{bottomRight});
    dc.Line({r.left, bottom}, {right, bottom});
    dc.Line({right, r.top}, {right, bottom});
}

}  // namespace

int EdgeWidth(std::uint32_t style, std::uint32_t exStyle) {
    int width = 0;
    if ((style & WS_BORDER) != 0) width += 1;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) width += 2;
    if (HasSunkenEdge(style, exStyle)) width += 1;
    return width;
}

void DrawThinEdge(DeviceContext& dc, const Rect& rect, bool raised) {
    if (raised)
        DrawLines(dc, rect, HIGHLIGHT, SHADOW);
    else
        DrawLines(dc, rect, SHADOW, HIGHLIGHT);
}

void DrawEdges(DeviceContext& dc, const Rect& rect, std::uint32_t style, std::uint32_t exStyle) {
    dc.Save();
    Rect r = rect;
    if ((style & WS_BORDER) != 0) {
        dc.SetPen(Pen{Rgb(0, 0, 0)});
        dc.SetNullBrush();
        dc.Rectangle(r.Deflated(0, 0, 1, 1));
        r = r.Deflated(1, 1, 1, 1);
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        DrawLines(dc, r, SHADOW, HIGHLIGHT);
        r = r.Deflated(1, 1, 1, 1);
        DrawLines(dc, r, DARK_SHADOW, LIGHT);
        r = r.Deflated(1, 1, 1, 1);
    }
    if (HasSunkenEdge(style, exStyle)) DrawThinEdge(dc, r, false);
    dc.Restore();
}

}  // namespace platform::window
