// How long the operator waits for "SUCCESS" after confirming a change in the
// configuration menu, next to the floor: the same library call made
// directly on the console's device session, which is mostly the receiver's
// confirmation wait. The receiver is the emulator program in a process of
// its own. Figures only: nothing here passes or fails.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <string>

#include "config/pid_list_form.h"
#include "console/config_sub_menue.h"
#include "console/halden_dlg.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/ids.h"
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

// Operates the modal dialog of `templateId` as soon as it is shown and
// stamps the moment its OK is pressed.
void WhenDialogOpens(int templateId, std::function<void(window::Dialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [timer, templateId, act] {
        auto* modal = dynamic_cast<window::Dialog*>(
            platform::window::qt::WindowOf(QApplication::activeModalWidget()));
        if (modal == nullptr || !modal->IsWindowVisible() || modal->Template()->id != templateId)
            return;
        timer->stop();
        timer->deleteLater();
        act(*modal);
    });
    timer->start();
}

struct Figures {
    double console = 0;  // confirmation to "SUCCESS", ms
    double floor = 0;    // the library call alone, ms
};

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    if (!test_support::EnterPrivateNetwork(&why)) {
        std::fprintf(stderr, "config_menu_bench needs a network namespace (root): %s\n",
                     why.c_str());
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir work;  // the last-used file goes here
    QDir::setCurrent(work.path());
    // The first content apply finds no list in the last-used file and says
    // so in a box: answered at once.
    window::ScriptedDialogService boxes;
    window::ScopedDialogService scopedBoxes(boxes);

    QProcess receiver;
    receiver.start(QStringLiteral(R40_RECEIVER_SIM),
                   {"--quiet", "--interval-ms", "100", "r40@127.0.0.20"});
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
    dialog.DispatchCommand(res::IDC_MAIN_CONFIG_MENU, window::BN_CLICKED);
    console::CConfigSubMenue* menu = dialog.ConfigMenu();
    if (menu == nullptr) {
        std::fprintf(stderr, "no configuration menu\n");
        return 1;
    }

    const int rounds = 5;
    Figures channel, pids;
    for (int i = 0; i < rounds; ++i) {
        // Channel: type the number and press OK; the clock starts at OK.
        QElapsedTimer clock;
        const QString wanted = QString::number(20 + i);
        WhenDialogOpens(res::IDD_CHANNEL_SELECT, [&](window::Dialog& d) {
            auto* edit = qobject_cast<QLineEdit*>(
                platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_CHANNEL_NUMBER)));
            edit->setText(wanted);
            clock.start();
            QTest::mouseClick(platform::window::qt::WidgetOf(d.GetDlgItem(window::IDOK)),
                              Qt::LeftButton);
        });
        menu->DispatchCommand(res::IDC_MENU_CHANNEL, window::BN_CLICKED);
        WaitUntil([&] { return menu->ResultShown(); }, 15000);
        channel.console += clock.elapsed();
        WaitUntil([&] { return !menu->ResultShown(); }, 3000);

        const std::uint16_t direct = static_cast<std::uint16_t>(50 + i);
        clock.start();
        dialog.GetOpenDevice()->Use([&](DeviceHandle h) { return SetChannel(h, &direct); });
        channel.floor += clock.elapsed();

        // PID list: add one PID and press OK.
        WhenDialogOpens(res::IDD_CONTENT_SELECT, [&](window::Dialog& d) {
            qobject_cast<QLineEdit*>(
                platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_CONTENT_PID_ENTRY)))
                ->setText(QString::number(100 + i));
            QTest::mouseClick(platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_CONTENT_ADD)),
                              Qt::LeftButton);
            clock.start();
            QTest::mouseClick(platform::window::qt::WidgetOf(d.GetDlgItem(window::IDOK)),
                              Qt::LeftButton);
        });
        menu->DispatchCommand(res::IDC_MENU_CONTENT, window::BN_CLICKED);
        WaitUntil([&] { return menu->ResultShown(); }, 15000);
        pids.console += clock.elapsed();
        WaitUntil([&] { return !menu->ResultShown(); }, 3000);

        PidListRecord list = config::EmptyPidList<PidListRecord>();
        list.pid[0] = static_cast<std::uint16_t>(200 + i);
        list.control[0] = 1;
        list.count = 1;
        clock.start();
        dialog.GetOpenDevice()->Use([&](DeviceHandle h) { return SetPidList(h, &list); });
        pids.floor += clock.elapsed();
    }
    for (const auto& [name, f] : {std::pair{"channel", channel}, std::pair{"PID list", pids}}) {
        std::printf(
            "%-8s apply: confirmation to SUCCESS %.0f ms, library call alone %.0f ms, ratio "
            "%.2f (average of %d, status every 100 ms)\n",
            name, f.console / rounds, f.floor / rounds, f.console / f.floor, rounds);
    }

    dialog.DispatchCommand(window::IDCANCEL, window::BN_CLICKED);
    receiver.terminate();
    receiver.waitForFinished();
    return 0;
}
