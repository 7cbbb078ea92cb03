#include "platform/window/tray_icon.h"

#include <algorithm>
#include <string>

#include "platform/window/messages.h"
#include "platform/window/win32/message_only_window.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"
#include "platform/window/win32/tray_icon_native.h"

namespace platform::window {

namespace {

constexpr wchar_t RECEIVER_CLASS[] = L"R40.TrayIcon";

LRESULT CALLBACK ReceiverProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TrayIcon::Native::WM_TRAY_CALLBACK) {
        auto* tray = reinterpret_cast<TrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        const unsigned mouse = LOWORD(lParam);
        const bool reported = mouse == WM_LBUTTONDBLCLK || mouse == WM_LBUTTONUP ||
                              mouse == WM_RBUTTONUP || mouse == WM_MBUTTONUP;
        if (tray != nullptr && reported) tray->Activated(mouse);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Copies UTF-8 text into one of the structure's fixed fields, cut to fit.
template <std::size_t N>
void CopyInto(wchar_t (&field)[N], std::string_view text) {
    const std::wstring wide = win32::Widen(text);
    const std::size_t length = std::min(wide.size(), N - 1);
    wide.copy(field, length);
    field[length] = L'\0';
}

// The icon's small picture as an HICON; null when it has none.
HICON SmallIconOf(const Icon& icon) {
    const Image image =
        icon.ImageNear(Size{GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)});
    if (image.IsNull() || !win32::StartGdiplus()) return nullptr;
    HICON handle = nullptr;
    image.Get()->bitmap->GetHICON(&handle);
    return handle;
}

}  // namespace

TrayIcon::TrayIcon() : m_native(std::make_unique<Native>()) {}

TrayIcon::~TrayIcon() {
    Delete();
}

bool TrayIcon::Add(WindowHandle owner, unsigned callbackMessage, const Icon& icon,
                   std::string_view tip, unsigned iconId) {
    Delete();
    m_owner = owner;
    m_message = callbackMessage;
    m_iconId = iconId;
    m_tip = std::string(tip);
    m_balloonsShown = 0;
    m_lastBalloonText.clear();
    Native& native = *m_native;
    native.receiver = win32::CreateMessageOnlyWindow(RECEIVER_CLASS, ReceiverProcedure, this);
    if (native.receiver == nullptr) return false;
    native.icon = SmallIconOf(icon);
    native.data = NOTIFYICONDATAW{};
    native.data.cbSize = sizeof native.data;
    native.data.hWnd = native.receiver;
    native.data.uID = iconId;
    native.data.uFlags = NIF_MESSAGE | NIF_TIP | (native.icon != nullptr ? NIF_ICON : 0);
    native.data.uCallbackMessage = Native::WM_TRAY_CALLBACK;
    native.data.hIcon = native.icon;
    CopyInto(native.data.szTip, tip);
    // A desktop without a notification area refuses the icon: it is simply
    // not seen there, and everything else works as before.
    Shell_NotifyIconW(NIM_ADD, &native.data);
    native.added = true;
    return true;
}

bool TrayIcon::IsAdded() const {
    return m_native->added;
}

void TrayIcon::Delete() {
    Native& native = *m_native;
    if (!native.added) return;
    Shell_NotifyIconW(NIM_DELETE, &native.data);
    DestroyWindow(native.receiver);
    if (native.icon != nullptr) DestroyIcon(native.icon);
    native.receiver = nullptr;
    native.icon = nullptr;
    native.added = false;
}

bool TrayIcon::ShowBalloon(std::string_view title, std::string_view text, int icon, int timeoutMs,
                           ColorRef) {
    Native& native = *m_native;
    if (!native.added) return false;
    ++m_balloonsShown;
    m_lastBalloonText = std::string(text);
    // The shell draws the balloon in its own colours. The layer's TTI_INFO,
    // TTI_WARNING and TTI_ERROR are NIIF_INFO, NIIF_WARNING and NIIF_ERROR.
    NOTIFYICONDATAW balloon = native.data;
    balloon.uFlags = NIF_INFO;
    CopyInto(balloon.szInfoTitle, title);
    CopyInto(balloon.szInfo, text);
    balloon.dwInfoFlags = static_cast<DWORD>(icon) & NIIF_ICON_MASK;
    balloon.uTimeout = static_cast<UINT>(std::max(0, timeoutMs));
    Shell_NotifyIconW(NIM_MODIFY, &balloon);
    return true;
}

}  // namespace platform::window
