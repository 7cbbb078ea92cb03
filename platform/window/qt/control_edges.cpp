#include "platform/window/qt/control_edges.h"

#include "platform/window/control_edges.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"

namespace platform::window {

QMargins EdgeMargins(std::uint32_t style, std::uint32_t exStyle) {
    const int width = EdgeWidth(style, exStyle);
    return QMargins(width, width, width, width);
}

void DrawThinEdge(QPainter& painter, const QRect& rect, bool raised) {
    PaintWith(painter, painter.font(),
              [&](DeviceContext& dc) { DrawThinEdge(dc, FromQRect(rect), raised); });
}

void DrawEdges(QPainter& painter, const QRect& rect, std::uint32_t style, std::uint32_t exStyle) {
    PaintWith(painter, painter.font(),
              [&](DeviceContext& dc) { DrawEdges(dc, FromQRect(rect), style, exStyle); });
}

}  // namespace platform::window
