// A mouse or keyboard message as a window's message loop shows it to
// PreTranslateMessage before it is dispatched (MSG in Win32): which window
// it is for, what happened, the key, and where the pointer was.
#pragma once

#include <cstdint>

#include "platform/window/geometry.h"
#include "platform/window/messages.h"

namespace platform::window {

class Window;

// Messages beyond those of messages.h that input comes as.
inline constexpr unsigned WM_KEYDOWN = 0x0100;

// Virtual keys (wParam of WM_KEYDOWN).
inline constexpr unsigned VK_BACK = 0x08;
inline constexpr unsigned VK_TAB = 0x09;
inline constexpr unsigned VK_RETURN = 0x0D;
inline constexpr unsigned VK_ESCAPE = 0x1B;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_DELETE = 0x2E;

struct InputMessage {
    // The window of the layer the message is for: the control under the
    // pointer (or with the focus, for a key), else the dialog; null for a
    // part of the window system that is no window of the layer.
    Window* window = nullptr;
    // WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTON...,
    // WM_MBUTTON... or WM_KEYDOWN.
    unsigned message = 0;
    // The virtual key of WM_KEYDOWN; 0 for the mouse.
    std::uintptr_t wParam = 0;
    // The pointer in screen coordinates.
    Point point;
};

}  // namespace platform::window
