// Signal history and lock alarms in the running console, with emulated
// receivers whose lock is switched off and on.
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "console/console_messages.h"
#include "console/history_chart.h"
#include "console/history_panel.h"
#include "platform/window/qt/balloon_tip_window.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/popup_menu_native.h"
#include "platform/window/qt/tray_icon_native.h"
#include "platform/window/scripted_dialog_service.h"
#include "tests/console/console_fixture.h"

namespace console_test {
namespace {

class Alarms : public Console {
  protected:
    int Balloons() { return dialog->Tray().BalloonsShown(); }
    std::string Balloon() { return dialog->Tray().LastBalloonText(); }

    // Waits until the console has seen the lock in state `locked`.
    bool WaitForLock(bool locked, int timeoutMs = 4000) {
        return WaitUntil(
            [&] {
                const auto& history = dialog->History();
                return !history.Empty() && (history.Newest().locked != 0) == locked;
            },
            timeoutMs);
    }

    void SelectLockedR40() {
        Select("127.0.0.20");
        ASSERT_TRUE(WaitForOnline());
        ASSERT_TRUE(WaitForLock(true));
    }

    void ClickSnr() {
        auto* snr =
            platform::window::qt::WidgetOf(dialog->StatusPanel()->GetDlgItem(res::IDC_STATUS_SNR));
        ASSERT_NE(snr, nullptr);
        QTest::mouseClick(snr, Qt::LeftButton);
    }

    QAction* TrayAction(const QString& text) {
        window::PostMessage(dialog->Handle(), console::WM_TRAY_NOTIFY, 0, window::WM_RBUTTONUP);
        if (!WaitUntil([&] { return dialog->TrayMenu() && dialog->TrayMenu()->IsOpen(); }, 1000))
            return nullptr;
        for (QAction* action : dialog->TrayMenu()->GetNative().menu.actions())
            if (action->text() == text) return action;
        return nullptr;
    }
};

TEST_F(Alarms, LosingAndRegainingLockGiveOneBalloonEachWay) {
    SelectLockedR40();
    Press(res::IDC_MAIN_STATUS_PANEL);
    ASSERT_NE(dialog->StatusPanel(), nullptr);
    ClickSnr();
    ASSERT_NE(dialog->HistoryPanel(), nullptr) << "a click on the SNR opens the history";
    ASSERT_EQ(Balloons(), 0);

    r40->SetLocked(false);
    ASSERT_TRUE(WaitUntil([&] { return Balloons() >= 1; }, 4000));
    EXPECT_EQ(Balloon(), "R40 at 127.0.0.20 lost lock");
    EXPECT_EQ(dialog->MessageText(), "R40 at 127.0.0.20 lost lock");
    auto* balloon = dialog->Tray().GetNative().balloon.get();
    ASSERT_NE(balloon, nullptr) << "no notification area offscreen: the stand-in shows it";
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->Text(), "R40 at 127.0.0.20 lost lock");
    Pump(1500);
    EXPECT_EQ(Balloons(), 1) << "a lock that stays lost is one alarm";
    EXPECT_EQ(dialog->MessageText(), "R40 at 127.0.0.20 lost lock")
        << "the status poll does not wipe the alarm at once";

    r40->SetLocked(true);
    ASSERT_TRUE(WaitUntil([&] { return Balloons() >= 2; }, 4000));
    EXPECT_TRUE(Balloon().starts_with("R40 at 127.0.0.20 locked again after ")) << Balloon();
    EXPECT_TRUE(Balloon().ends_with(" s"));
    Pump(1200);
    EXPECT_EQ(Balloons(), 2);

