// One change the configuration menu sends to the selected receiver, and the
// worker that sends it. The job holds what the worker sends and is shared
// between the worker, the menu and the main window, so the menu can be
// destroyed while its apply runs: the worker never touches a menu, only
// posts to the handle the job names, and the window layer drops posts to a
// window that has gone. A menu made while the apply still runs takes the
// job over (ReportTo) and shows its progress and result.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

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
    // What the apply sends; only the member of the job's kind is used. A
    // channel apply sends `satellite` when it holds a tuning (the satellite
    // models), else the RF channel.
    NetworkSettings network{};
    std::uint16_t channel = 0;
    std::optional<SatelliteTuning> satellite;
    config::AnyPidList pidList{PidListRecord{}};

    // The window the worker reports to.
    std::atomic<platform::window::WindowHandle> reportTo{};
    // Set by the user-interface thread before the worker starts; cleared by
    // the worker as its last act.
    std::atomic<bool> running{false};
    std::atomic<std::int32_t> result{RC_FAILED};
    // Set with the result, before the worker's last post: a menu taking the
    // job over after the post went to the old menu finds it here.
    std::atomic<bool> finished{false};
};

// Calls the library for the job on `device`: what ApplyWorker does between
// its two posts. A tuning or PID list of a form the device does not take,
// and no device, fail without anything being sent.
std::int32_t RunApply(ApplyJob& job, DeviceSession* device);

// The worker's body: posts WM_APPLY_STARTED, runs the apply, posts
// WM_APPLY_FINISHED with the result, then clears `running`. The device
// session is the worker's alone and goes when the worker ends.
void ApplyWorker(const std::shared_ptr<ApplyJob>& job, SharedDevice device);

}  // namespace console
