#include "platform/window/win32/native_window.h"

#include <windowsx.h>

#include <utility>

#include "platform/window/win32/control_natives.h"
#include "platform/window/win32/painting.h"

namespace platform::window {

namespace {

constexpr wchar_t WINDOW_CLASS[] = L"R40.Window";

ATOM RegisterWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = DefWindowProcW;  // NativeWindow::Create subclasses at once
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = WINDOW_CLASS;
        return RegisterClassExW(&windowClass);
    }();
    return atom;
}

}  // namespace

NativeWindow* NativeWindow::Create(Window& owner, DWORD style, const RECT& rect, HWND parent,
                                   int id) {
    if (RegisterWindowClass() == 0) return nullptr;
    const bool child = parent != nullptr;
    style = child ? (style | WS_CHILD) & ~WS_POPUP : (style | WS_POPUP) & ~WS_CHILD;
    // Shown only once the procedure is in place, so the first paint is ours.
    const DWORD shown = style & WS_VISIBLE;
    HWND hwnd = CreateWindowExW(0, WINDOW_CLASS, L"", style & ~WS_VISIBLE, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd == nullptr) return nullptr;
    auto* native = new NativeWindow(owner, hwnd, DefWindowProcW);
    native->Install();
    if (shown != 0) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return native;
}

NativeWindow* NativeWindow::Subclass(Window& owner, HWND hwnd) {
    if (hwnd == nullptr || !IsWindow(hwnd) || FromHwnd(hwnd) != nullptr ||
        owner.m_native != nullptr)
        return nullptr;
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    auto* native = new NativeWindow(owner, hwnd, previous);
    native->Install();
    return native;
}

NativeWindow::NativeWindow(Window& owner, HWND hwnd, WNDPROC previous)
    : m_owner(&owner),
      m_hwnd(hwnd),
      m_previous(previous),
      m_styleAsMade(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE))) {
    owner.m_native = this;
    m_handle = win32::RegisterWindow(*this);
}

void NativeWindow::Install() {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeWindow::Procedure));
}

LRESULT NativeWindow::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(m_previous, m_hwnd, message, wParam, lParam);
}

NativeWindow::~NativeWindow() {
    if (m_destroyed != nullptr) *m_destroyed = true;
    win32::UnregisterWindow(m_handle);
    Detach();
    // The objects the window owned go with it; unlinked above, they do not
    // destroy the window again.
    m_ownedObject.reset();
    m_retiredObjects.clear();
    if (m_gdiFont != nullptr) DeleteObject(m_gdiFont);
    for (HICON icon : {m_smallIcon, m_bigIcon})
        if (icon != nullptr) DestroyIcon(icon);
}

void NativeWindow::SetIcons(HICON small, HICON big) {
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    for (HICON icon : {m_smallIcon, m_bigIcon})
        if (icon != nullptr) DestroyIcon(icon);
    m_smallIcon = small;
    m_bigIcon = big;
}

const wchar_t* NativeWindow::ClassName() {
    return RegisterWindowClass() != 0 ? WINDOW_CLASS : nullptr;
}

NativeWindow* NativeWindow::FromHwnd(HWND hwnd) {
    // Only our procedure's windows carry a NativeWindow in GWLP_USERDATA.
    if (hwnd == nullptr || !IsWindow(hwnd) ||
        GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure))
        return nullptr;
    return reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void NativeWindow::Detach() {
    if (m_owner != nullptr) m_owner->m_native = nullptr;
    m_owner = nullptr;
}

void NativeWindow::Reattach(Window& owner) {
    if (&owner == m_owner) return;
    if (owner.m_native != nullptr) owner.m_native->Detach();
    Detach();
    if (m_ownedObject) m_retiredObjects.push_back(std::move(m_ownedObject));
    m_owner = &owner;
    owner.m_native = this;
}

void NativeWindow::Own(std::unique_ptr<Window> owner) {
    Reattach(*owner);
    m_ownedObject = std::move(owner);
}

std::intptr_t NativeWindow::HandleLayerMessage(Message& message) {
    return m_messageHandler ? m_messageHandler(message) : 0;
}

void NativeWindow::SetFont(const Font& font) {
    HFONT made = CreateFontIndirectW(&font.Get().logFont);
    if (made == nullptr) return;
    m_font = font;
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    if (m_gdiFont != nullptr) DeleteObject(m_gdiFont);
    m_gdiFont = made;
}

Font NativeWindow::GetFont() const {
    return m_font;
}

LRESULT CALLBACK NativeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* native = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (native == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window's own procedure frees what it keeps; the object side
        // goes after it.
        const WNDPROC previous = native->m_previous;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = CallWindowProcW(previous, hwnd, message, wParam, lParam);
        delete native;
        return result;
    }
    return native->Handle(message, wParam, lParam);
}

