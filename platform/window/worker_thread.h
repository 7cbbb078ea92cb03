// Worker threads started for a window. A worker gets one argument, the
// handle of the window it reports to, and talks to that window only by
// posting messages to the handle. Workers are joined, never detached, so
// none outlives the process's own shut-down.
#pragma once

#include <functional>

#include "platform/window/window_handle.h"

namespace platform::window {

using WorkerBody = std::function<void(WindowHandle window)>;

// Runs `body(window)` on a worker thread: one that has finished an earlier
// body and waits for the next, or a new one. False when no thread could be
// started (the body then never runs). An exception escaping the body ends
// only that body.
bool BeginWorkerThread(WorkerBody body, WindowHandle window);

// Waits until every body started so far has finished, and ends the threads.
void WaitForWorkerThreads();

// Bodies started and not yet finished.
int RunningWorkerThreads();

}  // namespace platform::window
