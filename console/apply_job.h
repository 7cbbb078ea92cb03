// One change the configuration menu sends to the selected receiver, and the
// worker that sends it. The job holds everything the worker needs (the kind,
// the record to send, the device session) and is shared between the worker
// and the menu, so the menu can be destroyed while its apply runs: the
// worker never touches the menu, only posts to its handle, and the window
// layer drops posts to a window that has gone.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include "config/pid_list_form.h"
#include "console/device_session.h"
#include "devicelib/devicelib.h"
#include "platform/window/window_handle.h"

namespace console {

// The four kinds of apply, by the menu button that starts them.
inline constexpr int APPLY_NETWORK = 1;
inline constexpr int APPLY_CHANNEL = 2;
inline constexpr int APPLY_CONTENT = 3;
inline constexpr int APPLY_RESET = 4;

struct ApplyJob {
    int kind = 0;
    // The device open when the apply started; held for the length of each
    // library call, so no status poll overlaps it on the same handle.
    SharedDevice device;
    // What the apply sends; only the member of the job's kind is used.
    NetworkSettings network{};
    std::uint16_t channel = 0;
    config::AnyPidList pidList{PidListRecord{}};

    // Set by the user-interface thread before the worker starts; cleared by
    // the worker as its last act.
    std::atomic<bool> running{false};
    std::atomic<std::int32_t> result{RC_FAILED};
};

// Calls the library for the job: what ApplyWorker does between its two
// posts. A PID list whose form the device does not take, and a job without
// a device, fail without anything being sent.
std::int32_t RunApply(ApplyJob& job);

// The worker's body: posts WM_APPLY_STARTED, runs the apply, posts
// WM_APPLY_FINISHED with the result, then clears `running`.
void ApplyWorker(const std::shared_ptr<ApplyJob>& job, platform::window::WindowHandle menu);

}  // namespace console
