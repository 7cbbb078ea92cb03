#include "platform/window/frame_control.h"

#include "platform/window/control_edges.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

constexpr ColorRef BLACK = Rgb(0, 0, 0);
constexpr ColorRef GREY = Rgb(128, 128, 128);
constexpr ColorRef WHITE = Rgb(255, 255, 255);

void Outline(DeviceContext& dc, const Rect& inside, ColorRef color) {
    dc.SetPen(Pen{color});
    dc.SetNullBrush();
    dc.Rectangle(inside.Deflated(0, 0, 1, 1));  // the outline's last pixel is inside
}

}  // namespace

void FrameControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    Invalidate();
}

void FrameControl::OnPaint(DeviceContext& dc) {
    // The edges lie outermost, the frame or rectangle inside them.
    const Rect whole = GetClientRect();
    DrawEdges(dc, whole, m_style, m_exStyle);
    const int edge = EdgeWidth(m_style, m_exStyle);
    const Rect inside = whole.Deflated(edge, edge, edge, edge);
    const int right = inside.right - 1;  // the last pixels inside
    const int bottom = inside.bottom - 1;
    switch (m_style & SS_TYPEMASK) {
        case SS_BLACKRECT:
            dc.FillRect(inside, BLACK);
            break;
        case SS_GRAYRECT:
            dc.FillRect(inside, GREY);
            break;
        case SS_WHITERECT:
            dc.FillRect(inside, WHITE);
            break;
        case SS_BLACKFRAME:
            Outline(dc, inside, BLACK);
            break;
        case SS_GRAYFRAME:
            Outline(dc, inside, GREY);
            break;
        case SS_WHITEFRAME:
            Outline(dc, inside, WHITE);
            break;
        case SS_ETCHEDFRAME:
            DrawThinEdge(dc, inside, false);
            DrawThinEdge(dc, inside.Deflated(1, 1, 1, 1), true);
            break;
        case SS_ETCHEDHORZ:
            dc.SetPen(Pen{GREY});
            dc.Line({inside.left, inside.top}, {right, inside.top});
            dc.SetPen(Pen{WHITE});
            dc.Line({inside.left, inside.top + 1}, {right, inside.top + 1});
            break;
        case SS_ETCHEDVERT:
            dc.SetPen(Pen{GREY});
            dc.Line({inside.left, inside.top}, {inside.left, bottom});
            dc.SetPen(Pen{WHITE});
            dc.Line({inside.left + 1, inside.top}, {inside.left + 1, bottom});
            break;
        default:
            break;
    }
}

}  // namespace platform::window
