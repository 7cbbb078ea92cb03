#include "platform/window/win32/win32_api.h"

#include "platform/window/screen.h"

namespace platform::window {

Point GetCursorPos() {
    POINT at{};
    if (!::GetCursorPos(&at)) return Point{};
    return Point{at.x, at.y};
}

Rect GetMonitorWorkArea(Point point) {
    const POINT at{point.x, point.y};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromPoint(at, MONITOR_DEFAULTTOPRIMARY);
    // Without any monitor (nothing to show on) the area has no bounds.
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info))
        return Rect{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};
    return Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace platform::window
