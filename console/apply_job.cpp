#include "console/apply_job.h"

#include "config/pid_list_form.h"
#include "config/tuning_form.h"
#include "console/console_messages.h"
#include "platform/window/window_handle.h"

namespace console {

namespace window = platform::window;

namespace {

// The device takes what the job carries, in the form the library reads for
// its type: anything else would be read as another record.
bool DeviceTakes(const ApplyJob& job, std::uint16_t type) {
    switch (job.kind) {
        case APPLY_CHANNEL:
            return job.satellite ? config::TakesSatelliteTuning(type)
                                 : config::TakesRfChannel(type);
        case APPLY_CONTENT:
            return std::holds_alternative<TrevanPidListRecord>(job.pidList) ==
                   config::TakesForwardingPidList(type);
        default:
            return true;
    }
}

}  // namespace

std::int32_t RunApply(ApplyJob& job, DeviceSession* device) {
    if (device == nullptr || !DeviceTakes(job, device->Type())) return RC_FAILED;
    return device->Use([&job](DeviceHandle handle) -> std::int32_t {
        switch (job.kind) {
            case APPLY_NETWORK:
                return SetNetworkSettings(handle, &job.network);
            case APPLY_CHANNEL:
                return job.satellite ? SetChannel(handle, &*job.satellite)
                                     : SetChannel(handle, &job.channel);
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

void ApplyWorker(const std::shared_ptr<ApplyJob>& job, SharedDevice device) {
    window::PostMessage(job->reportTo.load(), WM_APPLY_STARTED,
                        static_cast<std::uintptr_t>(job->kind), 1);
    const std::int32_t result = RunApply(*job, device.get());
    device.reset();  // closed now if the operator has picked another receiver meanwhile
    job->result = result;
    job->finished = true;
    window::PostMessage(job->reportTo.load(), WM_APPLY_FINISHED,
                        static_cast<std::uintptr_t>(job->kind), static_cast<std::intptr_t>(result));
    job->running = false;
}

}  // namespace console
