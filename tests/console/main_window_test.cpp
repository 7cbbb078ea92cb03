// The console's main window against emulated receivers: the device list,
// selection, indicators, the status panel, docking, the notification area
// and the shut-down.
#include <QKeyEvent>

#include "console/console_messages.h"
#include "console/worker_reports.h"
#include "platform/net/udp_socket.h"
#include "platform/window/list_box_control.h"
#include "platform/window/picture_control.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/native.h"
#include "tests/console/console_fixture.h"
#include "tests/devicelib/datagram_transmitter.h"
#include "tests/support/private_network.h"

using platform::window::qt::WidgetOf;

namespace console_test {
namespace {

TEST_F(Console, FirstPassStartsAtOnceAndListsTheReceivers) {
    EXPECT_TRUE(dialog->DiscoveryRunning() || dialog->DiscoveryPasses() > 0)
        << "the first pass does not wait for the timer";
    ASSERT_TRUE(WaitForDevices(3, 3500)) << "listed within the first pass";
    QStringList items;
    for (int i = 0; i < Combo()->GetCount(); ++i)
        items << QString::fromStdString(Combo()->GetLBText(i));
    items.sort();
    EXPECT_EQ(items, (QStringList{"02-5C-C1-00-00-14 R40  (127.0.0.20) ",
                                  "02-5C-C1-00-00-15 R40V  (127.0.0.21) ",
                                  "02-5C-C1-00-00-16 T22 (3.x)  (127.0.0.22) "}));
    // Each item carries its device key.
    EXPECT_EQ(Combo()->GetItemData(ItemOf("127.0.0.20")), 0x000014);
    // The drop-down is as wide as the widest item plus a scroll bar and "0".
    EXPECT_GT(Combo()->GetDroppedWidth(), Combo()->GetClientRect().Width());
}

TEST_F(Console, SelectingAnR40ShowsItOnlineAndDrivesTheIndicators) {
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    EXPECT_EQ(dialog->MessageText(),
              " Device Type: R40  \n MAC Address: 02-5C-C1-00-00-14 \n IP Address: 127.0.0.20 "
              "\n Device Status: Online");
    EXPECT_EQ(dialog->SelectedKey(), 0x000014);
    EXPECT_TRUE(LockIndicator()->IsWindowVisible());
    ASSERT_TRUE(WaitUntil([&] { return dialog->LastStatus() != nullptr; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(LockIndicator()) == GREEN; }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(DataIndicator()) == GREEN; }, 2000));

    r40->SetLocked(false);
    r40->SetDataFlowing(false);
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(LockIndicator()) == RED; }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(DataIndicator()) == DARK_GREEN; }, 3000));
}

TEST_F(Console, StatusPanelShowsTheR40AndRebuildsItsListOnlyOnChange) {
    std::vector<sim::PidEntry> pids(16);
    pids[0] = sim::PidEntry::Make(256, 1);
    pids[1] = sim::PidEntry::Make(4095, 1);
    r40->SetPidEntries(pids);
    r40->SetChannel(45);
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    Press(res::IDC_MAIN_STATUS_PANEL);
    ASSERT_NE(dialog->StatusPanel(), nullptr);
    console::CR40DressedStatusBasic* panel = dialog->StatusPanel();

    ASSERT_TRUE(WaitUntil([&] { return PanelText(res::IDC_STATUS_CHANNEL) == "45"; }, 3000));
    EXPECT_TRUE(PanelText(res::IDC_STATUS_SNR).endsWith(" dB"));
    EXPECT_EQ(PanelText(res::IDC_STATUS_SNR),
              QString::asprintf("%2.2f dB", static_cast<double>(dialog->LastStatus()->snr)));
    EXPECT_EQ(PanelText(res::IDC_STATUS_GATEWAY), "127.0.0.1");
    auto* list = panel->GetDlgItemAs<window::ListBoxControl>(res::IDC_STATUS_PID_LIST);
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->GetText(0), "0x0100  (0256)");
    EXPECT_EQ(list->GetText(1), "0x0FFF  (4095)");
    auto* igmp = panel->GetDlgItemAs<window::PictureControl>(res::IDC_STATUS_IGMP_IMAGE);
    EXPECT_TRUE(igmp->IsWindowVisible());

    const int rebuilds = panel->PidListRebuilds();
    Pump(1500);  // several more statuses, same PIDs
    EXPECT_EQ(panel->PidListRebuilds(), rebuilds);

    std::swap(pids[0], pids[1]);  // same PIDs, another order
    r40->SetPidEntries(pids);
    ASSERT_TRUE(WaitUntil([&] { return list->GetText(0) == "0x0FFF  (4095)"; }, 3000));
    EXPECT_EQ(panel->PidListRebuilds(), rebuilds + 1);
}

