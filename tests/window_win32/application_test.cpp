// The application's side of the Win32 backend: a wait loop's PumpMessages
// hands posted messages to their windows and leaves a quit request for the
// loop that ends on it; the screen's work area holds its point and falls
// back to the primary monitor.
#include <gtest/gtest.h>

#include <vector>

#include "platform/window/win32/win32_api.h"

#include "platform/window/application.h"
#include "tests/window/screen_checks.h"

namespace {

using namespace platform::window;

std::vector<UINT>* g_received = nullptr;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP && g_received != nullptr) g_received->push_back(message);
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(Win32Application, PumpMessagesDeliversPostedMessagesAndKeepsAQuit) {
    int argc = 1;
    char name[] = "application_test";
    char* argv[] = {name, nullptr};
    Application application(argc, argv);
    EXPECT_EQ(argc, 1) << "no option of the window system was taken";

    WNDCLASSW type{};
    type.lpfnWndProc = Recorder;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"R40PumpTest";
    ASSERT_NE(RegisterClassW(&type), 0);
    HWND window = CreateWindowExW(0, L"R40PumpTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  type.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    std::vector<UINT> received;
    g_received = &received;

    PostMessageW(window, WM_APP + 1, 0, 0);
    PostMessageW(window, WM_APP + 2, 0, 0);
    EXPECT_TRUE(received.empty()) << "posted, not sent";
    PumpMessages(50);
    EXPECT_EQ(received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));

    PostQuitMessage(3);
    PostMessageW(window, WM_APP + 3, 0, 0);
    PumpMessages(50);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the quit request is still there for the loop that ends on it";
    EXPECT_EQ(message.wParam, 3u);

    g_received = nullptr;
    DestroyWindow(window);
    UnregisterClassW(L"R40PumpTest", type.hInstance);
}

TEST(Win32Screen, TheWorkAreaHoldsThePointAndFallsBackToThePrimaryMonitor) {
    screen_checks::ExpectWorkAreaFallsBackToThePrimaryMonitor();
}

}  // namespace
