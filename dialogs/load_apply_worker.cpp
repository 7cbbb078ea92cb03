#include "dialogs/load_apply_worker.h"

#include <memory>
#include <string>

namespace dialogs {

namespace window = platform::window;

namespace {

// Clears the job's flags however the worker ends, so that nobody waits for
// a worker that has gone.
struct FlagsClearedAtEnd {
    LoadApplyJob& job;
    ~FlagsClearedAtEnd() {
        job.workerRunning = false;
        job.applyStarted = false;
    }
};

}  // namespace

void LoadApplyWorker(const std::shared_ptr<LoadApplyJob>& job, window::WindowHandle dialog) {
    FlagsClearedAtEnd clearFlags{*job};
    job->workerRunning = true;
    config::ApplyOptions options;
    options.statusPort = job->statusPort;
    options.pause = job->pause;
    options.lastUsedFile = job->lastUsedFile;
    options.receiver = job->receiver;
    options.onStage = [dialog](const config::StageOutcome& outcome) {
        const auto stage = static_cast<std::uintptr_t>(static_cast<int>(outcome.stage));
        if (outcome.succeeded)
            window::PostMessage(dialog, WM_LOADAPPLY_SUCCEEDED, stage, 1);
        else if (outcome.reason == config::REASON_OTHER_RECEIVER)
            window::PostMessage(dialog, WM_LOADAPPLY_FAILED, stage, outcome.reason,
                                std::make_unique<config::ReceiverKey>(outcome.fileKey));
        else if (!outcome.detail.empty())
            // A value no receiver can take: the dialog names it.
            window::PostMessage(dialog, WM_LOADAPPLY_FAILED, stage, outcome.reason,
                                std::make_unique<std::string>(outcome.detail));
        else
            window::PostMessage(dialog, WM_LOADAPPLY_FAILED, stage, outcome.reason);
    };
    // The session goes with the worker, not with the dialog's job.
    const config::DeviceCaller device = std::move(job->device);
    config::LoadAndApply(device, job->path, options);
}

}  // namespace dialogs
