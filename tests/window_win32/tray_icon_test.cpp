// The Win32 tray icon: the shell's callbacks for the icon reach the owner
// window as the layer's posted message (and the double-click callback), the
// icon shows its small picture, balloons go to the shell, and Delete takes
// everything away.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/window/application.h"
#include "platform/window/tray_icon.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/tray_icon_native.h"
#include "tests/window/window_recorder.h"

namespace {

using namespace platform::window;

constexpr unsigned WM_TRAY = WM_APP + 5;

using Win32TrayIcon = testing::Test;  // the program has started the window system

Icon SmallRedIcon() {
    Gdiplus::Bitmap bitmap(16, 16, PixelFormat32bppARGB);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(255, 200, 0, 0));
    return Icon({win32::ImageFromBitmap(bitmap)});
}

TEST_F(Win32TrayIcon, TheShellsCallbacksReachTheOwnerAndDeleteEndsTheIcon) {
    window_checks::Recorder owner;
    ASSERT_TRUE(owner.Create(0, Rect{0, 0, 10, 10}));
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> posted;
    owner.Native()->SetMessageHandler([&](Message& m) -> std::intptr_t {
        if (m.id == WM_TRAY) posted.push_back({m.wParam, m.lParam});
        return 0;
    });

    TrayIcon tray;
    int doubleClicks = 0;
    tray.SetDoubleClickCallback([&] { ++doubleClicks; });
    ASSERT_TRUE(tray.Add(owner.Native()->Handle(), WM_TRAY, SmallRedIcon(), "R40 Console", 7));
    EXPECT_TRUE(tray.IsAdded());
    const HWND receiver = tray.GetNative().receiver;
    EXPECT_NE(tray.GetNative().icon, nullptr) << "the small picture became the icon";
    EXPECT_EQ(std::wstring(tray.GetNative().data.szTip), L"R40 Console");

    // What the shell sends when the operator acts on the icon.
    for (unsigned mouse : {WM_MOUSEMOVE, WM_LBUTTONDBLCLK, WM_RBUTTONUP})
        SendMessageW(receiver, TrayIcon::Native::WM_TRAY_CALLBACK, 7, mouse);
    const ULONGLONG until = GetTickCount64() + 2000;
    while (posted.size() < 2 && GetTickCount64() < until) PumpMessages(10);
    const std::vector<std::pair<std::uintptr_t, std::intptr_t>> expected = {{7, WM_LBUTTONDBLCLK},
                                                                            {7, WM_RBUTTONUP}};
    EXPECT_EQ(posted, expected) << "moves are not reported";
    EXPECT_EQ(doubleClicks, 1);

    EXPECT_TRUE(tray.ShowBalloon("Lock lost", "R40 at 192.168.10.40", 2));
    EXPECT_EQ(tray.BalloonsShown(), 1);
    EXPECT_EQ(tray.LastBalloonText(), "R40 at 192.168.10.40");

    tray.Delete();
    EXPECT_FALSE(tray.IsAdded());
    EXPECT_FALSE(IsWindow(receiver));
    EXPECT_FALSE(tray.ShowBalloon("after", "nothing", 1)) << "no icon, no balloon";
}

}  // namespace
