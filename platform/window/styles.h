// Window and control style bits with their Win32 values. Dialog templates
// carry them as data; the controls created from a template read them.
#pragma once

#include <cstdint>

namespace platform::window {

// Window styles.
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;

// Extended window styles.
inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr std::uint32_t WS_EX_STATICEDGE = 0x00020000;
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;

// Dialog styles.
inline constexpr std::uint32_t DS_ABSALIGN = 0x0001;
inline constexpr std::uint32_t DS_SYSMODAL = 0x0002;
inline constexpr std::uint32_t DS_3DLOOK = 0x0004;
inline constexpr std::uint32_t DS_FIXEDSYS = 0x0008;
inline constexpr std::uint32_t DS_SETFONT = 0x0040;  // the template names its own font
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080;
inline constexpr std::uint32_t DS_SETFOREGROUND = 0x0200;
inline constexpr std::uint32_t DS_CONTROL = 0x0400;
inline constexpr std::uint32_t DS_CENTER = 0x0800;

// Static controls. The low five bits are the type, not independent flags.
inline constexpr std::uint32_t SS_LEFT = 0x0000;
inline constexpr std::uint32_t SS_CENTER = 0x0001;
inline constexpr std::uint32_t SS_RIGHT = 0x0002;
inline constexpr std::uint32_t SS_ICON = 0x0003;
inline constexpr std::uint32_t SS_BLACKRECT = 0x0004;
inline constexpr std::uint32_t SS_GRAYRECT = 0x0005;
inline constexpr std::uint32_t SS_WHITERECT = 0x0006;
inline constexpr std::uint32_t SS_BLACKFRAME = 0x0007;
inline constexpr std::uint32_t SS_GRAYFRAME = 0x0008;
inline constexpr std::uint32_t SS_WHITEFRAME = 0x0009;
inline constexpr std::uint32_t SS_SIMPLE = 0x000B;
inline constexpr std::uint32_t SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr std::uint32_t SS_OWNERDRAW = 0x000D;
inline constexpr std::uint32_t SS_BITMAP = 0x000E;
inline constexpr std::uint32_t SS_ETCHEDHORZ = 0x0010;
inline constexpr std::uint32_t SS_ETCHEDVERT = 0x0011;
inline constexpr std::uint32_t SS_ETCHEDFRAME = 0x0012;
inline constexpr std::uint32_t SS_TYPEMASK = 0x001F;
inline constexpr std::uint32_t SS_REALSIZECONTROL = 0x0040;
inline constexpr std::uint32_t SS_NOPREFIX = 0x0080;
inline constexpr std::uint32_t SS_NOTIFY = 0x0100;
inline constexpr std::uint32_t SS_CENTERIMAGE = 0x0200;
inline constexpr std::uint32_t SS_RIGHTJUST = 0x0400;
inline constexpr std::uint32_t SS_REALSIZEIMAGE = 0x0800;
inline constexpr std::uint32_t SS_SUNKEN = 0x1000;
inline constexpr std::uint32_t SS_ENDELLIPSIS = 0x4000;
inline constexpr std::uint32_t SS_PATHELLIPSIS = 0x8000;
inline constexpr std::uint32_t SS_WORDELLIPSIS = 0xC000;
inline constexpr std::uint32_t SS_ELLIPSISMASK = 0xC000;

// Buttons. The low four bits are the type.
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
inline constexpr std::uint32_t BS_CHECKBOX = 0x0002;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003;
inline constexpr std::uint32_t BS_RADIOBUTTON = 0x0004;
inline constexpr std::uint32_t BS_GROUPBOX = 0x0007;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x0009;
inline constexpr std::uint32_t BS_OWNERDRAW = 0x000B;
inline constexpr std::uint32_t BS_TYPEMASK = 0x000F;
inline constexpr std::uint32_t BS_LEFTTEXT = 0x0020;
inline constexpr std::uint32_t BS_TEXT = 0x0000;
inline constexpr std::uint32_t BS_ICON = 0x0040;
inline constexpr std::uint32_t BS_BITMAP = 0x0080;
inline constexpr std::uint32_t BS_LEFT = 0x0100;
inline constexpr std::uint32_t BS_RIGHT = 0x0200;
inline constexpr std::uint32_t BS_CENTER = 0x0300;
inline constexpr std::uint32_t BS_TOP = 0x0400;
inline constexpr std::uint32_t BS_BOTTOM = 0x0800;
inline constexpr std::uint32_t BS_VCENTER = 0x0C00;
inline constexpr std::uint32_t BS_PUSHLIKE = 0x1000;
inline constexpr std::uint32_t BS_MULTILINE = 0x2000;
inline constexpr std::uint32_t BS_NOTIFY = 0x4000;
inline constexpr std::uint32_t BS_FLAT = 0x8000;

// Edit controls.
inline constexpr std::uint32_t ES_LEFT = 0x0000;
inline constexpr std::uint32_t ES_CENTER = 0x0001;
inline constexpr std::uint32_t ES_RIGHT = 0x0002;
inline constexpr std::uint32_t ES_MULTILINE = 0x0004;
inline constexpr std::uint32_t ES_UPPERCASE = 0x0008;
inline constexpr std::uint32_t ES_LOWERCASE = 0x0010;
inline constexpr std::uint32_t ES_PASSWORD = 0x0020;
inline constexpr std::uint32_t ES_AUTOVSCROLL = 0x0040;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
inline constexpr std::uint32_t ES_NOHIDESEL = 0x0100;
inline constexpr std::uint32_t ES_READONLY = 0x0800;
inline constexpr std::uint32_t ES_WANTRETURN = 0x1000;
inline constexpr std::uint32_t ES_NUMBER = 0x2000;

// Combo boxes. The low two bits are the type.
inline constexpr std::uint32_t CBS_SIMPLE = 0x0001;
inline constexpr std::uint32_t CBS_DROPDOWN = 0x0002;
inline constexpr std::uint32_t CBS_DROPDOWNLIST = 0x0003;
inline constexpr std::uint32_t CBS_OWNERDRAWFIXED = 0x0010;
inline constexpr std::uint32_t CBS_OWNERDRAWVARIABLE = 0x0020;
inline constexpr std::uint32_t CBS_AUTOHSCROLL = 0x0040;
inline constexpr std::uint32_t CBS_SORT = 0x0100;
inline constexpr std::uint32_t CBS_HASSTRINGS = 0x0200;
inline constexpr std::uint32_t CBS_NOINTEGRALHEIGHT = 0x0400;
inline constexpr std::uint32_t CBS_DISABLENOSCROLL = 0x0800;

// List boxes.
inline constexpr std::uint32_t LBS_NOTIFY = 0x0001;
inline constexpr std::uint32_t LBS_SORT = 0x0002;
inline constexpr std::uint32_t LBS_NOREDRAW = 0x0004;
inline constexpr std::uint32_t LBS_MULTIPLESEL = 0x0008;
inline constexpr std::uint32_t LBS_OWNERDRAWFIXED = 0x0010;
inline constexpr std::uint32_t LBS_OWNERDRAWVARIABLE = 0x0020;
inline constexpr std::uint32_t LBS_HASSTRINGS = 0x0040;
inline constexpr std::uint32_t LBS_USETABSTOPS = 0x0080;
inline constexpr std::uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
inline constexpr std::uint32_t LBS_MULTICOLUMN = 0x0200;
inline constexpr std::uint32_t LBS_WANTKEYBOARDINPUT = 0x0400;
inline constexpr std::uint32_t LBS_EXTENDEDSEL = 0x0800;
inline constexpr std::uint32_t LBS_DISABLENOSCROLL = 0x1000;
inline constexpr std::uint32_t LBS_NOSEL = 0x4000;

// Tooltip controls.
inline constexpr std::uint32_t TTS_ALWAYSTIP = 0x01;
inline constexpr std::uint32_t TTS_NOPREFIX = 0x02;
inline constexpr std::uint32_t TTS_BALLOON = 0x40;

}  // namespace platform::window
