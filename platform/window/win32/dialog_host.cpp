#include "platform/window/win32/dialog_host.h"

#include <windowsx.h>

#include <utility>
#include <vector>

#include "platform/window/control_objects.h"
#include "platform/window/data_exchange.h"
#include "platform/window/handler_depth.h"
#include "platform/window/list_box_control.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/win32/control_natives.h"
#include "platform/window/win32/dialog_template_record.h"
#include "platform/window/win32/hwnd_capture.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

class Brush {
  public:
    Brush() = default;
    explicit Brush(HBRUSH brush) : m_brush(brush) {}
    ~Brush() {
        if (m_brush != nullptr) DeleteObject(m_brush);
    }
    Brush(Brush&& other) noexcept : m_brush(std::exchange(other.m_brush, nullptr)) {}
    Brush& operator=(Brush&& other) noexcept {
        std::swap(m_brush, other.m_brush);
        return *this;
    }
    HBRUSH Get() const { return m_brush; }

  private:
    HBRUSH m_brush = nullptr;
};

struct ControlState {
    ControlKind kind = ControlKind::Custom;
    std::optional<ColorRef> text;
    Brush background;
};

// What the backend keeps for a dialog object beyond its members.
struct DialogState {
    Window* constructionParent = nullptr;
    Brush background;
    Brush painted;  // the dialog's background as its labels stand on it
    std::map<HWND, ControlState> controls;
};

std::map<const Dialog*, DialogState>& States() {
    static std::map<const Dialog*, DialogState> states;
    return states;
}

DialogState& StateOf(const Dialog& dialog) {
    return States()[&dialog];
}

COLORREF ToCOLORREF(ColorRef color) {
    return RGB(GetRValue(color), GetGValue(color), GetBValue(color));
}

// A pattern brush of the picture, tiled from the painted window's corner.
Brush PatternBrush(const Image& image) {
    if (image.IsNull()) return Brush();
    HBITMAP bitmap = nullptr;
    if (image.Get()->bitmap->GetHBITMAP(Gdiplus::Color(0, 0, 0, 0), &bitmap) != Gdiplus::Ok)
        return Brush();
    Brush brush(CreatePatternBrush(bitmap));
    DeleteObject(bitmap);
    return brush;
}

// Patterns are tiled from the dialog's corner, so that a control's runs
// on from the dialog's own beneath it.
void AlignBrushWithDialog(HDC dc, HWND control) {
    POINT corner{0, 0};
    MapWindowPoints(control, GetParent(control), &corner, 1);
    SetBrushOrgEx(dc, -corner.x, -corner.y, nullptr);
}

// Whether the dialog has a background picture that clips its siblings.
bool HasBackdrop(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & WS_CLIPSIBLINGS) != 0) return true;
    return false;
}

// A brush of the dialog's background as its controls stand on it: what
// the dialog paints (or erases) with its background pictures on it.
Brush BackgroundBrush(HWND dialog) {
    RECT client;
    if (!::GetClientRect(dialog, &client) || client.right <= 0 || client.bottom <= 0)
        return Brush();
    const Image background = win32::PrintClient(dialog, client);
    if (background.IsNull()) return Brush();
    const Image withPictures = PaintOnImage(background, [dialog](DeviceContext& dc) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongW(child, GWL_STYLE) & WS_CLIPSIBLINGS) != 0)
                win32::DrawChild(dc, dialog, child, POINT{0, 0}, CaptureMode::AsShown);
    });
    return PatternBrush(withPictures);
}

Dialog* DialogOfHwnd(HWND hwnd) {
    return dynamic_cast<Dialog*>(win32::WindowOfHwnd(hwnd));
}

bool IsInputMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_KEYDOWN;
}

// The control under `screen` among the dialog's children: a label lets
// clicks through to its dialog, but the message names the label, as the
// program sees the control the pointer is on. Of overlapping controls the
// lowest in the Z order (painted last, so on top), background pictures
// left out; null where there is none.
HWND ControlAt(HWND dialog, POINT screen) {
    HWND found = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        if (!::IsWindowVisible(child) ||
            (GetWindowLongW(child, GWL_STYLE) & WS_CLIPSIBLINGS) != 0 ||
            !::GetWindowRect(child, &r) || !PtInRect(&r, screen))
            continue;
        found = child;
    }
    return found;
}

