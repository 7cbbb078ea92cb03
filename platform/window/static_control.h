// A static text control: the text laid out as its style bits say
// (alignment, word wrap, vertical centring, '&' prefixes) inside the edges
// WS_BORDER and SS_SUNKEN ask for. Mouse input passes through to the dialog
// unless SS_NOTIFY is set, as on Win32.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/window.h"

namespace platform::window {

class StaticControl : public Window {
  public:
    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }
    std::uint32_t ExStyle() const { return m_exStyle; }

    // The text as given, UTF-8; '&' prefixes are resolved only for display.
    void SetText(std::string_view text);
    const std::string& Text() const { return m_text; }
    // The text as shown: prefixes resolved unless SS_NOPREFIX, one line
    // with SS_CENTERIMAGE.
    std::string DisplayText() const;

  private:
    // Hands the text, and the style when it changed, to the native window
    // (the backend's part).
    void Refresh(bool styleChanged);

    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
    std::string m_text;
};

// The text a Win32 static shows for `text` without SS_NOPREFIX: "&&" is an
// ampersand, a single '&' only underlines the next letter and is dropped.
std::string ResolvePrefixes(std::string_view text);

}  // namespace platform::window
