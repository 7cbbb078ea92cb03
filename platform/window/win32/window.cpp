// Window on an HWND: every call without a native window is a harmless no-op.
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

HWND HwndOf(const Window& window) {
    return win32::HwndOf(window);
}

Rect FromRECT(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

Window::~Window() {
    if (m_native == nullptr) return;
    // Unlinked first: the window's last messages must not reach an object
    // that is being destroyed.
    HWND hwnd = m_native->Hwnd();
    m_native->Detach();
    ::DestroyWindow(hwnd);
}

bool Window::Create(std::uint32_t style, const Rect& rect, Window* parent, int id) {
    if (m_native != nullptr) return false;
    HWND parentHwnd = parent != nullptr ? HwndOf(*parent) : nullptr;
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    return NativeWindow::Create(*this, style, r, parentHwnd, id) != nullptr;
}

std::string Window::GetWindowText() const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return std::string();
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return win32::Narrow(text);
}

void Window::SetWindowText(std::string_view text) {
    if (HWND hwnd = HwndOf(*this)) SetWindowTextW(hwnd, win32::Widen(text).c_str());
}

Rect Window::GetClientRect() const {
    RECT r{};
    if (HWND hwnd = HwndOf(*this)) ::GetClientRect(hwnd, &r);
    return FromRECT(r);
}

Rect Window::GetWindowRect() const {
    RECT r{};
    if (HWND hwnd = HwndOf(*this)) ::GetWindowRect(hwnd, &r);
    return FromRECT(r);
}

Rect Window::GetPlacement() const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return Rect{};
    RECT r;
    ::GetWindowRect(hwnd, &r);
    if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) != 0)
        MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return FromRECT(r);
}

void Window::MoveWindow(const Rect& rect) {
    if (HWND hwnd = HwndOf(*this))
        ::MoveWindow(hwnd, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void Window::MoveTo(int x, int y) {
    if (HWND hwnd = HwndOf(*this))
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetClientSize(const Size& size) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return;
    RECT r{0, 0, size.width, size.height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    // Without moving, the frame's top-left stays, and so does the client's.
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Window::ShowWindow(int command) {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && ::ShowWindow(hwnd, command) != FALSE;
}

bool Window::IsWindowVisible() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && ::IsWindowVisible(hwnd) != FALSE;
}

void Window::EnableWindow(bool enable) {
    if (HWND hwnd = HwndOf(*this)) ::EnableWindow(hwnd, enable ? TRUE : FALSE);
}

bool Window::IsWindowEnabled() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && ::IsWindowEnabled(hwnd) != FALSE;
}

void Window::SetFocus() {
    if (HWND hwnd = HwndOf(*this)) ::SetFocus(hwnd);
}

bool Window::HasFocus() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && ::GetFocus() == hwnd;
}

void Window::SetFont(const Font& font) {
    if (m_native != nullptr) m_native->SetFont(font);
}

Font Window::GetFont() const {
    return m_native != nullptr ? m_native->GetFont() : Font();
}

void Window::SetIcon(const Icon& icon) {
    if (m_native == nullptr || !win32::StartGdiplus()) return;
    const auto handleOf = [&icon](int width, int height) -> HICON {
        const Image image = icon.ImageNear(Size{width, height});
        HICON made = nullptr;
        if (!image.IsNull()) image.Get()->bitmap->GetHICON(&made);
        return made;
    };
    m_native->SetIcons(handleOf(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)),
                       handleOf(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
}

void Window::SetHighlightColors(ColorRef, ColorRef) {
    // The native controls select in the desktop's colours; the skin's
    // owner-drawn ones draw their own selection.
}

void Window::SetCursor(CursorShape shape) {
    m_cursor = shape;  // shown from the next WM_SETCURSOR on
}

void Window::Invalidate() {
    if (HWND hwnd = HwndOf(*this)) ::InvalidateRect(hwnd, nullptr, TRUE);
}

void Window::InvalidateRect(const Rect& rect) {
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    if (HWND hwnd = HwndOf(*this)) ::InvalidateRect(hwnd, &r, TRUE);
}

void Window::UpdateWindow() {
    if (HWND hwnd = HwndOf(*this)) ::UpdateWindow(hwnd);
}

void Window::BringWindowToTop() {
    if (HWND hwnd = HwndOf(*this)) ::BringWindowToTop(hwnd);
}

void Window::RedrawWindow(const Rect& rect) {
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    if (HWND hwnd = HwndOf(*this))
        ::RedrawWindow(hwnd, &r, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

Window* Window::GetParent() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr ? win32::WindowOfHwnd(::GetParent(hwnd)) : nullptr;
}

namespace {

// `hwnd` or the first window after it in Z order that is a window of this
// layer. Child windows are in Z order top first; the dialog manager makes
// each control beneath the ones before, so that is template order.
Window* LayerWindowFrom(HWND hwnd) {
    for (; hwnd != nullptr; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
        if (Window* window = win32::WindowOfHwnd(hwnd)) return window;
    return nullptr;
}

}  // namespace

Window* Window::GetTopWindow() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr ? LayerWindowFrom(::GetWindow(hwnd, GW_CHILD)) : nullptr;
}

Window* Window::GetNextWindow() const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr || (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) return nullptr;
    return LayerWindowFrom(::GetWindow(hwnd, GW_HWNDNEXT));
}

int Window::GetDlgCtrlID() const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr || (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) == 0) return -1;
    return ::GetDlgCtrlID(hwnd);
}

std::uint32_t Window::GetStyle() const {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return 0;
    auto style = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_STYLE));
    // A button the backend draws is still of the type it was made.
    if (m_native->shownButtonType) style = (style & ~BS_TYPEMASK) | *m_native->shownButtonType;
    return style;
}

void Window::PreSubclassWindow() {}

void Window::OnPaint(DeviceContext&) {}
void Window::OnMouseMove(Point) {}
void Window::OnLButtonDown(Point) {}
void Window::OnLButtonUp(Point) {}
void Window::OnMouseLeave() {}
void Window::OnSize(int, int) {}

}  // namespace platform::window
