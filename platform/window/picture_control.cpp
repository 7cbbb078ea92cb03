#include "platform/window/picture_control.h"

#include <QPainter>

#include "platform/window/images.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"

namespace platform::window {

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {}

void PictureControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    update();
}

Image PictureControl::SetBitmap(const Image& bitmap) {
    Image previous = m_bitmap;
    m_bitmap = bitmap;
    m_icon = Icon();
    update();
    return previous;
}

Icon PictureControl::SetIcon(const Icon& icon) {
    Icon previous = m_icon;
    m_icon = icon;
    m_bitmap = Image();
    update();
    return previous;
}

QPixmap PictureControl::Shown() const {
    return ToQPixmap(m_bitmap.IsNull() ? m_icon.ImageNear(Size{32, 32}) : m_bitmap);
}

QRect PictureControl::PictureRect() const {
    const QRect inside = rect().marginsRemoved(EdgeMargins(m_style, m_exStyle));
    const QPixmap shown = Shown();
    if (shown.isNull()) return QRect();
    if ((m_style & SS_REALSIZECONTROL) != 0) return inside;
    QRect picture(inside.topLeft(), shown.size());
    if ((m_style & SS_CENTERIMAGE) != 0) {
        // Integer centring as Win32 does it: (space - size) / 2 from the left.
        picture.moveLeft(inside.left() + (inside.width() - shown.width()) / 2);
        picture.moveTop(inside.top() + (inside.height() - shown.height()) / 2);
    }
    return picture;
}

void PictureControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inside = rect().marginsRemoved(EdgeMargins(m_style, m_exStyle));
    const QPixmap shown = Shown();
    if (!shown.isNull()) {
        painter.save();
        painter.setClipRect(inside);
        painter.drawPixmap(PictureRect(), shown);
        painter.restore();
    }
    DrawEdges(painter, rect(), m_style, m_exStyle);
}

}  // namespace platform::window
