#include "platform/window/picture_control.h"

#include "platform/window/control_edges.h"
#include "platform/window/styles.h"

namespace platform::window {

void PictureControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    Invalidate();
}

Image PictureControl::SetBitmap(const Image& bitmap) {
    Image previous = m_bitmap;
    m_bitmap = bitmap;
    m_icon = Icon();
    Invalidate();
    return previous;
}

Icon PictureControl::SetIcon(const Icon& icon) {
    Icon previous = m_icon;
    m_icon = icon;
    m_bitmap = Image();
    Invalidate();
    return previous;
}

Image PictureControl::Shown() const {
    return m_bitmap.IsNull() ? m_icon.ImageNear(Size{32, 32}) : m_bitmap;
}

Rect PictureControl::Inside() const {
    const int edge = EdgeWidth(m_style, m_exStyle);
    return GetClientRect().Deflated(edge, edge, edge, edge);
}

Rect PictureControl::PictureRect() const {
    const Rect inside = Inside();
    const Image shown = Shown();
    if (shown.IsNull()) return Rect{};
    if ((m_style & SS_REALSIZECONTROL) != 0) return inside;
    const Size size = shown.GetSize();
    if ((m_style & SS_CENTERIMAGE) == 0)
        return Rect::FromSize(inside.left, inside.top, size.width, size.height);
    // Integer centring as Win32 does it: (space - size) / 2 from the left.
    return Rect::FromSize(inside.left + (inside.Width() - size.width) / 2,
                          inside.top + (inside.Height() - size.height) / 2, size.width,
                          size.height);
}

void PictureControl::OnPaint(DeviceContext& dc) {
    const Image shown = Shown();
    if (!shown.IsNull()) {
        dc.Save();
        dc.SetClipRect(Inside());
        dc.StretchImage(PictureRect(), shown);
        dc.Restore();
    }
    DrawEdges(dc, GetClientRect(), m_style, m_exStyle);
}

}  // namespace platform::window
