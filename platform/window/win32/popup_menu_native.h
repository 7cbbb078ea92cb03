// The Win32 side of a PopupMenu: the HMENU, and a message-only window that
// runs the menu's modal tracking once Track has returned, so Track returns
// at once as on every backend. Private to the backend and its tests.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <memory>

#include "platform/window/popup_menu.h"

namespace platform::window {

struct PopupMenu::Native {
    Native();
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    // Opens the menu and, once it has closed, sends the choice to the owner.
    void RunTracking();

    // Cleared by the destructor: a menu destroyed while it is open (by a
    // handler run inside its tracking) leaves its HMENU and messenger to
    // the tracking, which ends them once the menu has closed.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    HMENU menu = nullptr;
    HWND messenger = nullptr;
    WindowHandle owner;
    POINT at{};
    bool open = false;
};

}  // namespace platform::window
