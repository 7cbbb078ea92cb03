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
// A configuration file has been created from the device status (or not):
// carries a StatusFileReport.
inline constexpr unsigned WM_STATUS_FILE_DONE = WM_APP + 5;
// From an apply worker to the configuration menu: wParam the apply kind;
// lParam 1 (started) or the library's result code (finished).
inline constexpr unsigned WM_APPLY_STARTED = WM_APP + 10;
inline constexpr unsigned WM_APPLY_FINISHED = WM_APP + 11;
// From a start-values read to the configuration menu: wParam the apply kind
// whose dialog waits; carries a StartValuesRead.
inline constexpr unsigned WM_START_VALUES_READ = WM_APP + 12;
// From a history save worker to the history panel: carries the outcome.
inline constexpr unsigned WM_HISTORY_SAVED = WM_APP + 20;

inline constexpr int TIMER_DISCOVERY = 1;
inline constexpr int TIMER_LOGO = 3;
inline constexpr int TIMER_STATUS_POLL = 4;
// Fires when the summary of rate-limited lock alarms is due.
inline constexpr int TIMER_ALARM_SUMMARY = 8;

// Timers of the configuration menu.
inline constexpr int TIMER_PROGRESS = 1;
inline constexpr int TIMER_RESULT_HOLD = 2;
inline constexpr int PROGRESS_PERIOD_MS = 5;
inline constexpr int RESULT_HOLD_MS = 1500;

inline constexpr int DISCOVERY_PERIOD_MS = 4000;
inline constexpr int LOGO_PERIOD_MS = 50;
inline constexpr int STATUS_POLL_PERIOD_MS = 600;

// A file operation's message keeps the message line this long before the
// device description, rewritten with every status, may take it back.
inline constexpr int MESSAGE_HOLD_MS = 5000;

// OpenDevice waits this long for the device's first status.
inline constexpr int OPEN_TIMEOUT_MS = 3000;

}  // namespace console