TEST_F(Console, PanelDocksUnderTheMainWindowAndFollowsIt) {
    Select("127.0.0.21");
    ASSERT_TRUE(WaitForOnline());
    Press(res::IDC_MAIN_STATUS_PANEL);
    auto* panel = dialog->StatusPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->IsWindowVisible());
    auto docked = [&] {
        const window::Rect main = dialog->GetWindowRect();
        const window::Rect satellite = panel->GetWindowRect();
        return satellite.left == main.left && satellite.top == main.bottom;
    };
    EXPECT_TRUE(WaitUntil(docked, 1000));
    dialog->MoveTo(40, 30);
    EXPECT_TRUE(WaitUntil(docked, 1000));
    EXPECT_EQ(panel->GetWindowRect().left, 40);

    Press(res::IDC_MAIN_STATUS_PANEL);  // a second press closes it
    EXPECT_EQ(dialog->StatusPanel(), nullptr);
}

TEST_F(Console, T22DrivesTheIndicatorsOnly) {
    Select("127.0.0.22");
    ASSERT_TRUE(WaitForOnline());
    const std::string description = dialog->MessageText();
    Press(res::IDC_MAIN_STATUS_PANEL);
    ASSERT_NE(dialog->StatusPanel(), nullptr);
    t22->SetLocked(false);
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(LockIndicator()) == RED; }, 3000));
    t22->SetLocked(true);
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(LockIndicator()) == GREEN; }, 3000));
    // The lock alarm holds the message line for a while, then the
    // description comes back.
    // ("locked again after ..." or, when the first status came without lock,
    // "is locked now ...").
    EXPECT_TRUE(dialog->MessageText().starts_with("T22 (3.x) at 127.0.0.22 "))
        << dialog->MessageText();
    EXPECT_TRUE(Contains(dialog->MessageText(), "lock"));
    EXPECT_TRUE(WaitUntil([&] { return dialog->MessageText() == description; }, 17000));
    EXPECT_EQ(PanelText(res::IDC_STATUS_CHANNEL), "");
    EXPECT_EQ(dialog->LastStatus(), nullptr);
}

TEST_F(Console, ForwardingSatelliteModelsAreOpenedButNeverPolled) {
    auto trevan = Start(sim::Model::Trevan, {127, 0, 0, 23});
    trevan->SetLocked(false);
    ASSERT_TRUE(WaitForDevices(4));
    Select("127.0.0.23");
    ASSERT_TRUE(WaitForOnline());
    const QColor before = IndicatorColour(LockIndicator());
    Pump(1500);
    EXPECT_EQ(IndicatorColour(LockIndicator()), before) << "a polled status would turn it red";
    EXPECT_EQ(before, GREEN);
}

TEST_F(Console, ButtonsNeedASelectedDevice) {
    for (int id :
         {res::IDC_MAIN_CONFIG_MENU, res::IDC_MAIN_FILE_OPERATIONS, res::IDC_MAIN_STATUS_PANEL}) {
        dialog->ShowMessage("something else");
        Press(id);
        EXPECT_EQ(dialog->MessageText(), "Please Select a Device from the Device List") << id;
    }
    EXPECT_EQ(dialog->StatusPanel(), nullptr);
}

TEST_F(Console, ThePlaceholderItemSelectsNothing) {
    Combo()->SetCurSel(0);  // "Device List", before the first pass refilled
    dialog->DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_SELENDOK);
    EXPECT_EQ(dialog->SelectedKey(), -1);
    EXPECT_EQ(dialog->GetOpenDevice(), nullptr);
}

