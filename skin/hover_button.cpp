#include "skin/hover_button.h"

#include "platform/window/images.h"
#include "platform/window/messages.h"

namespace skin {

namespace window = platform::window;

CHoverButton::CHoverButton() {
    SetPaintsItself();
    // Moves must arrive without a pressed mouse button to notice the pointer.
    SetTracksMouse();
}

bool CHoverButton::LoadBitmapStrip(int bitmapId) {
    const window::Image strip = window::LoadBitmap(bitmapId);
    if (strip.IsNull()) return false;
    SetBitmapStrip(strip);
    return true;
}

void CHoverButton::SetBitmapStrip(const window::Image& strip) {
    m_strip = strip;
    m_stateSize = FaceSize(strip.GetSize());
    const window::Rect place = GetPlacement();
    MoveWindow(
        window::Rect::FromSize(place.left, place.top, m_stateSize.width, m_stateSize.height));
    BringWindowToTop();
    Invalidate();
}

HoverFace CHoverButton::CurrentFace() const {
    return ChooseFace((GetState() & window::BST_PUSHED) != 0, m_hover);
}

void CHoverButton::OnPaint(window::DeviceContext& dc) {
    if (m_stateSize.IsEmpty()) return;
    dc.DrawImage({0, 0}, m_strip, FaceSourceRect(CurrentFace(), m_stateSize));
}

void CHoverButton::OnMouseMove(window::Point) {
    if (m_tracking) return;
    m_tracking = true;
    SetPointerOver(true);
}

void CHoverButton::OnMouseLeave() {
    m_tracking = false;
    SetPointerOver(false);
}

void CHoverButton::SetPointerOver(bool over) {
    if (m_hover == over) return;
    m_hover = over;
    Invalidate();
}

}  // namespace skin
