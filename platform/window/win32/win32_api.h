// windows.h and GDI+ for the backend, without the macros that would rename
// the layer's own names: the layer speaks Win32's words (DrawText,
// MessageBox, PostMessage, DT_CENTER ...), which windows.h defines as
// macros for its A/W function pairs and its constants. The backend calls
// the wide functions by their full names (::PostMessageW, ::DrawTextW).
#pragma once

// The layer's own constants (SW_HIDE, WS_CHILD, WM_COMMAND, IDOK, MB_OK ...)
// are declared before windows.h defines the same names as macros of the
// same values: declared after, they would not compile.
#include "platform/window/balloon_tooltip.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/device_context.h"
#include "platform/window/file_dialog.h"
#include "platform/window/input_message.h"
#include "platform/window/list_box_control.h"
#include "platform/window/message_box.h"
#include "platform/window/messages.h"
#include "platform/window/styles.h"
#include "platform/window/system_metrics.h"
#include "platform/window/window.h"

#include <windows.h>

// GDI+ builds on windows.h and on the COM declarations the lean windows.h
// leaves out, in this order.
#include <objidl.h>

#include <gdiplus.h>

#undef DrawText
#undef MessageBox
#undef PostMessage
#undef SendMessage
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef SetWindowText
#undef GetWindowText
#undef CreateWindow
#undef CreateDialog
#undef GetObject
#undef GetNextWindow

#undef DT_TOP
#undef DT_LEFT
#undef DT_CENTER
#undef DT_RIGHT
#undef DT_VCENTER
#undef DT_BOTTOM
#undef DT_WORDBREAK
#undef DT_SINGLELINE
#undef DT_EXPANDTABS
#undef DT_TABSTOP
#undef DT_NOCLIP
#undef DT_EXTERNALLEADING
#undef DT_CALCRECT
#undef DT_NOPREFIX
#undef DT_INTERNAL
#undef DT_EDITCONTROL
#undef DT_PATH_ELLIPSIS
#undef DT_END_ELLIPSIS
#undef DT_MODIFYSTRING
#undef DT_RTLREADING
#undef DT_WORD_ELLIPSIS
#undef DT_NOFULLWIDTHCHARBREAK
#undef DT_HIDEPREFIX
#undef DT_PREFIXONLY
