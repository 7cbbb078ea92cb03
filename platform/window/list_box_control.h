// A list box with Win32's interface: strings with data, insertion in sorted
// order (LBS_SORT, compared without regard to case), the current selection,
// no selection at all (LBS_NOSEL), and owner-drawn fixed-height items
// (LBS_OWNERDRAWFIXED) drawn by the dialog's OnDrawItem. With LBS_NOTIFY the
// dialog gets LBN_SELCHANGE when the operator changes the selection and
// LBN_DBLCLK on a double click; changes made by code notify nothing.
//
// The items live in the native control, as in Win32: without a window the
// list is empty and every call fails with LB_ERR (or does nothing).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/geometry.h"
#include "platform/window/window.h"

namespace platform::window {

inline constexpr int LB_ERR = -1;

class ListBoxControl : public Window {
  public:
    void SetStyle(std::uint32_t style, std::uint32_t exStyle = 0);
    std::uint32_t Style() const { return m_style; }
    std::uint32_t ExStyle() const { return m_exStyle; }

    // Texts are UTF-8.
    int AddString(std::string_view text);  // the new item's index
    // Inserts at `index`; -1 (or past the end) appends. Never sorts.
    int InsertString(int index, std::string_view text);
    int DeleteString(int index);  // items left, or LB_ERR
    void ResetContent();
    int GetCount() const;
    std::string GetText(int index) const;  // empty for a bad index

    int SetItemData(int index, std::intptr_t data);  // LB_ERR for a bad index
    std::intptr_t GetItemData(int index) const;      // LB_ERR for a bad index

    int GetCurSel() const;     // LB_ERR when nothing is selected
    int SetCurSel(int index);  // -1 clears; LB_ERR for a bad index

    // The rectangle of item `index` in the list's client area; empty for a
    // bad index.
    Rect GetItemRect(int index) const;

  private:
    std::uint32_t m_style = 0;
    std::uint32_t m_exStyle = 0;
};

}  // namespace platform::window
