// Pictures of native windows by HWND, for the backend's window capture and
// for what lies beneath a child (GrabUnderneath). Private to the backend.
#pragma once

#include "platform/window/win32/win32_api.h"

#include "platform/window/device_context.h"
#include "platform/window/image.h"
#include "platform/window/window_capture.h"

namespace platform::window::win32 {

// What the window paints of `area` of its client area (WM_ERASEBKGND, then
// WM_PRINTCLIENT), children left out; opaque, of the area's size. The null
// image for an empty area.
Image PrintClient(HWND hwnd, const RECT& area);

// The window's client area with its visible children laid over it; the
// null image when it has no area.
Image CaptureHwnd(HWND hwnd, CaptureMode mode);

// Lays the picture of `child`, a child of `parent`, on `dc` where it stands
// in the parent, `dc`'s origin being `origin` in the parent's client
// coordinates. A hidden child adds nothing; a transparent one only what it
// paints.
void DrawChild(DeviceContext& dc, HWND parent, HWND child, POINT origin, CaptureMode mode);

}  // namespace platform::window::win32
