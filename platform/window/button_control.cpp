#include "platform/window/button_control.h"

#include "platform/window/styles.h"

namespace platform::window {

bool ButtonControl::IsDefaultButton() const {
    return (m_style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

Image ButtonControl::SetBitmap(const Image& bitmap) {
    Image previous = m_bitmap;
    m_bitmap = bitmap;
    Invalidate();
    return previous;
}

Icon ButtonControl::SetIcon(const Icon& icon) {
    Icon previous = m_icon;
    m_icon = icon;
    Invalidate();
    return previous;
}

Image ButtonControl::ShownPicture() const {
    return m_bitmap.IsNull() ? m_icon.ImageNear(GetClientRect().GetSize()) : m_bitmap;
}

Rect ButtonControl::PictureRect() const {
    const Image shown = ShownPicture();
    if (shown.IsNull()) return Rect{};
    const Rect client = GetClientRect();
    const Size picture = shown.GetSize();
    const int space = client.Width() - picture.width;
    int left = space / 2;
    const std::uint32_t horizontal = m_style & BS_CENTER;
    if (horizontal == BS_LEFT) left = 0;
    if (horizontal == BS_RIGHT) left = space;
    return Rect::FromSize(left, (client.Height() - picture.height) / 2, picture.width,
                          picture.height);
}

void ButtonControl::OnPushStarted() {}
void ButtonControl::OnPushEnded() {}

}  // namespace platform::window
