// A selected receiver that disappears: one missed discovery pass is
// forgiven, the second in a row removes it. Each case waits out several
// four-second passes.
#include "console/history_panel.h"
#include "tests/console/console_fixture.h"

namespace console_test {
namespace {

// Waits until `n` more passes have reached the window.
bool WaitForPasses(console::CHaldenDlg& dialog, int n) {
    const int target = dialog.DiscoveryPasses() + n;
    return WaitUntil([&] { return dialog.DiscoveryPasses() >= target; }, 6000 * n);
}

TEST_F(Console, ARemovedReceiverIsReportedAfterTwoMissedPasses) {
    Select("127.0.0.20");
    ASSERT_TRUE(WaitForOnline());
    Press(res::IDC_MAIN_STATUS_PANEL);
    ASSERT_NE(dialog->StatusPanel(), nullptr);
    dialog->ToggleHistoryPanel();
    ASSERT_NE(dialog->HistoryPanel(), nullptr);
    r40->Stop();
    ASSERT_TRUE(WaitForPasses(*dialog, 1));
    EXPECT_EQ(dialog->SelectedKey(), 0x000014) << "one miss is forgiven";
    EXPECT_NE(dialog->MessageText(), "R40 Management Console \n Selected Device Removed");
    const int balloons = dialog->Tray().BalloonsShown();
    ASSERT_TRUE(WaitForPasses(*dialog, 1));
    EXPECT_EQ(dialog->MessageText(), "R40 Management Console \n Selected Device Removed");
    EXPECT_EQ(dialog->Tray().BalloonsShown(), balloons + 1) << "the removal is an alarm";
    EXPECT_EQ(dialog->Tray().LastBalloonText(),
              "R40 at 127.0.0.20 was removed: it is no longer heard");
    EXPECT_EQ(dialog->SelectedKey(), -1);
    EXPECT_EQ(dialog->StatusPanel(), nullptr);
    EXPECT_EQ(dialog->HistoryPanel(), nullptr);
    EXPECT_FALSE(LockIndicator()->IsWindowVisible());
    EXPECT_FALSE(dialog->PollingEnabled());
}

TEST_F(Console, AReceiverMissingFromOnePassStaysSelected) {
    Select("127.0.0.21");
    ASSERT_TRUE(WaitForOnline());
    ASSERT_TRUE(WaitForPasses(*dialog, 1));
    r40v->SetFault(sim::Fault::Silence, true);
    // Let the pass that is running (if any) end, then miss exactly one.
    ASSERT_TRUE(WaitUntil([&] { return !dialog->DiscoveryRunning(); }, 6000));
    ASSERT_TRUE(WaitForPasses(*dialog, 1));
    r40v->SetFault(sim::Fault::Silence, false);
    ASSERT_TRUE(WaitForPasses(*dialog, 2));
    EXPECT_EQ(dialog->SelectedKey(), 0x000015);
    EXPECT_NE(dialog->MessageText(), "R40 Management Console \n Selected Device Removed");
}

}  // namespace
}  // namespace console_test
