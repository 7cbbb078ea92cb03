// Buttons on the native BUTTON. A push button showing a picture and a
// button class that paints itself are owner-drawn natively (the control
// asks its parent with WM_DRAWITEM, which hands the drawing back here); the
// program still sees the type it asked for.
#include "platform/window/button_control.h"

#include "platform/window/win32/control_natives.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

bool ButtonControl::Create(std::string_view text, std::uint32_t style, const Rect& rect,
                           Window* parent, int id) {
    if (Native() != nullptr) return false;
    HWND parentHwnd = parent != nullptr ? win32::HwndOf(*parent) : nullptr;
    const bool child = parentHwnd != nullptr;
    const DWORD made = child ? (style | WS_CHILD) & ~WS_POPUP : (style | WS_POPUP) & ~WS_CHILD;
    HWND hwnd = CreateWindowExW(0, L"BUTTON", win32::Widen(text).c_str(), made & ~WS_VISIBLE,
                                rect.left, rect.top, rect.Width(), rect.Height(), parentHwnd,
                                child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return false;
    NativeWindow* native = NativeWindow::Subclass(*this, hwnd);
    if (native == nullptr) {
        ::DestroyWindow(hwnd);
        return false;
    }
    m_style = style;
    // In its parent's font, as a dialog's controls are in the dialog's.
    if (parent != nullptr && parent->Native() != nullptr) {
        SendMessageW(hwnd, WM_SETFONT, SendMessageW(parentHwnd, WM_GETFONT, 0, 0), FALSE);
        native->RecordFont(parent->GetFont());
    }
    win32::OnControlAttached(*native);
    if ((style & WS_VISIBLE) != 0) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return true;
}

void ButtonControl::SetStyle(std::uint32_t style) {
    m_style = style;
    if (NativeWindow* native = Native()) win32::OnControlAttached(*native);
}

int ButtonControl::GetCheck() const {
    HWND hwnd = win32::HwndOf(*this);
    if (hwnd == nullptr) return BST_UNCHECKED;
    return SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
}

void ButtonControl::SetCheck(int check) {
    if (HWND hwnd = win32::HwndOf(*this))
        SendMessageW(hwnd, BM_SETCHECK, check == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED, 0);
}

unsigned ButtonControl::GetState() const {
    HWND hwnd = win32::HwndOf(*this);
    if (hwnd == nullptr) return 0;
    const auto state = static_cast<unsigned>(SendMessageW(hwnd, BM_GETSTATE, 0, 0));
    return state & (BST_CHECKED | BST_PUSHED | BST_FOCUS);
}

void NativeWindow::PushStarted() {
    if (auto* button = dynamic_cast<ButtonControl*>(m_owner)) button->OnPushStarted();
}

void NativeWindow::PushEnded() {
    if (auto* button = dynamic_cast<ButtonControl*>(m_owner)) button->OnPushEnded();
}

}  // namespace platform::window
