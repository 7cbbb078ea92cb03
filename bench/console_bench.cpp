// The console's cost while it sits idle beside the operator: one receiver
// selected, the status panel open, the logo animating and the status polled
// every 600 ms, for 30 seconds. Prints CPU use, resident memory and the delay
// from a change at the receiver to the panel showing it. The receiver is the
// emulator program in a process of its own, so its work is not counted.
// Figures only: nothing here passes or fails.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "console/halden_dlg.h"
#include "console/status_panel.h"
#include "platform/netns/private_network.h"
#include "platform/window/combo_box_control.h"
#include "resources/ids.h"
#include "skin/transparent_static.h"

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
    if (!platform::netns::EnterPrivateNetwork(&why)) {
        std::fprintf(stderr, "console_bench needs a network namespace (root): %s\n", why.c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QProcess receiver;
    receiver.start(QStringLiteral(R40_RECEIVER_SIM),
                   {"--quiet", "--interval-ms", "1000", "r40@127.0.0.20"});
    if (!receiver.waitForStarted()) {
        std::fprintf(stderr, "cannot start the receiver emulator\n");
        return 1;
    }

    console::CHaldenDlg dialog;
    dialog.Create();
    auto* combo = dialog.GetDlgItemAs<window::ComboBoxControl>(res::IDC_MAIN_DEVICE_LIST);
    if (!WaitUntil([&] { return dialog.Devices().count > 0 && combo->GetCount() > 0; }, 10000)) {
        std::fprintf(stderr, "no receiver discovered\n");
        return 1;
    }
    combo->SetCurSel(0);
    dialog.DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_SELENDOK);
    WaitUntil([&] { return dialog.GetOpenDevice() != nullptr; }, 5000);
    dialog.DispatchCommand(res::IDC_MAIN_STATUS_PANEL, window::BN_CLICKED);
    WaitUntil([&] { return dialog.LastStatus() != nullptr; }, 5000);

    const double cpuStart = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // The event loop itself, as the console runs it.
    QTimer::singleShot(30000, &app, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    const double cpu = CpuSeconds() - cpuStart;
    std::printf("idle, R40 selected, status panel open, 30 s: %.2f %% of one core\n",
                100.0 * cpu / (wall.elapsed() / 1000.0));
    std::printf("resident memory: %.1f MB\n", ResidentKiB() / 1024.0);

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
        WaitUntil([&] { return channel->Text() == QString::number(wanted); }, 10000);
        total += shown.elapsed();
    }
    std::printf(
        "status change at the receiver to the panel: %.0f ms on average of %d "
        "(status every 1000 ms, polled every 600 ms)\n",
        total / rounds, rounds);

    dialog.DispatchCommand(window::IDCANCEL, window::BN_CLICKED);
    receiver.terminate();
    receiver.waitForFinished();
    return 0;
}
