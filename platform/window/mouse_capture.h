// Mouse capture for a window, as Win32's SetCapture: while a window holds
// the capture, every mouse press, release, double click and move meant for
// any other window of this application goes to it instead (with its
// position in the capturing window's coordinates). Other applications are
// not affected: nothing is grabbed from the window system.
#pragma once

namespace platform::window {

class Window;

// Returns the window that held the capture before, or null. A window
// without a native window takes no capture (the capture is released).
Window* SetCapture(Window* window);
void ReleaseCapture();
// The capturing window; null when none (also once its native window has
// been destroyed).
Window* GetCapture();

}  // namespace platform::window