LRESULT NativeWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == win32::PostedMessageWake()) {
        Message posted;
        if (win32::TakePosted(m_handle, posted)) HandleLayerMessage(posted);
        return 0;
    }
    if (m_filter) {
        if (const std::optional<LRESULT> handled = m_filter(message, wParam, lParam))
            return *handled;
    }
    // The owner may be replaced by what a handler does: read once, and
    // never after the window's own procedure ran.
    Window* owner = m_owner;
    if (owner == nullptr) return CallPrevious(message, wParam, lParam);
    // A handler may destroy the window, and this object with it.
    bool destroyed = false;
    struct Watch {
        bool*& slot;
        bool* outer;
        bool& mine;
        ~Watch() {
            if (!mine)
                slot = outer;
            else if (outer != nullptr)
                *outer = true;
        }
    } watch{m_destroyed, std::exchange(m_destroyed, &destroyed), destroyed};
    const Point at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_ERASEBKGND:
            // A window that covers itself whole needs no erasing first.
            if (owner->m_paintsItself && owner->m_paintsOpaque) return 1;
            break;
        case WM_PAINT:
            if (!owner->m_paintsItself) break;
            Paint();
            return 0;
        case WM_PRINTCLIENT: {
            // Asked to paint into another device context (PrintWindow, a
            // parent drawing what lies beneath a transparent child).
            if (!owner->m_paintsItself) break;
            RECT client;
            ::GetClientRect(m_hwnd, &client);
            PaintInto(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (!m_trackingLeave) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hwnd, 0};
                m_trackingLeave = TrackMouseEvent(&track) != FALSE;
            }
            owner->OnMouseMove(at);
            break;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            owner->OnMouseLeave();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A control's own procedure still sees the click after this.
            owner->OnLButtonDown(at);
            break;
        case WM_LBUTTONUP:
            owner->OnLButtonUp(at);
            break;
        case WM_SETCURSOR: {
            // For the client area only: the frame keeps its sizing cursors.
            if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != m_hwnd) break;
            LPCWSTR shape = IDC_ARROW;
            if (owner->m_cursor == CursorShape::Hand) shape = IDC_HAND;
            if (owner->m_cursor == CursorShape::Wait) shape = IDC_WAIT;
            ::SetCursor(LoadCursorW(nullptr, shape));
            return TRUE;
        }
        case WM_SIZE:
            owner->OnSize(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_DRAWITEM: {
            // A control drawn by the backend (a button's picture, a control
            // that paints itself) draws itself; a dialog asks it first too.
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            NativeWindow* control = FromHwnd(item->hwndItem);
            if (control != nullptr && win32::DrawControlItem(*control, *item)) return TRUE;
            break;
        }
        default:
            break;
    }
    if (destroyed) return 0;
    return CallPrevious(message, wParam, lParam);
}

void NativeWindow::Paint() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(m_hwnd, &ps);
    if (screen != nullptr) PaintInto(screen, ps.rcPaint);
    EndPaint(m_hwnd, &ps);
}

// Painted into a buffer first and copied in one BitBlt, so the window never
// shows a half-drawn state.
void NativeWindow::PaintInto(HDC target, const RECT& area) {
    RECT client;
    ::GetClientRect(m_hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || !win32::StartGdiplus()) return;
    HDC buffer = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previous = SelectObject(buffer, bitmap);
    // What the window would show beneath the paint: erased as usual.
    if (m_owner != nullptr && !m_owner->m_paintsOpaque) EraseInto(buffer, client);
    {
        Gdiplus::Graphics graphics(buffer);
        PaintOwner(graphics);
    }
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer,
           area.left, area.top, SRCCOPY);
    SelectObject(buffer, previous);
    DeleteObject(bitmap);
    DeleteDC(buffer);
}

void NativeWindow::EraseInto(HDC buffer, const RECT& client) {
    HWND parent = ::GetParent(m_hwnd);
    if (m_previous == DefWindowProcW || parent == nullptr ||
        (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD) == 0) {
        CallPrevious(WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer), 0);
        return;
    }
    // A control of another class erases in the colour its dialog gives
    // statics (WM_CTLCOLORSTATIC), as a static does.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(buffer),
                                                       reinterpret_cast<LPARAM>(m_hwnd)));
    FillRect(buffer, &client, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

bool NativeWindow::PaintOwner(Gdiplus::Graphics& graphics) {
    if (m_owner == nullptr || !m_owner->m_paintsItself || !win32::StartGdiplus()) return false;
    win32::PaintWith(graphics, m_font, [this](DeviceContext& dc) {
        if (m_owner != nullptr) m_owner->OnPaint(dc);
    });
    return true;
}

namespace win32 {

NativeWindow* NativeOf(const Window& window) {
    return window.Native();
}

HWND HwndOf(const Window& window) {
    return window.Native() != nullptr ? window.Native()->Hwnd() : nullptr;
}

Window* WindowOfHwnd(HWND hwnd) {
    NativeWindow* native = NativeWindow::FromHwnd(hwnd);
    return native != nullptr ? native->Owner() : nullptr;
}

}  // namespace win32

}  // namespace platform::window
