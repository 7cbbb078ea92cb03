// The Win32 shortcut menu: Track returns at once, the menu opens from the
// message loop, the operator's choice reaches the owner as WM_COMMAND, and
// nothing reaches an owner that has gone; check marks follow the ids.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/window/application.h"
#include "platform/window/messages.h"
#include "platform/window/popup_menu.h"
#include "platform/window/win32/native_window.h"
#include "tests/window/window_recorder.h"
#include "tests/window_win32/pump_until.h"

namespace {

using namespace platform::window;

using Win32PopupMenu = testing::Test;  // the program has started the window system

using win32_test::PumpUntil;

TEST_F(Win32PopupMenu, TheChoiceIsACommandOfTheOwnerWhileItLives) {
    PopupMenu menu;
    menu.AppendItem(32771, "Show Console");
    menu.AppendItem(32772, "Signal History \u2192");
    menu.AppendSeparator();
    menu.AppendItem(1004, "Shut Down");
    menu.CheckItem(32772, true);
    EXPECT_TRUE(menu.IsItemChecked(32772));
    EXPECT_FALSE(menu.IsItemChecked(32771));
    EXPECT_FALSE(menu.IsItemChecked(4711)) << "no such item";

    window_checks::Recorder owner;
    ASSERT_TRUE(owner.Create(WS_VISIBLE, Rect{0, 0, 100, 100}));
    std::vector<std::uintptr_t> commands;
    owner.Native()->SetMessageHandler([&](Message& m) -> std::intptr_t {
        if (m.id == WM_COMMAND) commands.push_back(m.wParam);
        return 0;
    });

    // The operator presses Down twice and Enter: the second item.
    std::thread operating([] {
        for (int i = 0; i < 500; ++i) {
            if (HWND shown = FindWindowW(L"#32768", nullptr)) {
                for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
                    PostMessageW(shown, WM_KEYDOWN, key, 0);
                    Sleep(20);
                }
                return;
            }
            Sleep(10);
        }
    });
    menu.Track(Point{20, 20}, owner.Native()->Handle());
    EXPECT_TRUE(menu.IsOpen()) << "Track returns at once, the menu open";
    EXPECT_TRUE(PumpUntil([&] { return !menu.IsOpen(); }));
    operating.join();
    EXPECT_EQ(commands, (std::vector<std::uintptr_t>{MakeWParam(32772, 0)}));

    // The owner goes before the menu opens: nothing reaches anyone.
    const WindowHandle gone = owner.Native()->Handle();
    ::DestroyWindow(win32::HwndOf(owner));
    menu.Track(Point{20, 20}, gone);
    EXPECT_TRUE(PumpUntil([&] { return !menu.IsOpen(); }));
    EXPECT_EQ(commands.size(), 1u);
}

}  // namespace
