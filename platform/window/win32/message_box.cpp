#include "platform/window/message_box.h"

#include "platform/window/win32/application_state.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

// The handle of the window the operator works in, null when none of ours.
WindowHandle ActiveWindowHandle() {
    NativeWindow* native = NativeWindow::FromHwnd(GetAncestor(GetActiveWindow(), GA_ROOT));
    return native != nullptr ? native->Handle() : WindowHandle();
}

}  // namespace

std::string ApplicationName() {
    const std::string& name = win32::TheApplicationState().name;
    if (!name.empty()) return name;
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring base = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (const std::size_t dot = base.rfind(L'.'); dot != std::wstring::npos) base.resize(dot);
    return win32::Narrow(base);
}

int AfxMessageBox(std::string_view text, unsigned type) {
    // Owned by the active window, as the framework does, so the box stays on top.
    return MessageBox(ActiveWindowHandle(), text, ApplicationName(), type);
}

}  // namespace platform::window
