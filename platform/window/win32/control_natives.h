// The native side of the controls' classes on Win32: what a control class
// needs from its HWND beyond the Window's own handling. Private to the
// backend.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <memory>

#include "platform/window/dialog_template.h"
#include "platform/window/win32/native_window.h"

namespace platform::window::win32 {

// Called whenever an object gets a control's HWND (a template's control,
// SubclassDlgItem, a control class's Create): sets up what the object's
// class needs of the window.
void OnControlAttached(NativeWindow& native);

// Draws an owner-drawn control that draws itself (WM_DRAWITEM reflected to
// it); false when its dialog's OnDrawItem is to draw it.
bool DrawControlItem(NativeWindow& native, const DRAWITEMSTRUCT& item);

}  // namespace platform::window::win32
