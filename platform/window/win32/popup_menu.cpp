#include "platform/window/popup_menu.h"

#include "platform/window/messages.h"
#include "platform/window/win32/message_only_window.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/popup_menu_native.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

constexpr wchar_t MESSENGER_CLASS[] = L"R40.PopupMenu";
// Posted to the messenger by Track: open the menu now.
constexpr UINT WM_TRACK_MENU = WM_USER + 1;

LRESULT CALLBACK MessengerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TRACK_MENU) {
        auto* native = reinterpret_cast<PopupMenu::Native*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (native != nullptr) native->RunTracking();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

PopupMenu::Native::Native() : menu(CreatePopupMenu()) {
    messenger = win32::CreateMessageOnlyWindow(MESSENGER_CLASS, MessengerProcedure, this);
}

PopupMenu::Native::~Native() {
    *alive = false;
    if (messenger != nullptr) SetWindowLongPtrW(messenger, GWLP_USERDATA, 0);
    if (open) {
        EndMenu();  // the tracking returns and ends the menu and the messenger
        return;
    }
    if (messenger != nullptr) DestroyWindow(messenger);
    if (menu != nullptr) DestroyMenu(menu);
}

void PopupMenu::Native::RunTracking() {
    HWND ownerHwnd =
        win32::LookupWindow(owner) != nullptr ? win32::LookupWindow(owner)->Hwnd() : nullptr;
    if (ownerHwnd == nullptr || menu == nullptr) {
        open = false;
        return;
    }
    // A menu opened for a window that is not in front would not close when
    // the operator clicks elsewhere.
    SetForegroundWindow(ownerHwnd);
    const std::shared_ptr<bool> stillAlive = alive;
    const WindowHandle chosenFor = owner;
    HMENU tracked = menu;
    HWND trackedBy = messenger;
    const int chosen = TrackPopupMenuEx(tracked, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                        at.x, at.y, ownerHwnd, nullptr);
    PostMessageW(ownerHwnd, WM_NULL, 0, 0);
    if (*stillAlive) {
        open = false;
    } else {
        DestroyMenu(tracked);
        DestroyWindow(trackedBy);
    }
    // Through the handle: an owner that went while the menu was open gets
    // nothing.
    if (chosen != 0)
        SendMessage(chosenFor, WM_COMMAND, MakeWParam(static_cast<unsigned>(chosen), 0), 0);
}

PopupMenu::PopupMenu() : m_native(std::make_unique<Native>()) {}

PopupMenu::~PopupMenu() = default;

void PopupMenu::AppendItem(int id, std::string_view text) {
    AppendMenuW(m_native->menu, MF_STRING, static_cast<UINT_PTR>(id), win32::Widen(text).c_str());
}

void PopupMenu::AppendSeparator() {
    AppendMenuW(m_native->menu, MF_SEPARATOR, 0, nullptr);
}

void PopupMenu::CheckItem(int id, bool checked) {
    CheckMenuItem(m_native->menu, static_cast<UINT>(id),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool PopupMenu::IsItemChecked(int id) const {
    const UINT state = GetMenuState(m_native->menu, static_cast<UINT>(id), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void PopupMenu::Track(Point at, WindowHandle owner) {
    if (m_native->open || m_native->messenger == nullptr) return;
    m_native->owner = owner;
    m_native->at = POINT{at.x, at.y};
    m_native->open = PostMessageW(m_native->messenger, WM_TRACK_MENU, 0, 0) != FALSE;
}

bool PopupMenu::IsOpen() const {
    return m_native->open;
}

}  // namespace platform::window
