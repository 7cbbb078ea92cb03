#include "skin/transparent_static.h"

#include "platform/window/control_edges.h"
#include "skin/label_text_format.h"
#include "skin/skin_palette.h"

namespace skin {

namespace window = platform::window;

void CTransparentStatic::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    Invalidate();
}

bool CTransparentStatic::SetText(std::string_view text) {
    m_text = text;
    // The window text stays the label's text, for whoever reads it back.
    SetWindowText(text);
    // The label paints only letters: the parent must repaint its background
    // where the old letters were before the new ones are drawn.
    Window* parent = GetParent();
    if (parent != nullptr) parent->InvalidateRect(GetPlacement());
    Invalidate();
    return parent != nullptr;
}

void CTransparentStatic::PreSubclassWindow() {
    m_style = GetStyle();
    m_text = GetWindowText();
    Invalidate();
}

void CTransparentStatic::OnPaint(window::DeviceContext& dc) {
    const window::Rect client = GetClientRect();
    // Border and sunken edges as the platform draws them around statics.
    window::DrawEdges(dc, client, m_style, m_exStyle);
    const int edge = window::EdgeWidth(m_style, m_exStyle);
    const window::Rect area = client.Deflated(edge, edge, edge, edge);
    if (area.IsEmpty() || m_text.empty()) return;

    dc.SetFont(dc.WindowFont());
    dc.SetTextColor(SKIN_COLOR);
    dc.SetClipRect(area);
    dc.DrawText(area, m_text, LabelTextFormat(m_style));
}

}  // namespace skin
