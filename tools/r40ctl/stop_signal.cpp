#include "tools/r40ctl/stop_signal.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace r40ctl {

namespace {

#ifdef _WIN32

// Windows calls console control handlers on a thread of their own.
std::atomic<int> g_stopSignal{0};

BOOL WINAPI OnConsoleControl(DWORD event) {
    const int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    if (g_stopSignal.exchange(signal) != 0) ::ExitProcess(128 + signal);
    // Closing the console ends the process once this returns: wait for the
    // command to reach its safe point first (Windows allows a few seconds).
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void InstallStopHandlers() {
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

#else

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

#endif

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