InputMessage InputMessageOf(const MSG& message) {
    InputMessage input;
    HWND target = message.hwnd;
    if (message.message != WM_KEYDOWN && DialogOfHwnd(target) != nullptr) {
        if (HWND control = ControlAt(target, message.pt)) target = control;
    }
    for (HWND hwnd = target; hwnd != nullptr && input.window == nullptr;
         hwnd = GetAncestor(hwnd, GA_PARENT))
        input.window = win32::WindowOfHwnd(hwnd);
    input.message = message.message;
    input.wParam = message.message == WM_KEYDOWN ? message.wParam : 0;
    input.point = Point{message.pt.x, message.pt.y};
    return input;
}

}  // namespace

HWND DialogHost::HwndOf(const Dialog& dialog) {
    return win32::HwndOf(dialog);
}

void DialogHost::SetConstructionParent(const Dialog& dialog, Window* parent) {
    StateOf(dialog).constructionParent = parent;
}

Window* DialogHost::ConstructionParent(const Dialog& dialog) {
    const auto found = States().find(&dialog);
    return found != States().end() ? found->second.constructionParent : nullptr;
}

void DialogHost::Forget(const Dialog& dialog) {
    States().erase(&dialog);
}

bool DialogHost::CreateFromTemplate(Dialog& dialog, HWND owner) {
    const win32::DialogTemplateRecord record(*dialog.m_template);
    HWND hwnd =
        CreateDialogIndirectParamW(GetModuleHandleW(nullptr), record.Get(), owner,
                                   &DialogHost::Procedure, reinterpret_cast<LPARAM>(&dialog));
    if (hwnd == nullptr) {
        // Gone again while starting (EndDialog or DestroyWindow in
        // OnInitDialog of a window that could not be made).
        dialog.m_created = false;
        return false;
    }
    return dialog.m_created;
}

INT_PTR CALLBACK DialogHost::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return InitDialog(*dialog, hwnd) ? TRUE : FALSE;
    }
    if (message == WM_MEASUREITEM) {
        // Asked while the controls are made, before WM_INITDIALOG.
        MeasureItem(hwnd, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    }
    auto* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    // Only while the object's window is this one.
    if (dialog == nullptr || HwndOf(*dialog) != hwnd) return FALSE;
    return Handle(*dialog, hwnd, message, wParam, lParam);
}

bool DialogHost::InitDialog(Dialog& dialog, HWND hwnd) {
    NativeWindow* native = NativeWindow::Subclass(dialog, hwnd);
    if (native == nullptr) return false;
    Dialog* object = &dialog;
    native->SetMessageHandler([object](Message& message) -> std::intptr_t {
        if (!object->m_created) return 0;
        const auto found = object->m_messageHandlers.find(message.id);
        if (found != object->m_messageHandlers.end()) {
            const MessageHandler handler = found->second;  // it may replace itself
            return handler(message);
        }
        if (message.id == WM_COMMAND) {
            // A menu item's choice: a command like a control's.
            object->DispatchCommand(static_cast<int>(LoWord(message.wParam)),
                                    static_cast<int>(HiWord(message.wParam)));
        }
        return 0;
    });
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0))) {
        LOGFONTW logFont{};
        if (GetObjectW(font, sizeof logFont, &logFont) != 0)
            dialog.m_templateFont = win32::FontFromLogFont(logFont);
    }

    // The dialog manager made the controls in template order.
    DialogState& state = StateOf(dialog);
    state.controls.clear();
    HWND child = GetWindow(hwnd, GW_CHILD);
    for (const ControlTemplate& item : dialog.m_template->controls) {
        if (child == nullptr) break;
        std::unique_ptr<Window> object = MakeControlObject(item);
        if (NativeWindow* control = NativeWindow::Subclass(*object, child)) {
            control->Own(std::move(object));
            control->RecordFont(dialog.m_templateFont);
            win32::OnControlAttached(*control);
        }
        state.controls[child].kind = item.kind;
        child = GetWindow(child, GW_HWNDNEXT);
    }

    dialog.m_handle = native->Handle();
    dialog.m_created = true;
    dialog.UpdateData(false);
    dialog.RefreshControlColors();
    bool focusFirst = false;
    {
        Depth depth(dialog.m_dispatchDepth);
        focusFirst = dialog.OnInitDialog();
    }
    return focusFirst && dialog.m_created;
}

