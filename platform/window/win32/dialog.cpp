// Dialog on the Win32 dialog manager (see dialog_host.h).
#include "platform/window/dialog.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/window/win32/control_natives.h"
#include "platform/window/win32/dialog_host.h"
#include "platform/window/win32/native_window.h"

namespace platform::window {

Dialog::Dialog(const DialogTemplate* dialogTemplate, Window* parent) : m_template(dialogTemplate) {
    DialogHost::SetConstructionParent(*this, parent);
}

Dialog::~Dialog() {
    // The members the bindings point at belong to a derived class that is
    // already gone; they are not touched again.
    m_unbinders.clear();
    DestroyWindow();
    DialogHost::Forget(*this);
}

// ---- Creation and end ------------------------------------------------------

namespace {

HWND OwnerHwnd(Window* parent) {
    return parent != nullptr ? win32::HwndOf(*parent) : nullptr;
}

// The dialogs in a modal run, innermost last.
std::vector<Dialog*>& ModalRuns() {
    static std::vector<Dialog*> runs;
    return runs;
}

// The program's other windows take no input while a modal run lasts, as a
// modal window blocks the whole program: an operator cannot start a second
// configuration from a panel while the first is open.
class OtherWindowsDisabled {
  public:
    explicit OtherWindowsDisabled(HWND running) : m_running(running) {
        EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::Disable,
                          reinterpret_cast<LPARAM>(this));
    }
    ~OtherWindowsDisabled() {
        // Enabled again before the modal window goes, so that one of them
        // is activated in its place.
        for (HWND hwnd : m_disabled)
            if (IsWindow(hwnd)) ::EnableWindow(hwnd, TRUE);
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

  private:
    static BOOL CALLBACK Disable(HWND hwnd, LPARAM self) {
        auto& me = *reinterpret_cast<OtherWindowsDisabled*>(self);
        if (hwnd != me.m_running && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd)) {
            ::EnableWindow(hwnd, FALSE);
            me.m_disabled.push_back(hwnd);
        }
        return TRUE;
    }

    HWND m_running;
    std::vector<HWND> m_disabled;
};

}  // namespace

bool Dialog::CreateWindowFromTemplate(Window* parent) {
    if (m_template == nullptr) return false;
    if (parent == nullptr) parent = DialogHost::ConstructionParent(*this);
    // A modal window without a parent is owned by the innermost modal
    // run, so it stays above the window it blocks.
    if (parent == nullptr && m_modalRunning && !ModalRuns().empty()) parent = ModalRuns().back();
    return DialogHost::CreateFromTemplate(*this, OwnerHwnd(parent));
}

int Dialog::DoModal() {
    if (m_created || m_modalRunning) return -1;
    m_result = -1;
    // Running from here on, so that EndDialog in OnInitDialog ends the run.
    m_modalRunning = true;
    if (!CreateWindowFromTemplate(nullptr)) {
        m_modalRunning = false;
        return -1;
    }
    HWND hwnd = DialogHost::HwndOf(*this);
    ModalRuns().push_back(this);
    auto disabled = std::make_unique<OtherWindowsDisabled>(hwnd);
    if (m_modalRunning) {
        ::ShowWindow(hwnd, SW_SHOW);
        MSG message;
        while (m_modalRunning) {
            const BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // Quitting: the run ends and the loop above sees the quit too.
                if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (DialogHost::PreTranslate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    m_modalRunning = false;
    disabled.reset();
    ModalRuns().erase(std::find(ModalRuns().begin(), ModalRuns().end(), this));
    const int result = m_result;
    DestroyWindow();
    return result;
}

bool Dialog::Create(Window* parent) {
    if (m_created) return false;
    return CreateWindowFromTemplate(parent);
}

void Dialog::EndDialog(int result) {
    m_result = result;
    HWND hwnd = DialogHost::HwndOf(*this);
    if (m_modalRunning) {
        m_modalRunning = false;
        // Woken, the loop sees the run has ended.
        if (hwnd != nullptr) PostMessageW(hwnd, WM_NULL, 0, 0);
    }
    if (hwnd != nullptr) ::ShowWindow(hwnd, SW_HIDE);
}

void Dialog::DestroyWindow() {
    if (!m_created) {
        // A window whose start failed may still exist.
        if (HWND hwnd = DialogHost::HwndOf(*this)) ::DestroyWindow(hwnd);
        return;
    }
    DialogHost::Destroy(*this, false);
}

void Dialog::AttachControl(Window& old, std::unique_ptr<Window> fresh) {
    NativeWindow* native = old.Native();
    if (native == nullptr) return;
    Window* object = fresh.get();
    native->Own(std::move(fresh));
    win32::OnControlAttached(*native);
    object->PreSubclassWindow();
    DialogHost::RefreshColors(*this, native->Hwnd());
}

// ---- Controls ---------------------------------------------------------------

Window* Dialog::GetDlgItem(int id) const {
    HWND hwnd = DialogHost::HwndOf(*this);
    return hwnd != nullptr ? win32::WindowOfHwnd(::GetDlgItem(hwnd, id)) : nullptr;
}

// ---- Timers -----------------------------------------------------------------

bool Dialog::SetTimer(int id, int milliseconds) {
    HWND hwnd = DialogHost::HwndOf(*this);
    if (!m_created || hwnd == nullptr) return false;
    // SetTimer with the same id replaces the running timer.
    const UINT_PTR nativeId = static_cast<UINT_PTR>(static_cast<unsigned>(id));
    if (::SetTimer(hwnd, nativeId, static_cast<UINT>(milliseconds < 0 ? 0 : milliseconds),
                   nullptr) == 0)
        return false;
    m_timers[id] = id;
    return true;
}

bool Dialog::KillTimer(int id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return false;
    if (HWND hwnd = DialogHost::HwndOf(*this))
        ::KillTimer(hwnd, static_cast<UINT_PTR>(static_cast<unsigned>(found->second)));
    m_timers.erase(found);
    return true;
}

// ---- Commands -------------------------------------------------------------

int Dialog::DefaultCommandId() const {
    HWND hwnd = DialogHost::HwndOf(*this);
    if (hwnd == nullptr) return IDOK;
    const LRESULT answer = SendMessageW(hwnd, DM_GETDEFID, 0, 0);
    return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
}

// ---- The window -------------------------------------------------------------

void Dialog::PlaceBehind(Window* other) {
    HWND hwnd = DialogHost::HwndOf(*this);
    HWND otherHwnd = other != nullptr ? win32::HwndOf(*other) : nullptr;
    if (hwnd == nullptr || otherHwnd == nullptr || otherHwnd == hwnd) return;
    if (m_modalRunning) {
        // A modal window is never beneath the windows it blocks.
        ::BringWindowToTop(hwnd);
        return;
    }
    SetWindowPos(hwnd, otherHwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Dialog::SetTopMost(bool topMost) {
    if (HWND hwnd = DialogHost::HwndOf(*this))
        SetWindowPos(hwnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Colours ----------------------------------------------------------------

void Dialog::SetBackgroundColor(ColorRef color) {
    DialogHost::SetBackground(*this, color);
}

void Dialog::RefreshControlColors(Window* control) {
    if (control == nullptr) {
        DialogHost::RefreshColors(*this, nullptr);
        return;
    }
    if (HWND hwnd = win32::HwndOf(*control)) DialogHost::RefreshColors(*this, hwnd);
}

}  // namespace platform::window
