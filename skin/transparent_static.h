// CTransparentStatic: a text label that paints only its letters, in the skin
// colour, so the window's background picture stays visible around them.
// Alignment, centring, prefix handling, ellipsis and wrapping follow the
// template's static style bits (label_text_format.h); a border or sunken
// edge is drawn around the text area when the style asks for one. Bound to
// a template's static with DDX_Control or SubclassDlgItem, it takes over
// that control's style and text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/window.h"

namespace skin {

class CTransparentStatic : public platform::window::Window {
  public:
    CTransparentStatic() { SetPaintsTransparent(); }

    // The template's style and extended style of the control.
    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }

    // Replaces the text (UTF-8) and has the parent repaint its background
    // under the label, so no trace of longer old text remains. True when
    // the label's window has a parent window.
    bool SetText(std::string_view text);
    const std::string& Text() const { return m_text; }

    void PreSubclassWindow() override;

  protected:
    void OnPaint(platform::window::DeviceContext& dc) override;

  private:
    std::string m_text;
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace skin
