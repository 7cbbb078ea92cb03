// Per-window timers by id: setting an id again replaces its timer, killing
// stops it, and a window's timers end with the window.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

const DialogTemplate* MenuTemplate() {
    return res::FindDialogTemplate(res::IDD_CONFIG_MENU);
}

long Count(const std::vector<int>& ticks, int id) {
    return std::count(ticks.begin(), ticks.end(), id);
}

TEST(WindowTimer, SettingAnIdAgainReplacesItsTimer) {
    RecordingDialog dialog(MenuTemplate());
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(dialog.SetTimer(1, 5));
    // Replaced by a timer that will not fire during the test: a 5 ms timer
    // left running would tick some forty times below.
    ASSERT_TRUE(dialog.SetTimer(1, 60000));
    EXPECT_TRUE(dialog.HasTimer(1));
    Pump(200);
    EXPECT_EQ(Count(dialog.ticks, 1), 0);

    ASSERT_TRUE(dialog.SetTimer(1, 5));
    EXPECT_TRUE(WaitUntil([&] { return Count(dialog.ticks, 1) >= 3; }));
}

TEST(WindowTimer, IdsAreIndependentAndKillStopsOne) {
    RecordingDialog dialog(MenuTemplate());
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(dialog.SetTimer(1, 5));
    ASSERT_TRUE(dialog.SetTimer(2, 5));
    ASSERT_TRUE(
        WaitUntil([&] { return Count(dialog.ticks, 1) >= 2 && Count(dialog.ticks, 2) >= 2; }));
    EXPECT_TRUE(dialog.KillTimer(1));
    EXPECT_FALSE(dialog.KillTimer(1));
    EXPECT_FALSE(dialog.HasTimer(1));
    dialog.ticks.clear();
    Pump(100);
    EXPECT_EQ(Count(dialog.ticks, 1), 0);
    EXPECT_GT(Count(dialog.ticks, 2), 0);
}

TEST(WindowTimer, AHandlerMayKillItsOwnTimer) {
    RecordingDialog dialog(MenuTemplate());
    ASSERT_TRUE(dialog.Create());
    dialog.onTimer = [&](int id) { dialog.KillTimer(id); };
    ASSERT_TRUE(dialog.SetTimer(3, 1));
    Pump(100);
    EXPECT_EQ(Count(dialog.ticks, 3), 1);
}

TEST(WindowTimer, NeedsAWindowAndEndsWithIt) {
    RecordingDialog dialog(MenuTemplate());
    EXPECT_FALSE(dialog.SetTimer(1, 5));
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(dialog.SetTimer(1, 5));
    dialog.DestroyWindow();
    EXPECT_FALSE(dialog.HasTimer(1));
    Pump(60);
    EXPECT_TRUE(dialog.ticks.empty());
}

}  // namespace
