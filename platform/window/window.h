// Window: the object every window of the layer is (CWnd in MFC terms), a
// dialog, a control or a window that paints itself. The C++ object and its
// native window have separate lives: the object is constructed first, the
// backend attaches a native window to it (a dialog's Create or DoModal, a
// control created from a template or subclassed) and detaches it when the
// native window is destroyed; the object stays readable afterwards and every
// call on it without a native window is a harmless no-op.
//
// A custom window overrides the handlers it needs. OnPaint is called only
// for a window that says in its constructor that it paints itself; other
// windows are painted by their native control.
//
//   class CLogo : public Window {
//   public:
//       CLogo() { SetPaintsItself(); }
//   protected:
//       void OnPaint(DeviceContext& dc) override { dc.FillSolidRect(GetClientRect(), ...); }
//       void OnLButtonDown(Point point) override { ... }
//   };
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window/device_context.h"
#include "platform/window/font.h"
#include "platform/window/geometry.h"
#include "platform/window/icon.h"

namespace platform::window {

// The backend's native window behind a Window; only the backend sees inside.
class NativeWindow;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// Standard cursor shapes (LoadCursor's IDC_ARROW, IDC_HAND, IDC_WAIT).
enum class CursorShape { Arrow, Hand, Wait };

class Window {
  public:
    Window() = default;
    // Destroys the native window when one is still attached.
    virtual ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The native window; null before it is attached and after it is gone.
    NativeWindow* Native() const { return m_native; }

    // Makes a plain native window for this object (CWnd::Create): a child
    // of `parent` with control id `id`, or a top-level window when `parent`
    // is null; shown when `style` has WS_VISIBLE. False when the object has
    // a window already.
    bool Create(std::uint32_t style, const Rect& rect, Window* parent = nullptr, int id = -1);

    // ---- Text and geometry ----------------------------------------------
    // The window text (a top-level window's caption), UTF-8.
    std::string GetWindowText() const;
    void SetWindowText(std::string_view text);
    // Client rectangle: (0, 0, width, height).
    Rect GetClientRect() const;
    // The whole window (frame included) in screen coordinates.
    Rect GetWindowRect() const;
    // The window in its parent's client coordinates (screen coordinates
    // for a top-level window), as MoveWindow takes it.
    Rect GetPlacement() const;
    // Moves and resizes the window (see GetPlacement for the coordinates).
    void MoveWindow(const Rect& rect);
    // Moves the window without resizing it.
    void MoveTo(int x, int y);
    // Resizes the client area to `size`, its top-left corner staying where
    // it is (the frame, if any, grows around it).
    void SetClientSize(const Size& size);
    // Puts the window above its siblings (BringWindowToTop).
    void BringWindowToTop();
    // The window's parent (GetParent): a child's parent window, a dialog's
    // owner; null without one and where it is no window of this layer.
    Window* GetParent() const;
    // The child windows one by one (GetTopWindow, then GetNextWindow on
    // each): a dialog's controls come in template order, the order the
    // dialog manager walks them in. Children that are no window of this
    // layer, and owned top-level windows, are passed over; null past the
    // last. A child raised with BringWindowToTop leaves that order: it is
    // walked first on Win32 (the top of the Z order), last on Qt.
    Window* GetTopWindow() const;
    Window* GetNextWindow() const;
    // The control id the window was made with (GetDlgCtrlID); -1 for none.
    int GetDlgCtrlID() const;

    // ---- State ------------------------------------------------------------
    // Returns whether the window was visible before.
    bool ShowWindow(int command);
    // Shown itself and all its ancestors (IsWindowVisible).
    bool IsWindowVisible() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetFocus();
    bool HasFocus() const;
    void SetFont(const Font& font);
    Font GetFont() const;
    // The window's icon (WM_SETICON): the image nearest each size the
    // window system shows.
    void SetIcon(const Icon& icon);
    // The colours the window and its controls show selected items and
    // focus marks in, instead of the desktop's (COLOR_HIGHLIGHT and
    // COLOR_HIGHLIGHTTEXT, which owner-drawn controls read from here).
    void SetHighlightColors(ColorRef highlight, ColorRef highlightText);
    // The cursor shown while the pointer is over the window (what it
    // answers WM_SETCURSOR with); an arrow unless set.
    void SetCursor(CursorShape shape);
    CursorShape GetCursor() const { return m_cursor; }
    // The style bits the window was made with (GetStyle): for a dialog's
    // control, its template's WS_, SS_, BS_... bits.
    std::uint32_t GetStyle() const;

    // ---- Painting ---------------------------------------------------------
    // Asks for the whole window, or `rect` of it, to be painted again.
    void Invalidate();
    void InvalidateRect(const Rect& rect);
    // Paints what is invalid now rather than when the loop is idle.
    void UpdateWindow();
    // Whether OnPaint paints the window rather than its native control.
    bool PaintsItself() const { return m_paintsItself; }
    // Paints `rect` of the window now (RedrawWindow with RDW_INVALIDATE |
    // RDW_UPDATENOW): what an animation does on each tick.
    void RedrawWindow(const Rect& rect);

    // Called once a dialog's control has been handed to this object by
    // SubclassDlgItem or DDX_Control (MFC's PreSubclassWindow): the window
    // already carries its template's style (GetStyle) and text
    // (GetWindowText), for the object to take over.
    virtual void PreSubclassWindow();

  protected:
    // Called in the constructor of a window that paints itself in OnPaint;
    // `opaque` when every paint covers the whole window, so nothing needs
    // erasing before it (WM_ERASEBKGND answered).
    void SetPaintsItself(bool opaque = false) {
        m_paintsItself = true;
        m_paintsOpaque = opaque;
    }
    // Called in the constructor of a window that follows the pointer with
    // OnMouseMove while no mouse button is held, as every Win32 window gets
    // WM_MOUSEMOVE (other toolkits send those moves only on request). The
    // pointer's entering counts as a move.
    void SetTracksMouse() { m_tracksMouse = true; }
    // Instead, for a window that paints itself and lets what lies beneath
    // show wherever it paints nothing (WS_EX_TRANSPARENT, a WM_ERASEBKGND
    // that erases nothing): no background is laid under it, whatever
    // colours its owner gives its controls.
    void SetPaintsTransparent() {
        m_paintsItself = true;
        m_paintsOpaque = false;
        m_paintsTransparent = true;
    }

    // The handlers a custom window overrides; the defaults do nothing.
    virtual void OnPaint(DeviceContext& dc);
    virtual void OnMouseMove(Point point);
    virtual void OnLButtonDown(Point point);
    virtual void OnLButtonUp(Point point);
    virtual void OnMouseLeave();
    virtual void OnSize(int width, int height);

  private:
    friend class NativeWindow;

    NativeWindow* m_native = nullptr;
    CursorShape m_cursor = CursorShape::Arrow;
    bool m_paintsItself = false;
    bool m_paintsOpaque = false;
    bool m_tracksMouse = false;
    bool m_paintsTransparent = false;
};

}  // namespace platform::window
