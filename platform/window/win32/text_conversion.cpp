#include "platform/window/win32/text_conversion.h"

#include "platform/window/win32/win32_api.h"

#include <climits>

namespace platform::window::win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return std::wstring();
    const int length = static_cast<int>(utf8.size());
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    if (wide > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, result.data(), wide);
    return result;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > INT_MAX) return std::string();
    const int length = static_cast<int>(utf16.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, result.data(), bytes, nullptr,
                            nullptr);
    return result;
}

}  // namespace platform::window::win32
