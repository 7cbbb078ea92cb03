// The Win32 side of a BalloonToolTip: the comctl32 tooltip control, owned by
// the object and watched so that its end by another hand (its owner window
// destroyed first) is seen; and what was set before the control exists,
// given to it when it is made. Private to the backend and to the tests that
// drive it.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <cstddef>
#include <string>

namespace platform::window {

struct BalloonToolTip::Native {
    Native() = default;
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    // Destroys the control, if it is still there.
    void Destroy();
    // Gives the control the title and its icon.
    void SendTitle();

    // The tooltip control; null before Create and once it has gone.
    HWND tooltip = nullptr;
    // The window the tools report to (each tool's TTTOOLINFOW::hwnd).
    HWND owner = nullptr;

    std::wstring title;
    int icon = 0;        // TTI_NONE
    ColorRef color = 0;  // black
    // Milliseconds; the control's own once it exists.
    int initial = 0;
    int autoPop = 0;
    int reshow = 0;
    bool active = true;
    // The longest tool text given, in UTF-16 units: what a buffer the
    // control copies a text into must hold.
    std::size_t longestText = 0;
};

}  // namespace platform::window
