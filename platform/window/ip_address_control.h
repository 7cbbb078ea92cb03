// The IPv4 address control: four fields of 0 to 255 separated by dots.
// Set and read as one 32-bit value whose most significant byte is the first
// number of the dotted form; a blank field reads 0. Typing three digits, a
// dot or a blank moves on to the next field; Backspace in an empty field
// goes back. A number above 255 is held at 255. Every change notifies the
// dialog with EN_CHANGE.
//
// The numbers live in the native control, as in Win32: without a window
// the address is blank and reads 0.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window/window.h"

namespace platform::window {

constexpr std::uint32_t MakeIpAddress(int b1, int b2, int b3, int b4) {
    return (static_cast<std::uint32_t>(b1 & 0xFF) << 24) |
           (static_cast<std::uint32_t>(b2 & 0xFF) << 16) |
           (static_cast<std::uint32_t>(b3 & 0xFF) << 8) | static_cast<std::uint32_t>(b4 & 0xFF);
}

class IpAddressControl : public Window {
  public:
    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }
    std::uint32_t ExStyle() const { return m_exStyle; }

    // Shows all four numbers (0 shows as "0", not blank).
    void SetAddress(std::uint32_t address);
    void SetAddress(int b1, int b2, int b3, int b4);
    // The address with blank fields as 0; returns how many fields are not
    // blank.
    int GetAddress(std::uint32_t& address) const;
    int GetAddress(std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3, std::uint8_t& b4) const;
    void ClearAddress();
    bool IsBlank() const;
    // Puts the caret in field 0 to 3 with its number selected; another
    // index means the first field.
    void SetFieldFocus(int field);

    // The text "a.b.c.d" with blank fields left empty, e.g. "10..0.1"
    // (the control's window text).
    std::string Text() const;

  private:
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace platform::window
