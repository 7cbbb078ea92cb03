// A window's picture, taken without the screen: the window and its visible
// children are asked to paint into a bitmap (PrintWindow, WM_PRINTCLIENT),
// so it works for hidden windows and offscreen.
#pragma once

#include "platform/window/image.h"
#include "platform/window/window.h"

namespace platform::window {

enum class CaptureMode {
    // The client area as the screen would show it: background erased, then
    // painted (WM_PRINT with PRF_ERASEBKGND | PRF_CLIENT). Opaque.
    AsShown,
    // Only what the windows paint, on transparent pixels (WM_PRINTCLIENT
    // without PRF_ERASEBKGND into a bitmap cleared to transparent): a
    // control's look to lay on another surface.
    PaintOnly,
};

// The window's client area and its visible children, children above it;
// the null image when the window has no native window or no area.
Image CaptureWindow(const Window& window, CaptureMode mode = CaptureMode::AsShown);

}  // namespace platform::window
