// SIGINT and SIGTERM ask r40ctl to stop at the next safe point: between two
// status reads of a watch, or before a command is sent. A second signal ends
// the program at once.
#pragma once

namespace r40ctl {

void InstallStopHandlers();
bool StopRequested();
int StopSignal();  // the signal that asked, 0 when none

// Sleeps up to `seconds`, returning early (false) when a stop is requested.
bool SleepUnlessStopped(double seconds);

}  // namespace r40ctl