TEST_F(Console, TheListIsNotRefilledWhileDroppedDown) {
    ASSERT_TRUE(WaitForDevices(3));
    dialog->DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_DROPDOWN);
    // Wait until no pass is in flight, then give the timer time for another.
    ASSERT_TRUE(WaitUntil([&] { return !dialog->DiscoveryRunning(); }, 6000));
    const int passes = dialog->DiscoveryPasses();
    auto extra = Start(sim::Model::R40, {127, 0, 0, 24});
    Pump(5000);
    EXPECT_EQ(dialog->DiscoveryPasses(), passes);
    EXPECT_EQ(Combo()->GetCount(), 3);
    dialog->DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_CLOSEUP);
    EXPECT_TRUE(WaitForDevices(4, 8000));
}

TEST_F(Console, HidingToTheTrayAndBack) {
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    Press(res::IDC_MAIN_STATUS_PANEL);
    auto* panel = dialog->StatusPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(dialog->Tray().IsAdded());
    EXPECT_EQ(dialog->Tray().Tip(), "R40 Orvel Management Console");

    Press(res::IDC_MAIN_HIDE_TO_TRAY);
    EXPECT_FALSE(dialog->IsWindowVisible());
    EXPECT_FALSE(panel->IsWindowVisible());
    EXPECT_EQ(dialog->StatusPanel(), panel) << "hidden, not destroyed";
    // Hidden, nothing animates; the receiver is still polled.
    EXPECT_FALSE(dialog->HasTimer(console::TIMER_LOGO));
    EXPECT_TRUE(dialog->HasTimer(console::TIMER_STATUS_POLL));

    // A single click does nothing; a double click brings both back.
    window::PostMessage(dialog->Handle(), console::WM_TRAY_NOTIFY, 0, window::WM_LBUTTONUP);
    Pump(100);
    EXPECT_FALSE(dialog->IsWindowVisible());
    window::PostMessage(dialog->Handle(), console::WM_TRAY_NOTIFY, 0, window::WM_LBUTTONDBLCLK);
    EXPECT_TRUE(
        WaitUntil([&] { return dialog->IsWindowVisible() && panel->IsWindowVisible(); }, 1000));
    EXPECT_TRUE(dialog->HasTimer(console::TIMER_LOGO));
}

TEST_F(Console, AStatusOfAnEarlierDeviceIsDiscarded) {
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    ASSERT_TRUE(WaitUntil([&] { return IndicatorColour(LockIndicator()) == GREEN; }, 3000));
    r40->SetFault(sim::Fault::Silence, true);
    Pump(300);
    // A report of an unlocked R40 from an earlier opening arrives late.
    auto stale = std::make_unique<console::StatusReport>();
    stale->generation = dialog->GetOpenDevice()->Generation() - 1;
    stale->type = TYPE_R40;
    window::PostMessage(dialog->Handle(), console::WM_STATUS_READY, 1, 0, std::move(stale));
    Pump(200);
    EXPECT_EQ(IndicatorColour(LockIndicator()), GREEN);
}

TEST_F(Console, JunkOnTheStatusPortRemovesNoReceiver) {
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    devicelib_test::NoiseSource noise({127, 0, 0, 99}, {6516}, 50);
    // Three whole passes with junk all through them: one pass missing the
    // receiver is forgiven, two in a row remove it.
    ASSERT_TRUE(WaitUntil([&] { return !dialog->DiscoveryRunning(); }, 6000));
    const int passes = dialog->DiscoveryPasses();
    for (int pass = 1; pass <= 3; ++pass) {
        ASSERT_TRUE(WaitUntil([&] { return dialog->DiscoveryPasses() >= passes + pass; }, 6000));
        EXPECT_EQ(Combo()->GetCount(), 3) << "pass " << pass;
    }
    EXPECT_EQ(dialog->SelectedKey(), 0x000014);
    EXPECT_TRUE(Contains(dialog->MessageText(), "Device Status: Online")) << dialog->MessageText();
}

