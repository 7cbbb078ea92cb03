// The Win32 side of the tray icon: the notification-area icon of
// Shell_NotifyIconW, a message-only window that receives its mouse
// callbacks, and the HICON it shows. Private to the backend and its tests.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <shellapi.h>

#include "platform/window/tray_icon.h"

namespace platform::window {

struct TrayIcon::Native {
    // The message the shell sends the receiver for the icon's mouse actions.
    static constexpr UINT WM_TRAY_CALLBACK = WM_USER + 1;

    HWND receiver = nullptr;
    HICON icon = nullptr;
    NOTIFYICONDATAW data{};
    bool added = false;
};

}  // namespace platform::window
