#include "console/apply_job.h"

#include "config/pid_list_form.h"
#include "console/console_messages.h"
#include "platform/window/window_handle.h"

namespace console {

namespace window = platform::window;

std::int32_t RunApply(ApplyJob& job) {
    if (!job.device) return RC_FAILED;
    if (job.kind == APPLY_CONTENT) {
        const bool forwarding = std::holds_alternative<TrevanPidListRecord>(job.pidList);
        if (forwarding != config::TakesForwardingPidList(job.device->Type())) return RC_FAILED;
    }
    return job.device->Use([&job](DeviceHandle handle) -> std::int32_t {
        switch (job.kind) {
            case APPLY_NETWORK:
                return SetNetworkSettings(handle, &job.network);
            case APPLY_CHANNEL:
                return SetChannel(handle, &job.channel);
            case APPLY_CONTENT:
                return std::visit([handle](auto& list) { return SetPidList(handle, &list); },
                                  job.pidList);
            case APPLY_RESET:
                return ResetDevice(handle);
            default:
                return RC_FAILED;
        }
    });
}

void ApplyWorker(const std::shared_ptr<ApplyJob>& job, window::WindowHandle menu) {
    window::PostMessage(menu, WM_APPLY_STARTED, static_cast<std::uintptr_t>(job->kind), 1);
    const std::int32_t result = RunApply(*job);
    job->result = result;
    window::PostMessage(menu, WM_APPLY_FINISHED, static_cast<std::uintptr_t>(job->kind),
                        static_cast<std::intptr_t>(result));
    job->running = false;
}

}  // namespace console
