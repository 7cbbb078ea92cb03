// The console's cost while it sits idle beside the operator, 30 seconds for
// each of: the main window alone; an R40 selected (polled every 600 ms);
// the R40 with the status panel open; and the console hidden in the
// notification area. The logo animates throughout while the window shows.
// Prints CPU use next to the targets and the figure this bench gave before
// the idle work (same 2-core machine, equally loaded), resident memory, and the delay from a change
// at the receiver to the panel showing it. The receiver is the emulator program in a process of its
// own, so its work is not counted. Figures only: nothing here passes or fails.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "console/console_messages.h"
#include "console/halden_dlg.h"
#include "console/status_panel.h"
#include "platform/window/combo_box_control.h"
#include "resources/ids.h"
#include "skin/transparent_static.h"
#include "tests/support/private_network.h"

namespace {

namespace window = platform::window;

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

struct IdleCase {
    const char* name;
    double targetPercent;
    const char* before;  // the same case on the same machine before the idle work
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!test_support::EnterPrivateNetwork(&why)) {
        std::fprintf(stderr, "console_bench needs a network namespace (root): %s\n", why.c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    // Started detached: a QProcess would add its pipes and process
    // descriptor to the event loop this benchmark measures.
    qint64 receiver = 0;
    if (!QProcess::startDetached(QStringLiteral(R40_RECEIVER_SIM),
                                 {"--quiet", "--interval-ms", "1000", "r40@127.0.0.20"}, QString(),
                                 &receiver)) {
        std::fprintf(stderr, "cannot start the receiver emulator\n");
        return 1;
    }

    // The event loop itself, as the console runs it, for `seconds`.
    auto idle = [&app](const IdleCase& idleCase, int seconds) {
        const double cpuStart = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        const double percent = 100.0 * (CpuSeconds() - cpuStart) / (wall.elapsed() / 1000.0);
        std::printf("idle, %-38s %ds: %5.2f %% of one core (target < %.1f %%, before: %s)\n",
                    idleCase.name, seconds, percent, idleCase.targetPercent, idleCase.before);
    };
    const int seconds = qEnvironmentVariableIntValue("R40_IDLE_SECONDS") > 0
                            ? qEnvironmentVariableIntValue("R40_IDLE_SECONDS")
                            : 30;

    console::CHaldenDlg dialog;
    dialog.Create();
    dialog.ShowWindow(window::SW_SHOW);
    auto* combo = dialog.GetDlgItemAs<window::ComboBoxControl>(res::IDC_MAIN_DEVICE_LIST);
    if (!WaitUntil([&] { return dialog.Devices().count > 0 && combo->GetCount() > 0; }, 10000)) {
        std::fprintf(stderr, "no receiver discovered\n");
        return 1;
    }
    idle({"main window only,", 0.5, "0.87 %"}, seconds);

    combo->SetCurSel(0);
    dialog.DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_SELENDOK);
    WaitUntil([&] { return dialog.GetOpenDevice() != nullptr; }, 5000);
    WaitUntil([&] { return dialog.LastStatus() != nullptr; }, 5000);
    idle({"R40 selected,", 0.5, "1.04 %"}, seconds);

    dialog.DispatchCommand(res::IDC_MAIN_STATUS_PANEL, window::BN_CLICKED);
    idle({"R40 selected, status panel open,", 0.5, "1.09 %"}, seconds);

    dialog.DispatchCommand(res::IDC_MAIN_HIDE_TO_TRAY, window::BN_CLICKED);
    idle({"hidden in the notification area,", 0.2, "0.36 %"}, seconds);
    std::printf("resident memory: %.1f MB (target < 60 MB)\n", ResidentKiB() / 1024.0);

    // Back on screen with the panel, for the delay below.
    window::PostMessage(dialog.Handle(), console::WM_TRAY_NOTIFY, 0, window::WM_LBUTTONDBLCLK);
    WaitUntil([&] { return dialog.IsWindowVisible(); }, 2000);

    // The delay from a change at the receiver to the panel: the emulator is
    // re-tuned through the library's own command by the console's device.
    auto* channel =
        dialog.StatusPanel()->GetDlgItemAs<skin::CTransparentStatic>(res::IDC_STATUS_CHANNEL);
    double total = 0;
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        const std::uint16_t wanted = static_cast<std::uint16_t>(40 + i);
        dialog.SuspendPolling();
        WaitUntil([] { return false; }, 700);  // the poll in flight ends
        dialog.GetOpenDevice()->Use([&](DeviceHandle h) { return SetChannel(h, &wanted); });
        dialog.ResumePolling();
        QElapsedTimer shown;
        shown.start();
        WaitUntil([&] { return channel->Text() == std::to_string(wanted); }, 10000);
        total += shown.elapsed();
    }
    std::printf(
        "status change at the receiver to the panel: %.0f ms on average of %d "
        "(status every 1000 ms, polled every 600 ms)\n",
        total / rounds, rounds);

    dialog.DispatchCommand(window::IDCANCEL, window::BN_CLICKED);
    kill(static_cast<pid_t>(receiver), SIGTERM);
    return 0;
}
