// A window is asked to paint into a bitmap rather than onto the screen:
// WM_ERASEBKGND and WM_PRINTCLIENT into a DIB section for the picture as
// shown, the window's own paint on a transparent GDI+ bitmap for what it
// paints alone. Children are captured the same way and laid over their
// parent, bottom of the Z order first.
#include "platform/window/win32/win32_api.h"

#include <cstdint>
#include <memory>

#include "platform/window/win32/hwnd_capture.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"

namespace platform::window {

namespace {

// A 32 bpp top-down DIB section selected into a memory device context.
class DibCanvas {
  public:
    DibCanvas(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        m_dc = CreateCompatibleDC(nullptr);
        if (m_bitmap != nullptr && m_dc != nullptr) m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~DibCanvas() {
        if (m_dc != nullptr) {
            if (m_previous != nullptr) SelectObject(m_dc, m_previous);
            DeleteDC(m_dc);
        }
        if (m_bitmap != nullptr) DeleteObject(m_bitmap);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool Ready() const { return m_previous != nullptr && m_bits != nullptr; }
    HDC Dc() const { return m_dc; }
    BYTE* Bits() const { return static_cast<BYTE*>(m_bits); }

  private:
    HBITMAP m_bitmap = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
    void* m_bits = nullptr;
};

// The window's own paint on transparent pixels.
Image PaintedAlone(NativeWindow& native, int width, int height) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppPARGB);
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return Image();
    {
        Gdiplus::Graphics graphics(&bitmap);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        native.PaintOwner(graphics);
    }
    return win32::ImageFromBitmap(bitmap);
}

}  // namespace

namespace win32 {

// What WM_PRINT with PRF_ERASEBKGND | PRF_CLIENT paints, children left out
// (they are captured on their own). GDI leaves the alpha bytes undefined:
// the picture is opaque.
Image PrintClient(HWND hwnd, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return Image();
    DibCanvas canvas(width, height);
    if (!canvas.Ready()) return Image();
    // The window paints in its own client coordinates; the canvas starts
    // at the area's corner. Patterned brushes keep to the client area's
    // corner too, as on the screen.
    SetViewportOrgEx(canvas.Dc(), -area.left, -area.top, nullptr);
    SetBrushOrgEx(canvas.Dc(), -area.left, -area.top, nullptr);
    const auto dc = reinterpret_cast<WPARAM>(canvas.Dc());
    SendMessageW(hwnd, WM_ERASEBKGND, dc, 0);
    SendMessageW(hwnd, WM_PRINTCLIENT, dc, PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    Gdiplus::Bitmap opaque(width, height, width * 4, PixelFormat32bppRGB, canvas.Bits());
    return ImageFromBitmap(opaque);
}

Image CaptureHwnd(HWND hwnd, CaptureMode mode) {
    RECT client;
    if (!::GetClientRect(hwnd, &client) || client.right <= 0 || client.bottom <= 0) return Image();
    if (!win32::StartGdiplus()) return Image();
    NativeWindow* native = NativeWindow::FromHwnd(hwnd);
    // A native control paints its whole area: as shown is all it paints.
    const bool alone = mode == CaptureMode::PaintOnly && native != nullptr &&
                       native->Owner() != nullptr && native->Owner()->PaintsItself();
    const Image own = alone ? PaintedAlone(*native, client.right, client.bottom)
                            : win32::PrintClient(hwnd, client);
    HWND first = GetWindow(hwnd, GW_CHILD);
    if (first == nullptr || own.IsNull()) return own;
    return PaintOnImage(own, [&](DeviceContext& dc) {
        // A backdrop (a background picture clipping its siblings) is on top
        // of the Z order but beneath every other control, as it is painted
        // first; then the others, bottom of the Z order first.
        for (const bool backdrops : {true, false}) {
            for (HWND child = GetWindow(first, GW_HWNDLAST); child != nullptr;
                 child = GetWindow(child, GW_HWNDPREV)) {
                const bool backdrop = (GetWindowLongW(child, GWL_STYLE) & WS_CLIPSIBLINGS) != 0;
                if (backdrop == backdrops) DrawChild(dc, hwnd, child, POINT{0, 0}, mode);
            }
        }
    });
}

void DrawChild(DeviceContext& dc, HWND parent, HWND child, POINT origin, CaptureMode mode) {
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) return;
    // A transparent child lets its parent show where it paints nothing.
    NativeWindow* childNative = NativeWindow::FromHwnd(child);
    const bool transparent = childNative != nullptr && childNative->PaintsTransparent();
    RECT at;
    ::GetWindowRect(child, &at);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&at), 2);
    dc.DrawImage(Point{at.left - origin.x, at.top - origin.y},
                 CaptureHwnd(child, transparent ? CaptureMode::PaintOnly : mode));
}

}  // namespace win32

Image CaptureWindow(const Window& window, CaptureMode mode) {
    HWND hwnd = win32::HwndOf(window);
    return hwnd != nullptr ? win32::CaptureHwnd(hwnd, mode) : Image();
}

}  // namespace platform::window
