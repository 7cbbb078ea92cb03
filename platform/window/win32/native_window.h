// The Win32 backend's side of a Window: the HWND that is its native window,
// made from the backend's own window class, whose window procedure hands
// paints, mouse and size to the Window's handlers. Private to the backend
// and to the tests that drive it.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/window/font.h"
#include "platform/window/window.h"
#include "platform/window/window_handle.h"

namespace platform::window {

class NativeWindow {
  public:
    // Makes the HWND (a child of `parent` when given, else a top-level
    // popup) with the window's client area at `rect`. Null when Windows
    // refuses; the object is then not attached.
    static NativeWindow* Create(Window& owner, DWORD style, const RECT& rect, HWND parent, int id);
    // Attaches `owner` to an HWND made elsewhere (a control or a dialog the
    // dialog manager made): the window keeps its class and its own
    // procedure, which gets every message after this one's. Null when the
    // HWND is gone or already a window of this layer.
    static NativeWindow* Subclass(Window& owner, HWND hwnd);

    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    // Null once the object has let go of its window.
    Window* Owner() const { return m_owner; }
    // The handle posted messages reach this window by.
    WindowHandle Handle() const { return m_handle; }

    // Unlinks from the object, which no longer has a native window; the
    // HWND lives until it is destroyed.
    void Detach();
    // Hands the window from its object to `owner` (SubclassDlgItem on a
    // control the dialog made): the old object, when the window owned it,
    // is kept until the window goes, as one of its handlers may still be
    // running.
    void Reattach(Window& owner);
    // Makes the window own its object, freed when the window is destroyed
    // (the control objects a dialog makes for its template).
    void Own(std::unique_ptr<Window> owner);

    // The window's own procedure, for what this one leaves to it.
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);

    // What handles the layer's posted and sent messages (a dialog's message
    // map); unset, they are dropped with their payload.
    void SetMessageHandler(std::function<std::intptr_t(Message&)> handler) {
        m_messageHandler = std::move(handler);
    }
    std::intptr_t HandleLayerMessage(Message& message);

    // The font WM_SETFONT gave, as the layer's Font; the GDI font object
    // lives as long as the window.
    void SetFont(const Font& font);
    Font GetFont() const;
    // The font the window was given elsewhere (the dialog manager gives
    // each control the template's), for GetFont.
    void RecordFont(const Font& font) { m_font = font; }

    // Gives the window its icons (WM_SETICON), which it owns from then on.
    void SetIcons(HICON small, HICON big);

    // The native side of an HWND of the backend's class, else null.
    static NativeWindow* FromHwnd(HWND hwnd);

    // The backend's window class, registered on first use (null when
    // Windows refuses): dialog templates name it for their custom controls.
    static const wchar_t* ClassName();
    // Runs the owner's OnPaint on `graphics` in the window's font, nothing
    // erased first; false when the window does not paint itself.
    bool PaintOwner(Gdiplus::Graphics& graphics);
    // A button's pushes by the operator (ButtonControl's OnPushStarted and
    // OnPushEnded).
    void PushStarted();
    void PushEnded();
    // The style the window had when its object took it over (a template
    // control's own bits).
    DWORD StyleAsMade() const { return m_styleAsMade; }
    // The button type the program sees while the backend draws the button
    // itself (BS_OWNERDRAW natively); unset otherwise.
    std::optional<DWORD> shownButtonType;

    // Whether what lies beneath shows wherever the window paints nothing.
    bool PaintsTransparent() const { return m_owner != nullptr && m_owner->m_paintsTransparent; }
    // Paints `area` of the window into `target` through a buffer of the
    // client area's size (a paint, WM_PRINTCLIENT, an owner-drawn item).
    void PaintInto(HDC target, const RECT& area);

    // Sees a message before the window's own handling: a dialog's
    // procedure, a control's native side. Returns the result when it
    // handled the message.
    using Filter = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;
    void SetFilter(Filter filter) { m_filter = std::move(filter); }

  private:
    NativeWindow(Window& owner, HWND hwnd, WNDPROC previous);
    ~NativeWindow();  // from WM_NCDESTROY only

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Install();
    void EraseInto(HDC buffer, const RECT& client);

    Window* m_owner;
    HWND m_hwnd;
    WNDPROC m_previous;
    DWORD m_styleAsMade = 0;
    Filter m_filter;
    std::unique_ptr<Window> m_ownedObject;
    std::vector<std::unique_ptr<Window>> m_retiredObjects;
    WindowHandle m_handle;
    std::function<std::intptr_t(Message&)> m_messageHandler;
    Font m_font;
    HFONT m_gdiFont = nullptr;
    HICON m_smallIcon = nullptr;
    HICON m_bigIcon = nullptr;
    bool m_trackingLeave = false;
    // Set while a message is handled: told when the window goes meanwhile.
    bool* m_destroyed = nullptr;
};

namespace win32 {

// The native window of a Window, or of the window a handle names; null when
// there is none.
NativeWindow* NativeOf(const Window& window);
HWND HwndOf(const Window& window);
// The Window an HWND is the native window of; null for any other window
// (another class, another program's, a destroyed one).
Window* WindowOfHwnd(HWND hwnd);

// The message that tells a window a layer message waits for it in the
// registry (registered once, so no other window class uses the number).
UINT PostedMessageWake();
// Registers a native window's handle; messages posted to it queue until
// the window takes them one by one (TakePosted) and are freed with the
// queue when it is unregistered.
WindowHandle RegisterWindow(NativeWindow& window);
void UnregisterWindow(WindowHandle handle);
NativeWindow* LookupWindow(WindowHandle handle);
// The oldest message posted to the window; false when none waits.
bool TakePosted(WindowHandle handle, Message& message);

}  // namespace win32

}  // namespace platform::window
