// Message numbers, control notification codes and dialog end codes with
// their Win32 values, so that windows read like the Win32 originals.
#pragma once

#include <cstdint>

namespace platform::window {

// Dialog end codes and the command ids of the OK and Cancel buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The id of a control that has none ("(none)" in the layout tables).
inline constexpr int IDC_STATIC = -1;

// Window messages the console uses by number.
// A command from a control or a menu item: wParam holds the id in its low
// word and the notification code in its high word (0 for a menu item).
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
inline constexpr unsigned WM_MBUTTONDOWN = 0x0207;
inline constexpr unsigned WM_MBUTTONUP = 0x0208;
// First number free for an application's own messages.
inline constexpr unsigned WM_APP = 0x8000;

constexpr unsigned LoWord(std::uintptr_t value) {
    return static_cast<unsigned>(value & 0xFFFF);
}
constexpr unsigned HiWord(std::uintptr_t value) {
    return static_cast<unsigned>((value >> 16) & 0xFFFF);
}
constexpr std::uintptr_t MakeWParam(unsigned low, unsigned high) {
    return (static_cast<std::uintptr_t>(high & 0xFFFF) << 16) | (low & 0xFFFF);
}

// Button notifications.
inline constexpr int BN_CLICKED = 0;
inline constexpr int BN_DOUBLECLICKED = 5;

// Static control notification (only with SS_NOTIFY).
inline constexpr int STN_CLICKED = 0;

// Edit notifications: EN_UPDATE comes before the new text is drawn,
// EN_CHANGE after.
inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int EN_UPDATE = 0x0400;

// Combo box notifications.
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int CBN_DBLCLK = 2;
inline constexpr int CBN_SETFOCUS = 3;
inline constexpr int CBN_KILLFOCUS = 4;
inline constexpr int CBN_DROPDOWN = 7;
inline constexpr int CBN_CLOSEUP = 8;
inline constexpr int CBN_SELENDOK = 9;
inline constexpr int CBN_SELENDCANCEL = 10;

// List box notifications (only with LBS_NOTIFY).
inline constexpr int LBN_SELCHANGE = 1;
inline constexpr int LBN_DBLCLK = 2;

// Owner-draw item states.
inline constexpr unsigned ODS_SELECTED = 0x0001;
inline constexpr unsigned ODS_DISABLED = 0x0004;
inline constexpr unsigned ODS_FOCUS = 0x0010;

// Button check states (BM_GETCHECK, BM_SETCHECK) and the state bits of
// BM_GETSTATE, which include the check state.
inline constexpr int BST_UNCHECKED = 0x0000;
inline constexpr int BST_CHECKED = 0x0001;
inline constexpr unsigned BST_PUSHED = 0x0004;
inline constexpr unsigned BST_FOCUS = 0x0008;

}  // namespace platform::window
