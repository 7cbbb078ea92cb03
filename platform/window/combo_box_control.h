// A drop-down list combo box with Win32's interface: items with data, the
// current selection, the drop-down list's width, the extended user
// interface (the down arrow drops the list) and showing the list from code.
// Notifications to the dialog: CBN_DROPDOWN before the list appears,
// CBN_CLOSEUP after it has gone, and, when the operator picks an item,
// CBN_SELCHANGE and CBN_SELENDOK. Changes made by code notify nothing.
//
// The items, the dropped width and the extended interface live in the
// native control, as in Win32: without a window the box is empty and every
// call fails with CB_ERR (or does nothing). Its font is Window::GetFont.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/window.h"

namespace platform::window {

inline constexpr int CB_ERR = -1;

class ComboBoxControl : public Window {
  public:
    void SetStyle(std::uint32_t style) { m_style = style; }
    std::uint32_t Style() const { return m_style; }

    // Texts are UTF-8. Returns the new item's index (sorted position, compared
    // without regard to case, with CBS_SORT).
    int AddString(std::string_view text);
    // Inserts at `index`; -1 (or past the end) appends. Never sorts.
    int InsertString(int index, std::string_view text);
    // Returns the number of items left, or CB_ERR.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    std::string GetLBText(int index) const;  // empty for a bad index

    int SetItemData(int index, std::intptr_t data);  // CB_ERR for a bad index
    std::intptr_t GetItemData(int index) const;      // CB_ERR for a bad index

    int GetCurSel() const;     // CB_ERR when nothing is selected
    int SetCurSel(int index);  // -1 clears; CB_ERR for a bad index

    void ShowDropDown(bool show = true);
    bool GetDroppedState() const;
    // The drop-down list is at least this wide (never narrower than the box).
    int SetDroppedWidth(int width);
    int GetDroppedWidth() const;

    // With the extended user interface the arrow keys drop the list instead
    // of moving the selection, and F4 does nothing.
    void SetExtendedUI(bool extended = true);
    bool GetExtendedUI() const;

  private:
    std::uint32_t m_style = 0;
};

}  // namespace platform::window
