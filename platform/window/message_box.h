// Message boxes with Win32's type bits and results.
#pragma once

#include <string>
#include <string_view>

#include "platform/window/window_handle.h"

namespace platform::window {

inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_RETRYCANCEL = 0x05;
inline constexpr unsigned MB_TYPEMASK = 0x0F;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;

// Shows a modal message box through the current dialog service and returns
// the id of the button that closed it.
int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
               unsigned type = MB_OK);

// A message box with the application's name as caption.
int AfxMessageBox(std::string_view text, unsigned type = MB_OK);

// The application's name (the caption of AfxMessageBox).
std::string ApplicationName();

}  // namespace platform::window
