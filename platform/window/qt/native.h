// The Qt backend's side of a Window: the widget that is its native window.
// Private to the backend and to tests that drive it (QTest presses keys and
// clicks on widgets); nothing above the window layer includes it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/window/window.h"

namespace platform::window {

// Links one widget to the Window object it is the native window of. The
// widget class derives from it (see host.h); the link goes when either side
// goes first.
class NativeWindow {
  public:
    NativeWindow(Window& owner, QWidget& widget);
    virtual ~NativeWindow();

    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    // Null once the object has let go of its window.
    Window* Owner() const { return m_owner; }
    QWidget& Widget() const { return m_widget; }

    // Unlinks from the object, which no longer has a native window.
    void Detach();

  protected:
    // The object's handlers, for the widget's event handlers.
    bool OwnerPaintsItself() const { return m_owner != nullptr && m_owner->m_paintsItself; }
    bool OwnerPaintsOpaque() const { return OwnerPaintsItself() && m_owner->m_paintsOpaque; }
    bool OwnerTracksMouse() const { return m_owner != nullptr && m_owner->m_tracksMouse; }
    bool OwnerPaintsTransparent() const {
        return OwnerPaintsItself() && m_owner->m_paintsTransparent;
    }
    void Paint(DeviceContext& dc) {
        if (m_owner != nullptr) m_owner->OnPaint(dc);
    }
    void MouseMove(Point point) {
        if (m_owner != nullptr) m_owner->OnMouseMove(point);
    }
    void LButtonDown(Point point) {
        if (m_owner != nullptr) m_owner->OnLButtonDown(point);
    }
    void LButtonUp(Point point) {
        if (m_owner != nullptr) m_owner->OnLButtonUp(point);
    }
    void MouseLeave() {
        if (m_owner != nullptr) m_owner->OnMouseLeave();
    }
    void Size(int width, int height) {
        if (m_owner != nullptr) m_owner->OnSize(width, height);
    }
    // A button's push starts or ends (see ButtonControl; qt/button_host.cpp).
    void PushStarted();
    void PushEnded();

  private:
    Window* m_owner;
    QWidget& m_widget;
};

class Dialog;

namespace qt {

// The widget behind a window; null when it has none.
QWidget* WidgetOf(const Window& window);
inline QWidget* WidgetOf(const Window* window) {
    return window != nullptr ? WidgetOf(*window) : nullptr;
}
// The window object a widget is the native window of; null for a widget
// that is none.
Window* WindowOf(const QWidget* widget);
// The dialog whose window holds `control`; null when it is in none.
Dialog* DialogOf(const QWidget* control);

}  // namespace qt

}  // namespace platform::window
