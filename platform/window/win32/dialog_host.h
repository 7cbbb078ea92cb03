// The Win32 side of a Dialog: the dialog manager makes the window and its
// controls from the template's in-memory record and calls DialogProc; this
// class gives the Dialog its messages (commands, timers, colours, owner-drawn
// items, show, move, close, destruction) and the message loop's part
// (PreTranslateMessage, then IsDialogMessage for Tab, Enter and Escape).
// Private to the backend.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <map>

#include "platform/window/dialog.h"

namespace platform::window {

class DialogHost {
  public:
    // Creates the dialog's window from its template, owned by `owner`; runs
    // WM_INITDIALOG (controls, data exchange, colours, OnInitDialog).
    static bool CreateFromTemplate(Dialog& dialog, HWND owner);
    // Ends the dialog's window: the object's side first (OnDestroy,
    // timers, bindings), then the HWND unless it is already going.
    static void Destroy(Dialog& dialog, bool windowGoing);

    // Shows a message of the loop to the PreTranslateMessage of each dialog
    // from its window up, then to the dialog manager's keyboard handling;
    // true when one of them took it (it is not to be dispatched).
    static bool PreTranslate(MSG& message);

    static HWND HwndOf(const Dialog& dialog);
    // The parent a dialog was constructed with.
    static void SetConstructionParent(const Dialog& dialog, Window* parent);
    static Window* ConstructionParent(const Dialog& dialog);
    // Forgets everything kept for the object.
    static void Forget(const Dialog& dialog);

    // Colours given to the controls (OnCtlColor), kept until asked again.
    static void RefreshColors(Dialog& dialog, HWND control);
    static void SetBackground(Dialog& dialog, ColorRef color);

  private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static bool InitDialog(Dialog& dialog, HWND hwnd);
    static INT_PTR Handle(Dialog& dialog, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR ControlColor(Dialog& dialog, UINT message, HDC dc, HWND control);
    static bool DrawItem(Dialog& dialog, const DRAWITEMSTRUCT& item);
    static void MeasureItem(HWND hwnd, MEASUREITEMSTRUCT& item);
    static void Command(Dialog& dialog, HWND hwnd, int id, int code, HWND control);
};

}  // namespace platform::window
