// The load/save dialog's "load a configuration file and apply all
// settings", run on a worker thread: the file, then network settings,
// channel and PID list, each stage posted to the dialog as it ends.
//
// The job holds everything the worker uses and is shared between the worker
// and the dialog, so the dialog may be destroyed while the worker runs (the
// console shutting down): the worker never touches the dialog, only posts to
// its handle, and the window layer drops posts to a window that has gone.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "config/configuration_apply.h"
#include "config/r40_settings_to_xml_doc.h"
#include "platform/window/messages.h"
#include "platform/window/window_handle.h"

namespace dialogs {

// From the worker to the dialog: wParam the stage (-1 file, 0 network
// settings, 1 channel, 2 PID list); lParam the reason of a failure
// (config::REASON_...) or 1 for a success. A stage skipped because the file
// was made from another receiver carries that receiver's key
// (config::ReceiverKey).
inline constexpr unsigned WM_LOADAPPLY_FAILED = platform::window::WM_APP + 13;
inline constexpr unsigned WM_LOADAPPLY_SUCCEEDED = platform::window::WM_APP + 14;

struct LoadApplyJob {
    std::string path;
    // Where the receiver is to send its status afterwards, and where the
    // console listens for it.
    std::uint16_t statusPort = 0;
    // Every library call on the receiver goes through this; empty: there is
    // no receiver and every call fails.
    config::DeviceCaller device;
    // Replaced by the loaded file once its network settings and PID list
    // have applied.
    std::string lastUsedFile = LAST_USED_CONFIG_FILE;
    std::chrono::milliseconds pause{1000};
    // The receiver applied to: a file of another receiver keeps its network
    // settings to itself. Unset: the file applies whole.
    std::optional<config::ReceiverKey> receiver;

    // Set by the user-interface thread before the worker starts; cleared by
    // the worker as its last act.
    std::atomic<bool> applyStarted{false};
    // The worker is inside its apply sequence.
    std::atomic<bool> workerRunning{false};
};

// The worker's body: runs the apply, posting one message per stage that
// ended, then clears workerRunning and applyStarted, in this order.
void LoadApplyWorker(const std::shared_ptr<LoadApplyJob>& job,
                     platform::window::WindowHandle dialog);

}  // namespace dialogs
