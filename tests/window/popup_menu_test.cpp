// The shortcut menu: its items' choices reach the owner window as
// WM_COMMAND commands, only while the owner lives; check marks follow the
// item ids.
#include <gtest/gtest.h>

#include <QAction>

#include "platform/window/messages.h"
#include "platform/window/popup_menu.h"
#include "platform/window/qt/popup_menu_native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "tests/window/screen_checks.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

QAction* Item(PopupMenu& menu, const QString& text) {
    for (QAction* action : menu.GetNative().menu.actions())
        if (action->text() == text) return action;
    return nullptr;
}

TEST(PopupMenu, ChoicesAreCommandsOfTheOwnerWhileItLives) {
    PopupMenu menu;
    menu.AppendItem(32771, "Show Console");
    menu.AppendItem(32772, "Signal History");
    menu.AppendSeparator();
    menu.AppendItem(res::IDC_MAIN_SHUT_DOWN, "Shut Down");

    menu.CheckItem(32772, true);
    EXPECT_TRUE(menu.IsItemChecked(32772));
    EXPECT_FALSE(menu.IsItemChecked(32771));
    EXPECT_FALSE(menu.IsItemChecked(4711)) << "no such item";
    menu.CheckItem(32772, false);
    EXPECT_FALSE(menu.IsItemChecked(32772));

    {
        RecordingDialog owner(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
        ASSERT_TRUE(owner.Create());
        menu.Track(Point{10, 10}, owner.Handle());
        EXPECT_TRUE(menu.IsOpen());
        Item(menu, "Signal History")->trigger();
        Item(menu, "Shut Down")->trigger();
        // A command a window maps itself comes to its handler, code 0.
        int shown = 0;
        owner.MapCommand(32771, 0, [&] { ++shown; });
        Item(menu, "Show Console")->trigger();
        ASSERT_EQ(owner.commands.size(), 3u);
        EXPECT_EQ(owner.commands[0].id, 32772);
        EXPECT_EQ(owner.commands[1].id, res::IDC_MAIN_SHUT_DOWN);
        for (const Command& command : owner.commands) EXPECT_EQ(command.code, 0);
        EXPECT_EQ(shown, 1);
        menu.GetNative().menu.hide();
    }
    // The owner has gone: a late choice reaches nobody, and nothing breaks.
    Item(menu, "Show Console")->trigger();
    EXPECT_FALSE(menu.IsOpen());
}

TEST(Screen, TheWorkAreaHoldsThePointAndFallsBackToThePrimaryMonitor) {
    screen_checks::ExpectWorkAreaFallsBackToThePrimaryMonitor();
}

}  // namespace
