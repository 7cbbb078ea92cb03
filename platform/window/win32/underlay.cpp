// What lies beneath a child: its parent prints the child's rectangle of its
// client area into a bitmap (WM_ERASEBKGND and WM_PRINTCLIENT, so our own
// windows run their OnPaint and native ones their own painting), then the
// siblings below the child in the Z order that overlap it are laid on,
// bottom first. Siblings above the child, and the child itself, are not,
// except a backdrop: a window's background picture lies on top of the Z
// order and clips its siblings, so it is painted first and the controls
// beneath it show on it (see the dialog template's records).
#include "platform/window/win32/win32_api.h"

#include "platform/window/underlay.h"
#include "platform/window/win32/hwnd_capture.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"

namespace platform::window {

namespace {

// The colour a window's class erases it in: a brush, or a system colour
// given as its index plus one; the dialog face without either.
ColorRef ClassBackground(HWND hwnd) {
    const auto brush = static_cast<ULONG_PTR>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND));
    COLORREF color = GetSysColor(COLOR_BTNFACE);
    LOGBRUSH logBrush{};
    if (brush != 0 && brush <= COLOR_MENUBAR + 1)
        color = GetSysColor(static_cast<int>(brush - 1));
    else if (brush != 0 &&
             ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof logBrush, &logBrush) != 0 &&
             logBrush.lbStyle == BS_SOLID)
        color = logBrush.lbColor;
    return Rgb(GetRValue(color), GetGValue(color), GetBValue(color));
}

bool Overlap(HWND a, HWND b) {
    RECT first;
    RECT second;
    RECT both;
    return ::GetWindowRect(a, &first) && ::GetWindowRect(b, &second) &&
           IntersectRect(&both, &first, &second);
}

}  // namespace

Image GrabUnderneath(const Window& child) {
    HWND hwnd = win32::HwndOf(child);
    RECT client;
    if (hwnd == nullptr || !::GetClientRect(hwnd, &client) || IsRectEmpty(&client) ||
        !win32::StartGdiplus())
        return Image();
    // A top-level window's GetParent is its owner, which lies elsewhere.
    HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0 ? ::GetParent(hwnd) : nullptr;
    if (parent == nullptr)
        return CreateImage(Size{client.right, client.bottom}, ClassBackground(hwnd));

    // The child's client area in the parent's client coordinates.
    POINT origin{0, 0};
    MapWindowPoints(hwnd, parent, &origin, 1);
    const RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    const Image background = win32::PrintClient(parent, area);
    if (background.IsNull()) return Image();
    return PaintOnImage(background, [&](DeviceContext& dc) {
        // Backdrops above the child first.
        for (HWND sibling = GetWindow(hwnd, GW_HWNDPREV); sibling != nullptr;
             sibling = GetWindow(sibling, GW_HWNDPREV)) {
            if ((GetWindowLongW(sibling, GWL_STYLE) & WS_CLIPSIBLINGS) != 0 &&
                ::IsWindowVisible(sibling) && Overlap(sibling, hwnd))
                win32::DrawChild(dc, parent, sibling, origin, CaptureMode::AsShown);
        }
        // Then the bottom of the Z order first, up to the child.
        for (HWND sibling = GetWindow(hwnd, GW_HWNDLAST); sibling != nullptr && sibling != hwnd;
             sibling = GetWindow(sibling, GW_HWNDPREV)) {
            if (Overlap(sibling, hwnd))
                win32::DrawChild(dc, parent, sibling, origin, CaptureMode::AsShown);
        }
    });
}

}  // namespace platform::window
