// Where things are on the screen: the pointer, and the part of a monitor
// that windows may use (its work area, without task bars and docks).
#pragma once

#include "platform/window/geometry.h"

namespace platform::window {

// The pointer's position in screen coordinates (GetCursorPos).
Point GetCursorPos();

// The work area of the monitor showing `point`, else of the primary one
// (MonitorFromPoint with MONITOR_DEFAULTTOPRIMARY, then rcWork). Screen
// coordinates; right and bottom exclusive.
Rect GetMonitorWorkArea(Point point);

}  // namespace platform::window