    // The panel shows it: one loss, drawn on its next paint.
    auto* chart = dialog->HistoryPanel()->Chart();
    chart->UpdateWindow();
    EXPECT_TRUE(chart->HeaderText().find("1 lock loss") != std::string::npos)
        << chart->HeaderText();
}

TEST_F(Alarms, AFlappingReceiverIsToldOncePerPeriodWithACount) {
    SelectLockedR40();
    dialog->Alarms().SetRateLimit(8000);
    r40->SetLocked(false);
    ASSERT_TRUE(WaitUntil([&] { return Balloons() == 1; }, 4000));
    r40->SetLocked(true);
    ASSERT_TRUE(WaitUntil([&] { return Balloons() == 2; }, 4000)) << "the return answers the loss";

    // Three more changes inside the period: held, each on the message line.
    for (bool locked : {false, true, false}) {
        r40->SetLocked(locked);
        ASSERT_TRUE(WaitForLock(locked));
        EXPECT_TRUE(Contains(dialog->MessageText(), locked ? "locked again" : "lost lock"));
    }
    EXPECT_EQ(Balloons(), 2);
    ASSERT_TRUE(WaitUntil([&] { return Balloons() == 3; }, 9000))
        << "the summary when the period ends";
    EXPECT_EQ(Balloon(), "R40 at 127.0.0.20 is flapping: 3 lock changes in 8 s, without lock now");
    Pump(1000);
    EXPECT_EQ(Balloons(), 3);
}

TEST_F(Alarms, AnotherSelectionClearsTheHistoryAndTheHeldAlarms) {
    SelectLockedR40();
    ASSERT_TRUE(WaitUntil([&] { return dialog->History().Size() >= 3; }, 4000));
    EXPECT_EQ(dialog->History().LineQuantity(), console::SignalQuantity::SnrDb);
    Select("127.0.0.22");
    EXPECT_TRUE(dialog->History().Empty());
    ASSERT_TRUE(WaitForOnline());
    ASSERT_TRUE(WaitUntil([&] { return dialog->History().Size() >= 2; }, 4000));
    EXPECT_EQ(dialog->History().LineQuantity(), console::SignalQuantity::SignalPercent)
        << "the T22 reports a percentage, no SNR";
    EXPECT_TRUE(dialog->History().Newest().HasSignalPercent());
    t22->SetLocked(false);
    ASSERT_TRUE(WaitUntil([&] { return Balloons() == 1; }, 4000));
    EXPECT_EQ(Balloon(), "T22 (3.x) at 127.0.0.22 lost lock");
}

TEST_F(Alarms, TheHistoryPanelKeepsTheSatelliteRules) {
    // Without a device it does not open, from the icon's menu either.
    QAction* history = TrayAction(QStringLiteral("Signal History"));
    ASSERT_NE(history, nullptr);
    history->trigger();
    EXPECT_EQ(dialog->HistoryPanel(), nullptr);
    EXPECT_EQ(dialog->MessageText(), "Please Select a Device from the Device List");

    SelectLockedR40();
    // Placed so that the screen has room for one panel under the window.
    const int screenBottom = QGuiApplication::primaryScreen()->availableGeometry().bottom() + 1;
    const int mainHeight = dialog->GetWindowRect().Height();
    const int panelHeight = 168;  // 96 dialog units
    const int lowTop = screenBottom - mainHeight - panelHeight - 10;
    ASSERT_GT(lowTop, 0);
    dialog->MoveTo(0, lowTop);
    history->trigger();
    auto* panel = dialog->HistoryPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->GetWindowRect().Height(), panelHeight);
    window::Rect main = dialog->GetWindowRect();
    EXPECT_EQ(panel->GetWindowRect().left, main.left);
    EXPECT_EQ(panel->GetWindowRect().top, main.bottom) << "under the window without a status panel";
    Press(res::IDC_MAIN_STATUS_PANEL);
    ASSERT_NE(dialog->StatusPanel(), nullptr);
    const auto besideTheStatusPanel = [&] {
        main = dialog->GetWindowRect();
        const window::Rect status = dialog->StatusPanel()->GetWindowRect();
        EXPECT_EQ(status.top, main.bottom);
        EXPECT_EQ(panel->GetWindowRect().left, status.right);
        EXPECT_EQ(panel->GetWindowRect().top, main.bottom);
    };
    besideTheStatusPanel();
    dialog->MoveTo(30, lowTop - 5);
    besideTheStatusPanel();
    EXPECT_EQ(main.left, 30) << "follows the window";
    // Where there is room, under the status panel.
    dialog->MoveTo(30, 0);
    EXPECT_EQ(panel->GetWindowRect().left, 30);
    EXPECT_EQ(panel->GetWindowRect().top, dialog->StatusPanel()->GetWindowRect().bottom);

