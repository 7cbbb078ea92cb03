#include "platform/window/qt/control_edges.h"

#include "platform/window/styles.h"

namespace platform::window {

namespace {

const QColor SHADOW(128, 128, 128);
const QColor DARK_SHADOW(64, 64, 64);
const QColor HIGHLIGHT(255, 255, 255);
const QColor LIGHT(227, 227, 227);

bool HasSunkenEdge(std::uint32_t style, std::uint32_t exStyle) {
    // SS_SUNKEN shares its bit with other meanings on edits and buttons;
    // the factory only passes it through for statics.
    return (style & SS_SUNKEN) != 0 || (exStyle & WS_EX_STATICEDGE) != 0;
}

void DrawLines(QPainter& painter, const QRect& r, const QColor& topLeft,
               const QColor& bottomRight) {
    // QRect's right() and bottom() are the last pixels inside.
    painter.setPen(topLeft);
    painter.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    painter.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    painter.setPen(bottomRight);
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

}  // namespace

QMargins EdgeMargins(std::uint32_t style, std::uint32_t exStyle) {
    int width = 0;
    if ((style & WS_BORDER) != 0) width += 1;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) width += 2;
    if (HasSunkenEdge(style, exStyle)) width += 1;
    return QMargins(width, width, width, width);
}

void DrawThinEdge(QPainter& painter, const QRect& rect, bool raised) {
    if (raised)
        DrawLines(painter, rect, HIGHLIGHT, SHADOW);
    else
        DrawLines(painter, rect, SHADOW, HIGHLIGHT);
}

void DrawEdges(QPainter& painter, const QRect& rect, std::uint32_t style, std::uint32_t exStyle) {
    painter.save();
    QRect r = rect;
    if ((style & WS_BORDER) != 0) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        DrawLines(painter, r, SHADOW, HIGHLIGHT);
        r.adjust(1, 1, -1, -1);
        DrawLines(painter, r, DARK_SHADOW, LIGHT);
        r.adjust(1, 1, -1, -1);
    }
    if (HasSunkenEdge(style, exStyle)) DrawThinEdge(painter, r, false);
    painter.restore();
}

}  // namespace platform::window
