// Labels on the native STATIC, which draws the text, its prefixes and its
// alignment itself.
#include "platform/window/static_control.h"

#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

void StaticControl::Refresh(bool styleChanged) {
    HWND hwnd = win32::HwndOf(*this);
    if (hwnd == nullptr) return;
    if (styleChanged) {
        // The window keeps its WS_ bits; the static's own come from here.
        const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        SetWindowLongW(hwnd, GWL_STYLE,
                       static_cast<LONG>((style & 0xFFFF0000u) | (m_style & 0xFFFFu)));
        SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(m_exStyle));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    SetWindowTextW(hwnd, win32::Widen(m_text).c_str());
    // A label may let its dialog's background show through: the dialog
    // paints its part again before the label draws the new text.
    if (HWND parent = ::GetParent(hwnd)) {
        RECT area;
        ::GetWindowRect(hwnd, &area);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
        ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

}  // namespace platform::window
