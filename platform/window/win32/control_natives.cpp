#include "platform/window/win32/control_natives.h"

#include "platform/window/button_control.h"
#include "platform/window/frame_control.h"
#include "platform/window/underlay.h"
#include "platform/window/win32/painting.h"

#include <memory>
#include <optional>

namespace platform::window::win32 {

namespace {

bool IsPushButton(DWORD type) {
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// A button is owner-drawn natively while the backend draws it: when its
// class paints itself or it is a push button showing a picture.
void SyncButtonType(NativeWindow& native, const ButtonControl& button) {
    HWND hwnd = native.Hwnd();
    const DWORD type = (button.Style() != 0 ? button.Style() : native.StyleAsMade()) & BS_TYPEMASK;
    const bool backendDraws =
        type != BS_OWNERDRAW &&
        (button.PaintsItself() || (IsPushButton(type) && !button.ShownPicture().IsNull()));
    const DWORD wanted = backendDraws ? BS_OWNERDRAW : type;
    native.shownButtonType = backendDraws ? std::optional<DWORD>(type) : std::nullopt;
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if ((style & BS_TYPEMASK) == wanted) return;
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & ~BS_TYPEMASK) | wanted));
    ::InvalidateRect(hwnd, nullptr, TRUE);
}

// Follows the operator's pushes: the left button or Space goes down on the
// button, and lets go (or the button loses the focus or the capture).
void WatchPushes(NativeWindow& native) {
    auto pushing = std::make_shared<bool>(false);
    NativeWindow* window = &native;
    native.SetFilter(
        [window, pushing](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            const auto start = [&] {
                if (*pushing) return;
                *pushing = true;
                window->PushStarted();
            };
            const auto end = [&] {
                if (!*pushing) return;
                *pushing = false;
                window->PushEnded();
            };
            switch (message) {
                case WM_PAINT:
                    // A picture set since the last paint changes who draws it.
                    if (auto* button = dynamic_cast<ButtonControl*>(window->Owner()))
                        SyncButtonType(*window, *button);
                    break;
                case WM_LBUTTONDOWN:
                case WM_LBUTTONDBLCLK:
                    start();
                    break;
                case WM_KEYDOWN:
                    if (wParam == VK_SPACE && (lParam & (1 << 30)) == 0) start();
                    break;
                case WM_LBUTTONUP:
                case WM_KEYUP:
                case WM_KILLFOCUS:
                case WM_CAPTURECHANGED:
                    if (message != WM_KEYUP || wParam == VK_SPACE) end();
                    break;
                default:
                    break;
            }
            return std::nullopt;
        });
}

void DrawPictureButton(NativeWindow& native, const ButtonControl& button,
                       const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool flat = (button.Style() & BS_FLAT) != 0;
    // A flat button's picture sits on what lies beneath it (the window's
    // background picture); another stands on the background the parent
    // gives buttons, as a native button does.
    const Image beneath = flat ? GrabUnderneath(button) : Image();
    if (beneath.IsNull()) {
        HWND parent = GetParent(native.Hwnd());
        auto brush = reinterpret_cast<HBRUSH>(
            parent != nullptr ? SendMessageW(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(native.Hwnd()))
                              : 0);
        FillRect(dc, &r, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    }
    if (!flat) DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const Image picture = button.ShownPicture();
    if (StartGdiplus()) {
        Gdiplus::Graphics graphics(dc);
        graphics.SetClip(Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top));
        Rect at = button.PictureRect();
        // A pressed button's picture moves one pixel down and right.
        if (pushed) at = at.Offset(1, 1);
        PaintWith(graphics, native.GetFont(), [&](DeviceContext& paint) {
            if (!beneath.IsNull()) paint.DrawImage({0, 0}, beneath);
            if (!picture.IsNull()) paint.DrawImage(at.TopLeft(), picture);
        });
    }
    if (flat && pushed) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    if (!flat && (item.itemState & ODS_FOCUS) != 0) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace

void OnControlAttached(NativeWindow& native) {
    if (auto* button = dynamic_cast<ButtonControl*>(native.Owner())) {
        SyncButtonType(native, *button);
        WatchPushes(native);
    }
}

bool DrawControlItem(NativeWindow& native, const DRAWITEMSTRUCT& item) {
    Window* owner = native.Owner();
    if (owner == nullptr) return false;
    // A control that paints itself does so on the item's device context.
    if (owner->PaintsItself()) {
        native.PaintInto(item.hDC, item.rcItem);
        return true;
    }
    auto* button = dynamic_cast<ButtonControl*>(owner);
    if (button == nullptr || !native.shownButtonType) return false;
    DrawPictureButton(native, *button, item);
    return true;
}

}  // namespace platform::window::win32