// Forged receivers, from more sources than the list has places, fill it
// in every pass; the receivers the console listed before keep their places
// and the selected one stays selected and online.
TEST_F(Console, ListedReceiversKeepTheirPlacesWhenForgedOnesFillTheList) {
    std::string why;
    if (!test_support::AddLocalNetwork("10.26.0.1/16", &why)) GTEST_SKIP() << why;
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    std::vector<platform::net::Ipv4> sources;
    for (int i = 1; i <= 80; ++i) sources.push_back({10, 26, 1, static_cast<std::uint8_t>(i)});
    devicelib_test::ForgedReceivers forged(sources, 1, 4000);
    ASSERT_TRUE(WaitUntil([&] { return !dialog->DiscoveryRunning(); }, 6000));
    const int passes = dialog->DiscoveryPasses();
    for (int pass = 1; pass <= 3; ++pass) {
        ASSERT_TRUE(WaitUntil([&] { return dialog->DiscoveryPasses() >= passes + pass; }, 8000));
        EXPECT_EQ(Combo()->GetCount(), MAX_DEVICES) << "pass " << pass;
        for (const char* address : {"127.0.0.20", "127.0.0.21", "127.0.0.22"})
            EXPECT_GE(ItemOf(address), 0) << address << " in pass " << pass;
    }
    EXPECT_EQ(dialog->SelectedKey(), 0x000014);
    EXPECT_EQ(Combo()->GetItemData(Combo()->GetCurSel()), 0x000014);
    EXPECT_TRUE(Contains(dialog->MessageText(), "Device Status: Online")) << dialog->MessageText();
}

// A pass that does not hear the selected receiver (a flood can drown it)
// does not count against it while its status keeps arriving.
TEST_F(Console, TheSelectedReceiverStaysWhileItsStatusKeepsComing) {
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    // Just after a real pass, so that the next one is seconds away.
    const int passes = dialog->DiscoveryPasses();
    ASSERT_TRUE(WaitUntil([&] { return dialog->DiscoveryPasses() > passes; }, 8000));
    for (int miss = 0; miss < 2; ++miss) {
        const R40StatusRecord* before = dialog->LastStatus();
        ASSERT_TRUE(WaitUntil([&] { return dialog->LastStatus() != before; }, 3000));
        auto empty = std::make_unique<console::DiscoveryReport>();
        window::PostMessage(dialog->Handle(), console::WM_DISCOVERY_DONE, 0, 0, std::move(empty));
        Pump(50);
    }
    EXPECT_EQ(dialog->SelectedKey(), 0x000014);
    EXPECT_GE(ItemOf("127.0.0.20"), 0);
    EXPECT_NE(dialog->MessageText(), "R40 Management Console \n Selected Device Removed");
}

TEST_F(Console, EscapeShutsDownAfterTheRunningDiscoveryPass) {
    ASSERT_TRUE(WaitUntil([&] { return dialog->DiscoveryRunning(); }, 5000));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(WidgetOf(*dialog), &escape);
    EXPECT_TRUE(dialog->ShutDownDone());
    EXPECT_FALSE(dialog->DiscoveryRunning()) << "the shut-down waited for the pass";
    EXPECT_FALSE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->GetOpenDevice(), nullptr);
}

// Enter, wherever the focus is in the main window, neither ends the console
// nor runs the shut-down: only the shut-down button, Escape and closing do.
TEST_F(Console, EnterInTheMainWindowDoesNothing) {
    ASSERT_TRUE(WaitForDevices(3));
    WidgetOf(*dialog)->activateWindow();
    std::vector<QWidget*> targets{WidgetOf(*dialog)};
    for (QWidget* child : WidgetOf(*dialog)->findChildren<QWidget*>())
        if (child->focusPolicy() != Qt::NoFocus) targets.push_back(child);
    for (QWidget* target : targets) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            target->setFocus();
            QTest::keyClick(target, key);
            Pump(20);
            ASSERT_FALSE(dialog->ShutDownDone())
                << target->metaObject()->className() << " " << window::ControlId(target);
            ASSERT_TRUE(dialog->IsWindowVisible());
        }
    }
    // Escape still shuts down.
    QTest::keyClick(WidgetOf(*dialog), Qt::Key_Escape);
    EXPECT_TRUE(dialog->ShutDownDone());
}

TEST(ConsoleStatusPort, NoFreePortFallsBackToTheFirstAndSaysSo) {
    std::vector<platform::net::UdpSocket> holders(STATUS_PORT_COUNT);
    for (int i = 0; i < STATUS_PORT_COUNT; ++i)
        ASSERT_TRUE(holders[i].Open() &&
                    holders[i].Bind(platform::net::ANY_ADDRESS, STATUS_PORTS[i]));
    console::CHaldenDlg dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.StatusPort(), 6516);
    EXPECT_TRUE(Contains(dialog.MessageText(), "status port is in use"));
    dialog.DispatchCommand(window::IDCANCEL, window::BN_CLICKED);
}

}  // namespace
}  // namespace console_test
