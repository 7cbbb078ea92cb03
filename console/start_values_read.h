// What the configuration menu reads from the receiver before it opens a
// dialog: the receiver's own values, when the last-used file describes
// another receiver (or none) and the console has not polled them. The read
// runs on a worker, which posts WM_START_VALUES_READ to the menu with the
// read as its payload; the menu then opens the dialog with what was read.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "config/pid_list_form.h"
#include "console/device_session.h"
#include "console/receiver_state.h"
#include "platform/window/window_handle.h"

namespace console {

struct StartValuesRead {
    int kind = 0;                  // the APPLY_ kind whose dialog waits for the values
    std::uint64_t generation = 0;  // the device opening the values are read from
    bool wantStatus = false;       // the receiver's state from a fresh status
    bool wantPidList = false;      // the PID table, in the form the device takes

    // Filled by the worker.
    std::int32_t result = RC_FAILED;  // 0 when everything wanted was read
    std::optional<ReceiverState> state;
    config::AnyPidList pidList{PidListRecord{}};
};

// Reads what `read` wants through the session (each call under its lock),
// posts the read to `menu` and clears `running`, in this order. The session
// is let go when the worker ends.
void StartValuesWorker(std::shared_ptr<StartValuesRead> read, SharedDevice device,
                       std::shared_ptr<std::atomic<bool>> running,
                       platform::window::WindowHandle menu);

}  // namespace console
