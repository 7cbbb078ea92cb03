#include "skin/hover_button.h"

#include <QPainter>

#include "platform/window/images.h"

namespace skin {

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    // Moves must arrive without a pressed mouse button to notice the pointer.
    setMouseTracking(true);
}

bool CHoverButton::LoadBitmapStrip(int bitmapId) {
    const QPixmap strip = platform::window::LoadBitmap(bitmapId);
    if (strip.isNull()) return false;
    SetBitmapStrip(strip);
    return true;
}

void CHoverButton::SetBitmapStrip(const QPixmap& strip) {
    m_strip = strip;
    m_stateSize = FaceSize(strip.size());
    resize(m_stateSize);
    raise();
    update();
}

QSize CHoverButton::sizeHint() const {
    return m_stateSize;
}

void CHoverButton::paintEvent(QPaintEvent*) {
    if (m_stateSize.isEmpty()) return;
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_strip, FaceSourceRect(CurrentFace(), m_stateSize));
}

void CHoverButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking) {
        m_tracking = true;
        SetPointerOver(true);
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CHoverButton::enterEvent(QEnterEvent* event) {
    m_tracking = true;
    SetPointerOver(true);
    QAbstractButton::enterEvent(event);
}

void CHoverButton::leaveEvent(QEvent* event) {
    m_tracking = false;
    SetPointerOver(false);
    QAbstractButton::leaveEvent(event);
}

void CHoverButton::SetPointerOver(bool over) {
    if (m_hover == over) return;
    m_hover = over;
    update();
}

}  // namespace skin
