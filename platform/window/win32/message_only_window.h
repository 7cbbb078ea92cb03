// A message-only window (HWND_MESSAGE) of a class of its own: what a menu's
// tracking or a tray icon's callbacks are received by. `data` is kept in
// GWLP_USERDATA for the procedure. Null when Windows refuses.
#pragma once

#include "platform/window/win32/win32_api.h"

namespace platform::window::win32 {

HWND CreateMessageOnlyWindow(const wchar_t* className, WNDPROC procedure, void* data);

}  // namespace platform::window::win32
