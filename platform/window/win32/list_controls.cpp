// List boxes and drop-down list combo boxes on the native LISTBOX and
// COMBOBOX: items, data and selection live in the control.
#include "platform/window/combo_box_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

LRESULT Send(const Window& control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
             LRESULT without = -1) {
    HWND hwnd = win32::HwndOf(control);
    return hwnd != nullptr ? SendMessageW(hwnd, message, wParam, lParam) : without;
}

LPARAM TextParameter(const std::wstring& text) {
    return reinterpret_cast<LPARAM>(text.c_str());
}

// The text of item `index` by the control's length and text messages.
std::string ItemText(const Window& control, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = Send(control, lengthMessage, static_cast<WPARAM>(index));
    if (length < 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = Send(control, textMessage, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(text.data()));
    if (got < 0) return std::string();
    text.resize(static_cast<std::size_t>(got));
    return win32::Narrow(text);
}

// Item positions beyond an int are no position.
int ToIndex(LRESULT result) {
    return result < 0 || result > INT_MAX ? -1 : static_cast<int>(result);
}

}  // namespace

// ---- List box ---------------------------------------------------------------

void ListBoxControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
}

int ListBoxControl::AddString(std::string_view text) {
    const std::wstring wide = win32::Widen(text);
    return static_cast<int>(Send(*this, LB_ADDSTRING, 0, TextParameter(wide), LB_ERR));
}

int ListBoxControl::InsertString(int index, std::string_view text) {
    const std::wstring wide = win32::Widen(text);
    if (index < 0 || index > GetCount()) index = -1;
    return static_cast<int>(
        Send(*this, LB_INSERTSTRING, static_cast<WPARAM>(index), TextParameter(wide), LB_ERR));
}

int ListBoxControl::DeleteString(int index) {
    if (index < 0) return LB_ERR;
    return static_cast<int>(Send(*this, LB_DELETESTRING, static_cast<WPARAM>(index), 0, LB_ERR));
}

void ListBoxControl::ResetContent() {
    Send(*this, LB_RESETCONTENT);
}

int ListBoxControl::GetCount() const {
    return std::max(0, ToIndex(Send(*this, LB_GETCOUNT, 0, 0, 0)));
}

std::string ListBoxControl::GetText(int index) const {
    if (index < 0 || index >= GetCount()) return std::string();
    return ItemText(*this, LB_GETTEXTLEN, LB_GETTEXT, index);
}

int ListBoxControl::SetItemData(int index, std::intptr_t data) {
    if (index < 0 || index >= GetCount()) return LB_ERR;
    return Send(*this, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)) ==
                   LB_ERR
               ? LB_ERR
               : 0;
}

std::intptr_t ListBoxControl::GetItemData(int index) const {
    if (index < 0 || index >= GetCount()) return LB_ERR;
    return static_cast<std::intptr_t>(Send(*this, LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int ListBoxControl::GetCurSel() const {
    const int selected = ToIndex(Send(*this, LB_GETCURSEL));
    return selected < 0 ? LB_ERR : selected;
}

int ListBoxControl::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) return LB_ERR;
    // A list without selection (LBS_NOSEL) never selects.
    if ((m_style & LBS_NOSEL) != 0 && index >= 0) return LB_ERR;
    const LRESULT result = Send(*this, LB_SETCURSEL, static_cast<WPARAM>(index));
    return index < 0 ? LB_ERR : static_cast<int>(result);
}

Rect ListBoxControl::GetItemRect(int index) const {
    RECT r{};
    if (index < 0 || index >= GetCount() ||
        Send(*this, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) ==
            LB_ERR)
        return Rect{};
    return Rect{r.left, r.top, r.right, r.bottom};
}

// ---- Combo box --------------------------------------------------------------

int ComboBoxControl::AddString(std::string_view text) {
    const std::wstring wide = win32::Widen(text);
    return static_cast<int>(Send(*this, CB_ADDSTRING, 0, TextParameter(wide), CB_ERR));
}

int ComboBoxControl::InsertString(int index, std::string_view text) {
    const std::wstring wide = win32::Widen(text);
    if (index < 0 || index > GetCount()) index = -1;
    return static_cast<int>(
        Send(*this, CB_INSERTSTRING, static_cast<WPARAM>(index), TextParameter(wide), CB_ERR));
}

int ComboBoxControl::DeleteString(int index) {
    if (index < 0) return CB_ERR;
    return static_cast<int>(Send(*this, CB_DELETESTRING, static_cast<WPARAM>(index), 0, CB_ERR));
}

void ComboBoxControl::ResetContent() {
    Send(*this, CB_RESETCONTENT);
}

int ComboBoxControl::GetCount() const {
    return std::max(0, ToIndex(Send(*this, CB_GETCOUNT, 0, 0, 0)));
}

std::string ComboBoxControl::GetLBText(int index) const {
    if (index < 0 || index >= GetCount()) return std::string();
    return ItemText(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int ComboBoxControl::SetItemData(int index, std::intptr_t data) {
    if (index < 0 || index >= GetCount()) return CB_ERR;
    return Send(*this, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)) ==
                   CB_ERR
               ? CB_ERR
               : 0;
}

std::intptr_t ComboBoxControl::GetItemData(int index) const {
    if (index < 0 || index >= GetCount()) return CB_ERR;
    return static_cast<std::intptr_t>(Send(*this, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int ComboBoxControl::GetCurSel() const {
    const int selected = ToIndex(Send(*this, CB_GETCURSEL));
    return selected < 0 ? CB_ERR : selected;
}

int ComboBoxControl::SetCurSel(int index) {
    if (index < -1 || index >= GetCount()) return CB_ERR;
    const LRESULT result = Send(*this, CB_SETCURSEL, static_cast<WPARAM>(index));
    return index < 0 ? CB_ERR : static_cast<int>(result);
}

void ComboBoxControl::ShowDropDown(bool show) {
    Send(*this, CB_SHOWDROPDOWN, show ? TRUE : FALSE);
}

bool ComboBoxControl::GetDroppedState() const {
    return Send(*this, CB_GETDROPPEDSTATE, 0, 0, 0) != 0;
}

int ComboBoxControl::SetDroppedWidth(int width) {
    return static_cast<int>(
        Send(*this, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max(0, width)), 0, CB_ERR));
}

int ComboBoxControl::GetDroppedWidth() const {
    return static_cast<int>(Send(*this, CB_GETDROPPEDWIDTH, 0, 0, CB_ERR));
}

void ComboBoxControl::SetExtendedUI(bool extended) {
    Send(*this, CB_SETEXTENDEDUI, extended ? TRUE : FALSE);
}

bool ComboBoxControl::GetExtendedUI() const {
    return Send(*this, CB_GETEXTENDEDUI, 0, 0, 0) != 0;
}

}  // namespace platform::window
