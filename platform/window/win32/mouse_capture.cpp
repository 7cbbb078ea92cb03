#include "platform/window/mouse_capture.h"

#include "platform/window/win32/native_window.h"

namespace platform::window {

Window* SetCapture(Window* window) {
    HWND hwnd = window != nullptr ? win32::HwndOf(*window) : nullptr;
    HWND previous = ::GetCapture();
    if (hwnd != nullptr)
        ::SetCapture(hwnd);
    else
        ::ReleaseCapture();
    return win32::WindowOfHwnd(previous);
}

void ReleaseCapture() {
    ::ReleaseCapture();
}

Window* GetCapture() {
    return win32::WindowOfHwnd(::GetCapture());
}

}  // namespace platform::window
