#include "tools/r40ctl/stop_signal.h"

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace r40ctl {

namespace {

volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void OnStopSignal(int signal) {
    if (g_stopSignal != 0) _exit(128 + signal);
    g_stopSignal = signal;
}

}  // namespace

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return g_stopSignal != 0;
}

int StopSignal() {
    return g_stopSignal;
}

bool SleepUnlessStopped(double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(seconds));
    while (!StopRequested()) {
        const auto now = Clock::now();
        if (now >= end) return true;
        std::this_thread::sleep_for(
            std::min<Clock::duration>(end - now, std::chrono::milliseconds(50)));
    }
    return false;
}

}  // namespace r40ctl
