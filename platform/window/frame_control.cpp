#include "platform/window/frame_control.h"

#include <QPainter>

#include "platform/window/qt/control_edges.h"
#include "platform/window/styles.h"

namespace platform::window {

FrameControl::FrameControl(QWidget* parent) : QWidget(parent) {}

void FrameControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    update();
}

void FrameControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The edges lie outermost, the frame or rectangle inside them.
    DrawEdges(painter, rect(), m_style, m_exStyle);
    const QRect inside = rect().marginsRemoved(EdgeMargins(m_style, m_exStyle));
    const QRect outer = inside.adjusted(0, 0, -1, -1);  // drawRect's last pixel
    switch (m_style & SS_TYPEMASK) {
        case SS_BLACKRECT:
            painter.fillRect(inside, Qt::black);
            break;
        case SS_GRAYRECT:
            painter.fillRect(inside, QColor(128, 128, 128));
            break;
        case SS_WHITERECT:
            painter.fillRect(inside, Qt::white);
            break;
        case SS_BLACKFRAME:
            painter.setPen(Qt::black);
            painter.drawRect(outer);
            break;
        case SS_GRAYFRAME:
            painter.setPen(QColor(128, 128, 128));
            painter.drawRect(outer);
            break;
        case SS_WHITEFRAME:
            painter.setPen(Qt::white);
            painter.drawRect(outer);
            break;
        case SS_ETCHEDFRAME:
            DrawThinEdge(painter, inside, false);
            DrawThinEdge(painter, inside.adjusted(1, 1, -1, -1), true);
            break;
        case SS_ETCHEDHORZ:
            painter.setPen(QColor(128, 128, 128));
            painter.drawLine(inside.left(), inside.top(), inside.right(), inside.top());
            painter.setPen(Qt::white);
            painter.drawLine(inside.left(), inside.top() + 1, inside.right(), inside.top() + 1);
            break;
        case SS_ETCHEDVERT:
            painter.setPen(QColor(128, 128, 128));
            painter.drawLine(inside.left(), inside.top(), inside.left(), inside.bottom());
            painter.setPen(Qt::white);
            painter.drawLine(inside.left() + 1, inside.top(), inside.left() + 1, inside.bottom());
            break;
        default:
            break;
    }
}

}  // namespace platform::window
