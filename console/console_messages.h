// Messages the console's workers post to its windows, and the main window's
// timers.
#pragma once

#include "platform/window/messages.h"

namespace console {

using platform::window::WM_APP;

inline constexpr unsigned WM_DISCOVERY_DONE = WM_APP + 1;  // carries the new device list
inline constexpr unsigned WM_STATUS_READY = WM_APP + 2;    // carries a status report
inline constexpr unsigned WM_TRAY_NOTIFY = WM_APP + 3;     // lParam: the mouse message
inline constexpr unsigned WM_DEVICE_OPENED = WM_APP + 4;   // carries the opened device

inline constexpr int TIMER_DISCOVERY = 1;
inline constexpr int TIMER_LOGO = 3;
inline constexpr int TIMER_STATUS_POLL = 4;

inline constexpr int DISCOVERY_PERIOD_MS = 4000;
inline constexpr int LOGO_PERIOD_MS = 50;
inline constexpr int STATUS_POLL_PERIOD_MS = 600;

// OpenDevice waits this long for the device's first status.
inline constexpr int OPEN_TIMEOUT_MS = 3000;

}  // namespace console
