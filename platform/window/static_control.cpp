#include "platform/window/static_control.h"

#include <algorithm>

#include "platform/window/styles.h"

namespace platform::window {

void StaticControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    Refresh(true);
}

void StaticControl::SetText(std::string_view text) {
    m_text.assign(text);
    Refresh(false);
}

std::string StaticControl::DisplayText() const {
    std::string shown = (m_style & SS_NOPREFIX) != 0 ? m_text : ResolvePrefixes(m_text);
    if ((m_style & SS_CENTERIMAGE) != 0) std::replace(shown.begin(), shown.end(), '\n', ' ');
    return shown;
}

std::string ResolvePrefixes(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                shown += '&';
                ++i;
            }
            continue;
        }
        shown += text[i];
    }
    return shown;
}

}  // namespace platform::window