    // Hidden with the console, shown again with it.
    Press(res::IDC_MAIN_HIDE_TO_TRAY);
    EXPECT_FALSE(panel->IsWindowVisible());
    EXPECT_EQ(dialog->HistoryPanel(), panel);
    window::PostMessage(dialog->Handle(), console::WM_TRAY_NOTIFY, 0, window::WM_LBUTTONDBLCLK);
    EXPECT_TRUE(
        WaitUntil([&] { return dialog->IsWindowVisible() && panel->IsWindowVisible(); }, 1000));

    // The icon's menu closes it again, and a click on the SNR too.
    history = TrayAction(QStringLiteral("Signal History"));
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isChecked());
    history->trigger();
    EXPECT_EQ(dialog->HistoryPanel(), nullptr);
    ClickSnr();
    ASSERT_NE(dialog->HistoryPanel(), nullptr);
    ClickSnr();
    EXPECT_EQ(dialog->HistoryPanel(), nullptr);

    // The shut-down takes it with the others.
    ClickSnr();
    ASSERT_NE(dialog->HistoryPanel(), nullptr);
    Shut();
    EXPECT_EQ(dialog->HistoryPanel(), nullptr);
}

TEST_F(Alarms, SaveHistoryWritesTheRingAsCsv) {
    SelectLockedR40();
    ASSERT_TRUE(WaitUntil([&] { return dialog->History().Size() >= 4; }, 5000));
    dialog->ToggleHistoryPanel();
    auto* panel = dialog->HistoryPanel();
    ASSERT_NE(panel, nullptr);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("signal.csv"));

    window::ScriptedDialogService service;
    window::ScopedDialogService scope(service);
    service.AnswerFileDialog(std::nullopt);  // cancelled: nothing written
    panel->DispatchCommand(res::IDC_HISTORY_SAVE, window::BN_CLICKED);
    EXPECT_FALSE(panel->SaveRunning());
    EXPECT_FALSE(QFile::exists(path));

    service.AnswerFileDialog(path.toStdString());
    const std::size_t before = dialog->History().Size();
    panel->DispatchCommand(res::IDC_HISTORY_SAVE, window::BN_CLICKED);
    ASSERT_EQ(service.FileDialogs().size(), 2u);
    EXPECT_FALSE(service.FileDialogs().back().open) << "a save dialog";
    EXPECT_EQ(service.FileDialogs().back().defaultExtension, "csv");
    ASSERT_TRUE(WaitUntil([&] { return !panel->SaveRunning(); }, 5000));
    EXPECT_TRUE(panel->LastSaveText().starts_with("Signal history saved: "))
        << panel->LastSaveText();
    EXPECT_TRUE(dialog->MessageText().ends_with(" samples in signal.csv"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    ASSERT_GE(lines.size(), static_cast<qsizetype>(before + 1));
    EXPECT_EQ(lines[0], "time,lock,data,snr_db,signal_percent");
    const QList<QByteArray> last = lines.back().split(',');
    ASSERT_EQ(last.size(), 5);
    EXPECT_EQ(last[1], "1");
    bool number = false;
    last[3].toDouble(&number);
    EXPECT_TRUE(number) << "an R40's SNR: " << last[3].toStdString();
    EXPECT_TRUE(last[4].isEmpty());

    // A place that cannot take the file is told, and the panel carries on.
    service.AnswerFileDialog(dir.filePath(QStringLiteral("missing/signal.csv")).toStdString());
    panel->DispatchCommand(res::IDC_HISTORY_SAVE, window::BN_CLICKED);
    ASSERT_TRUE(WaitUntil([&] { return !panel->SaveRunning(); }, 5000));
    ASSERT_EQ(service.MessageBoxes().size(), 1u);
    EXPECT_TRUE(service.MessageBoxes()[0].text.starts_with("Could not save the signal history"));
}

}  // namespace
}  // namespace console_test
