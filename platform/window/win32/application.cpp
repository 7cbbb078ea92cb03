#include "platform/window/win32/win32_api.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/window/application.h"
#include "platform/window/win32/application_state.h"
#include "platform/window/win32/dialog_host.h"
#include "platform/window/win32/painting.h"

namespace platform::window {

struct Application::Native {};

Application::Application(int&, char**) : m_native(std::make_unique<Native>()) {
    // The common controls the dialogs use (the IP address control among
    // them) are registered before any window exists.
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_STANDARD_CLASSES | ICC_INTERNET_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    win32::StartGdiplus();
}

Application::~Application() = default;

void Application::SetName(std::string_view name) {
    win32::TheApplicationState().name = std::string(name);
}

void Application::SetQuitOnLastWindowClosed(bool quit) {
    win32::TheApplicationState().quitOnLastWindowClosed = quit;
}

void PreferOffscreenRendering() {}

void PumpMessages(int maxMilliseconds) {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(std::max(0, maxMilliseconds));
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the message loop that ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        // Dialogs see their input first and keep Tab, Enter and Escape, as
        // in a modal run.
        if (!DialogHost::PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (GetTickCount64() >= until) return;
    }
}

}  // namespace platform::window

namespace platform::window::win32 {

ApplicationState& TheApplicationState() {
    static ApplicationState state;
    return state;
}

}  // namespace platform::window::win32
