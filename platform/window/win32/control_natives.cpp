#include "platform/window/win32/control_natives.h"

#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/custom_control.h"
#include "platform/window/edit_control.h"
#include "platform/window/frame_control.h"
#include "platform/window/images.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/picture_control.h"
#include "platform/window/static_control.h"
#include "platform/window/underlay.h"
#include "platform/window/win32/painting.h"

#include <memory>
#include <optional>

namespace platform::window::win32 {

std::unique_ptr<Window> MakeControlObject(const ControlTemplate& item) {
    switch (item.kind) {
        case ControlKind::Static: {
            auto label = std::make_unique<StaticControl>();
            label->SetStyle(item.style, item.exStyle);
            label->SetText(item.text);
            return label;
        }
        case ControlKind::Picture: {
            auto picture = std::make_unique<PictureControl>();
            picture->SetStyle(item.style, item.exStyle);
            if (item.imageId != 0) {
                if ((item.style & SS_TYPEMASK) == SS_ICON)
                    picture->SetIcon(LoadIcon(item.imageId));
                else
                    picture->SetBitmap(LoadBitmap(item.imageId));
            }
            return picture;
        }
        case ControlKind::GroupBox:
            // A BUTTON with BS_GROUPBOX: a plain Window whose text is the title.
            return std::make_unique<Window>();
        case ControlKind::Frame: {
            auto frame = std::make_unique<FrameControl>();
            frame->SetStyle(item.style, item.exStyle);
            return frame;
        }
        case ControlKind::Edit: {
            auto edit = std::make_unique<EditControl>();
            edit->SetStyle(item.style, item.exStyle);
            return edit;
        }
        case ControlKind::ComboBox: {
            auto combo = std::make_unique<ComboBoxControl>();
            combo->SetStyle(item.style);
            return combo;
        }
        case ControlKind::ListBox: {
            auto list = std::make_unique<ListBoxControl>();
            list->SetStyle(item.style, item.exStyle);
            return list;
        }
        case ControlKind::Button: {
            auto button = std::make_unique<ButtonControl>();
            button->SetStyle(item.style);
            // Owner-drawn buttons draw their own picture.
            if (item.imageId != 0 && (item.style & BS_TYPEMASK) != BS_OWNERDRAW) {
                if ((item.style & BS_ICON) != 0)
                    button->SetIcon(LoadIcon(item.imageId));
                else if ((item.style & BS_BITMAP) != 0)
                    button->SetBitmap(LoadBitmap(item.imageId));
            }
            return button;
        }
        case ControlKind::CheckBox: {
            auto box = std::make_unique<CheckBoxControl>();
            box->SetStyle(item.style);
            return box;
        }
        case ControlKind::IpAddress: {
            auto ip = std::make_unique<IpAddressControl>();
            ip->SetStyle(item.style, item.exStyle);
            return ip;
        }
        case ControlKind::Custom:
            break;
    }
    return std::make_unique<CustomControl>();
}

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