void DialogHost::MeasureItem(HWND hwnd, MEASUREITEMSTRUCT& item) {
    // Fixed-height items are a line of the dialog's font.
    HDC dc = GetDC(hwnd);
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (previous != nullptr) SelectObject(dc, previous);
    ReleaseDC(hwnd, dc);
    if (metrics.tmHeight > 0) item.itemHeight = static_cast<UINT>(metrics.tmHeight);
}

INT_PTR DialogHost::Handle(Dialog& dialog, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            Command(dialog, hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_TIMER: {
            const int id = static_cast<int>(wParam);
            if (dialog.m_created && dialog.m_timers.count(id) != 0) dialog.OnTimer(id);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORDLG:
            return ControlColor(dialog, message, reinterpret_cast<HDC>(wParam),
                                reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM:
            return DrawItem(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE
                                                                                      : FALSE;
        case WM_CLOSE:
            // Closing is a request the dialog answers itself (IDCANCEL by
            // default); the window never just disappears under its owner.
            if (dialog.m_created) dialog.OnClose();
            return TRUE;
        case WM_SHOWWINDOW:
            // Only what the program did, not an owner's minimising.
            if (dialog.m_created && lParam == 0) dialog.OnShowWindow(wParam != FALSE);
            return FALSE;
        case WM_SIZE:
            // What the dialog paints is made again at the new size.
            StateOf(dialog).painted = Brush();
            return FALSE;
        case WM_MOVE:
            if (dialog.m_created) dialog.OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return FALSE;
        case WM_LBUTTONDOWN:
            if (dialog.m_dragAnywhere) {
                // Dragged as by its caption.
                ::ReleaseCapture();
                SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            // Destroyed from outside (its owner went): the object's side
            // ends as if DestroyWindow had been called.
            if (dialog.m_created) Destroy(dialog, true);
            return FALSE;
        default:
            return FALSE;
    }
}

void DialogHost::Command(Dialog& dialog, HWND hwnd, int id, int code, HWND control) {
    if (!dialog.m_created) return;
    // Enter and Escape come from the dialog manager: nothing when the
    // button they stand for is disabled.
    if (control == nullptr || code == BN_CLICKED) {
        HWND item = GetDlgItem(hwnd, id);
        if (item != nullptr && !IsWindowEnabled(item)) return;
    }
    dialog.DispatchCommand(id, code);
}

INT_PTR DialogHost::ControlColor(Dialog& dialog, UINT message, HDC dc, HWND control) {
    DialogState& state = StateOf(dialog);
    if (message == WM_CTLCOLORDLG) return reinterpret_cast<INT_PTR>(state.background.Get());
    const auto found = state.controls.find(control);
    if (found != state.controls.end()) {
        const ControlState& colors = found->second;
        if (colors.text) SetTextColor(dc, ToCOLORREF(*colors.text));
        if (colors.background.Get() != nullptr) {
            SetBkMode(dc, TRANSPARENT);
            AlignBrushWithDialog(dc, control);
            return reinterpret_cast<INT_PTR>(colors.background.Get());
        }
        // A group box only frames what lies in it: the dialog's picture
        // shows through it.
        if (colors.kind == ControlKind::GroupBox) {
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        // A dialog that paints itself, or has a background picture, shows
        // through its labels and buttons: they are filled with its
        // background, from the dialog's corner.
        HWND hwnd = HwndOf(dialog);
        if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) &&
            (dialog.PaintsItself() || HasBackdrop(hwnd)) &&
            (GetWindowLongW(control, GWL_STYLE) & WS_CLIPSIBLINGS) == 0) {
            if (state.painted.Get() == nullptr) state.painted = BackgroundBrush(hwnd);
            if (state.painted.Get() != nullptr) {
                SetBkMode(dc, TRANSPARENT);
                AlignBrushWithDialog(dc, control);
                return reinterpret_cast<INT_PTR>(state.painted.Get());
            }
        }
        if (colors.text && state.background.Get() == nullptr) {
            // The text colour alone: the rest as the dialog manager does it.
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
    }
    // Labels and buttons stand on the dialog's own background.
    if (state.background.Get() != nullptr &&
        (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN)) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(state.background.Get());
    }
    return FALSE;
}

void DialogHost::RefreshColors(Dialog& dialog, HWND control) {
    DialogState& state = StateOf(dialog);
    const auto refresh = [&dialog](HWND hwnd, ControlState& colors) {
        ControlColors asked;
        asked.kind = colors.kind;
        dialog.OnCtlColor(win32::WindowOfHwnd(hwnd), asked);
        colors.text = asked.text;
        colors.background = asked.background ? PatternBrush(*asked.background) : Brush();
        ::InvalidateRect(hwnd, nullptr, TRUE);
    };
    if (control != nullptr) {
        const auto found = state.controls.find(control);
        if (found != state.controls.end()) refresh(found->first, found->second);
        return;
    }
    for (auto& [hwnd, colors] : state.controls) refresh(hwnd, colors);
}

void DialogHost::SetBackground(Dialog& dialog, ColorRef color) {
    StateOf(dialog).background = Brush(CreateSolidBrush(ToCOLORREF(color)));
    if (HWND hwnd = HwndOf(dialog)) ::InvalidateRect(hwnd, nullptr, TRUE);
}

bool DialogHost::DrawItem(Dialog& dialog, const DRAWITEMSTRUCT& item) {
    // Controls that draw themselves were given the item on the way here.
    if (!dialog.m_created || !win32::StartGdiplus()) return false;
    window::DrawItem drawn;
    drawn.controlId = static_cast<int>(item.CtlID);
    drawn.itemId = item.itemID == static_cast<UINT>(-1) ? -1 : static_cast<int>(item.itemID);
    drawn.state = item.itemState;
    drawn.rect = Rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
    if (item.CtlType == ODT_LISTBOX && drawn.itemId >= 0) {
        if (auto* list = dynamic_cast<ListBoxControl*>(win32::WindowOfHwnd(item.hwndItem)))
            drawn.text = list->GetText(drawn.itemId);
    }
    bool handled = false;
    Gdiplus::Graphics graphics(item.hDC);
    const Font font = dialog.m_templateFont;
    win32::PaintWith(graphics, font, [&](DeviceContext& dc) {
        drawn.dc = &dc;
        handled = dialog.DispatchDrawItem(drawn);
    });
    return handled;
}

void DialogHost::Destroy(Dialog& dialog, bool windowGoing) {
    {
        Depth depth(dialog.m_dispatchDepth);
        dialog.OnDestroy();
    }
    dialog.m_created = false;
    HWND hwnd = HwndOf(dialog);
    for (const auto& [id, nativeId] : dialog.m_timers)
        if (hwnd != nullptr) ::KillTimer(hwnd, static_cast<UINT_PTR>(nativeId));
    dialog.m_timers.clear();
    dialog.m_handle = WindowHandle();
    if (Window* captured = GetCapture(); captured != nullptr && hwnd != nullptr) {
        HWND capturedHwnd = win32::HwndOf(*captured);
        if (capturedHwnd == hwnd || IsChild(hwnd, capturedHwnd)) ReleaseCapture();
    }
    dialog.m_modalRunning = false;
    for (const auto& unbind : dialog.m_unbinders) unbind();
    dialog.m_unbinders.clear();
    StateOf(dialog).controls.clear();
    StateOf(dialog).painted = Brush();
    if (!windowGoing && hwnd != nullptr) ::DestroyWindow(hwnd);
}

bool DialogHost::PreTranslate(MSG& message) {
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (IsInputMessage(message.message)) {
        const InputMessage input = InputMessageOf(message);
        // Each dialog from the message's window up to its top-level one.
        for (HWND hwnd = message.hwnd; hwnd != nullptr; hwnd = GetAncestor(hwnd, GA_PARENT)) {
            Dialog* dialog = DialogOfHwnd(hwnd);
            if (dialog == nullptr || !dialog->m_created) continue;
            Depth depth(dialog->m_dispatchDepth);
            if (dialog->PreTranslateMessage(input)) return true;
            if (hwnd == root) break;
        }
    }
    if (root == nullptr || DialogOfHwnd(root) == nullptr) return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

}  // namespace platform::window
