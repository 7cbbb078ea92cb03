// A single-line edit control. ES_CENTER and ES_RIGHT align the text,
// ES_NUMBER lets only digits in (typed or pasted), ES_READONLY and
// ES_PASSWORD do what they say; the text always scrolls horizontally.
// Every change of the text, by the operator or by the program, notifies the
// dialog with EN_UPDATE (before it is drawn) and EN_CHANGE.
//
// The text lives in the native control, as in Win32: without a window it
// is empty.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/window.h"

namespace platform::window {

class EditControl : public Window {
  public:
    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }
    std::uint32_t ExStyle() const { return m_exStyle; }

    // The text, UTF-8.
    std::string GetText() const;
    void SetText(std::string_view text);

    // Selects characters [start, end); end -1 means to the end of the text,
    // start -1 takes the selection away.
    void SetSel(int start, int end);
    void LimitText(int characters);

  private:
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace platform::window
