// The Win32 backend's own message boxes and file dialogs: MessageBoxW and
// the common file dialogs, owned by the window a handle names. Private to
// the backend and to the tests that drive it.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <string>
#include <string_view>

#include "platform/window/window_handle.h"

namespace platform::window::win32 {

// The HWND of the window a handle names, null for none.
HWND OwnerHwnd(WindowHandle owner);

// A filter of the "Name|*.a;*.b|...||" form as lpstrFilter takes it: name
// and patterns, each ended by a NUL, the whole ended by another.
std::wstring FilterString(std::string_view filter);

}  // namespace platform::window::win32
