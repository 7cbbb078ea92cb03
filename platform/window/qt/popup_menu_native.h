// The Qt side of a shortcut menu. Private to the backend and to the tests
// that act as the operator.
#pragma once

#include <QMenu>

#include "platform/window/popup_menu.h"

namespace platform::window {

struct PopupMenu::Native {
    QMenu menu;
    WindowHandle owner;  // where the choice of the current track goes
};

}  // namespace platform::window
