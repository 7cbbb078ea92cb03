// The notification-area icon: the operator's double click reaches the owner
// window as the callback message with WM_LBUTTONDBLCLK in lParam.
#include <gtest/gtest.h>

#include "platform/window/images.h"
#include "platform/window/qt/tray_icon_native.h"
#include "platform/window/tray_icon.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

constexpr unsigned WM_TRAY_NOTIFY = WM_APP + 3;

TEST(TrayIcon, DoubleClickPostsTheCallbackMessage) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    std::vector<std::intptr_t> mouse;
    main.MapMessage(WM_TRAY_NOTIFY, [&](Message& m) -> std::intptr_t {
        mouse.push_back(m.lParam & 0xFFFF);
        EXPECT_EQ(m.wParam, 0u);
        return 0;
    });
    TrayIcon tray;
    int doubleClicks = 0;
    tray.SetDoubleClickCallback([&] { ++doubleClicks; });
    ASSERT_TRUE(tray.Add(main.Handle(), WM_TRAY_NOTIFY, LoadIcon(res::IDI_TRAY),
                         "R40 Orvel Management Console"));
    EXPECT_TRUE(tray.IsAdded());
    EXPECT_EQ(tray.GetNative().icon->toolTip(), "R40 Orvel Management Console");

    emit tray.GetNative().icon->activated(QSystemTrayIcon::DoubleClick);
    emit tray.GetNative().icon->activated(QSystemTrayIcon::Trigger);
    ASSERT_TRUE(WaitUntil([&] { return mouse.size() == 2; }));
    EXPECT_EQ(mouse[0], static_cast<std::intptr_t>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(mouse[1], static_cast<std::intptr_t>(WM_LBUTTONUP));
    EXPECT_EQ(doubleClicks, 1);

    tray.Delete();
    EXPECT_FALSE(tray.IsAdded());
}

TEST(TrayIcon, AClickAfterTheWindowWentReachesNobody) {
    TrayIcon tray;
    {
        RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
        ASSERT_TRUE(main.Create());
        tray.Add(main.Handle(), WM_TRAY_NOTIFY, Icon(), "tip");
    }
    // A window made after the owner went must not get the dead owner's
    // callback, even if it were given the same handle.
    RecordingDialog later(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(later.Create());
    int notifications = 0;
    later.MapMessage(WM_TRAY_NOTIFY, [&](Message&) -> std::intptr_t {
        ++notifications;
        return 0;
    });
    emit tray.GetNative().icon->activated(QSystemTrayIcon::DoubleClick);
    Pump(50);
    EXPECT_EQ(notifications, 0);

    // The same click does arrive once the icon belongs to the new window.
    tray.Delete();
    ASSERT_TRUE(tray.Add(later.Handle(), WM_TRAY_NOTIFY, Icon(), "tip"));
    emit tray.GetNative().icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(WaitUntil([&] { return notifications == 1; }));
}

}  // namespace
