#include "platform/window/win32/native_window.h"

#include <windowsx.h>

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
    auto* native = new NativeWindow(owner, hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(native));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativeWindow::Procedure));
    if (shown != 0) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return native;
}

NativeWindow::NativeWindow(Window& owner, HWND hwnd) : m_owner(&owner), m_hwnd(hwnd) {
    owner.m_native = this;
    m_handle = win32::RegisterWindow(*this);
}

NativeWindow::~NativeWindow() {
    win32::UnregisterWindow(m_handle);
    Detach();
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
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete native;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return native->Handle(message, wParam, lParam);
}

LRESULT NativeWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == win32::PostedMessageWake()) {
        Message posted;
        if (win32::TakePosted(m_handle, posted)) HandleLayerMessage(posted);
        return 0;
    }
    Window* owner = m_owner;
    if (owner == nullptr) return DefWindowProcW(m_hwnd, message, wParam, lParam);
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
            return 0;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            owner->OnMouseLeave();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            owner->OnLButtonDown(at);
            return 0;
        case WM_LBUTTONUP:
            owner->OnLButtonUp(at);
            return 0;
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
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
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
    if (m_owner != nullptr && !m_owner->m_paintsOpaque)
        DefWindowProcW(m_hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer), 0);
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
