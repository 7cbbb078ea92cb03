// UTF-8, the layer's text, to and from UTF-16, the Win32 API's. Invalid
// UTF-8 becomes U+FFFD, as MultiByteToWideChar does, never an error.
#pragma once

#include <string>
#include <string_view>

namespace platform::window::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace platform::window::win32
