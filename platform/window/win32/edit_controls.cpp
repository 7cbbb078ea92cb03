// Edits and the IP address control on the native EDIT and comctl32's
// SysIPAddress32: the text and the four numbers live in the control.
#include <algorithm>
#include <vector>

#include "platform/window/edit_control.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

#include <commctrl.h>

namespace platform::window {

// ---- Edit -------------------------------------------------------------------

void EditControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
}

std::string EditControl::GetText() const {
    return GetWindowText();
}

void EditControl::SetText(std::string_view text) {
    SetWindowText(text);
}

void EditControl::SetSel(int start, int end) {
    HWND hwnd = win32::HwndOf(*this);
    if (hwnd == nullptr) return;
    // EM_SETSEL takes -1 as "no selection" for the start and "the end"
    // for the end, as this does.
    SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void EditControl::LimitText(int characters) {
    if (HWND hwnd = win32::HwndOf(*this))
        SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(characters > 0 ? characters : 0),
                     0);
}

// ---- IP address -------------------------------------------------------------

namespace {

// The control's four field edits, left to right.
std::vector<HWND> FieldsOf(HWND control) {
    std::vector<HWND> fields;
    for (HWND child = GetWindow(control, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        fields.push_back(child);
    std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return fields;
}

}  // namespace

void IpAddressControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
}

void IpAddressControl::SetAddress(std::uint32_t address) {
    if (HWND hwnd = win32::HwndOf(*this))
        SendMessageW(hwnd, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

void IpAddressControl::SetAddress(int b1, int b2, int b3, int b4) {
    SetAddress(MakeIpAddress(b1, b2, b3, b4));
}

int IpAddressControl::GetAddress(std::uint32_t& address) const {
    address = 0;
    HWND hwnd = win32::HwndOf(*this);
    if (hwnd == nullptr) return 0;
    DWORD value = 0;
    const LRESULT filled = SendMessageW(hwnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&value));
    address = value;
    return static_cast<int>(std::clamp<LRESULT>(filled, 0, 4));
}

void IpAddressControl::ClearAddress() {
    if (HWND hwnd = win32::HwndOf(*this)) SendMessageW(hwnd, IPM_CLEARADDRESS, 0, 0);
}

bool IpAddressControl::IsBlank() const {
    HWND hwnd = win32::HwndOf(*this);
    return hwnd == nullptr || SendMessageW(hwnd, IPM_ISBLANK, 0, 0) != 0;
}

void IpAddressControl::SetFieldFocus(int field) {
    if (field < 0 || field > 3) field = 0;
    if (HWND hwnd = win32::HwndOf(*this))
        SendMessageW(hwnd, IPM_SETFOCUS, static_cast<WPARAM>(field), 0);
}

std::string IpAddressControl::Text() const {
    HWND hwnd = win32::HwndOf(*this);
    if (hwnd == nullptr) return std::string();
    std::string text;
    int index = 0;
    for (HWND field : FieldsOf(hwnd)) {
        if (index++ > 0) text += '.';
        wchar_t digits[8] = {};
        GetWindowTextW(field, digits, 8);
        std::wstring trimmed(digits);
        trimmed.erase(std::remove(trimmed.begin(), trimmed.end(), L' '), trimmed.end());
        text += win32::Narrow(trimmed);
    }
    return text;
}

}  // namespace platform::window
