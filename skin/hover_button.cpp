#include "skin/hover_button.h"

#include "platform/window/images.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"

namespace skin {

CHoverButton::CHoverButton(QWidget* parent) : QAbstractButton(parent) {
    // Moves must arrive without a pressed mouse button to notice the pointer.
    setMouseTracking(true);
}

bool CHoverButton::LoadBitmapStrip(int bitmapId) {
    const platform::window::Image strip = platform::window::LoadBitmap(bitmapId);
    if (strip.IsNull()) return false;
    SetBitmapStrip(strip);
    return true;
}

void CHoverButton::SetBitmapStrip(const platform::window::Image& strip) {
    m_strip = strip;
    m_stateSize = FaceSize(strip.GetSize());
    resize(platform::window::ToQSize(m_stateSize));
    raise();
    update();
}

QSize CHoverButton::sizeHint() const {
    return platform::window::ToQSize(m_stateSize);
}

void CHoverButton::paintEvent(QPaintEvent*) {
    if (m_stateSize.IsEmpty()) return;
    platform::window::PaintWidget(*this, [this](auto& dc) { OnPaint(dc); });
}

void CHoverButton::OnPaint(platform::window::DeviceContext& dc) {
    dc.DrawImage({0, 0}, m_strip, FaceSourceRect(CurrentFace(), m_stateSize));
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
