// A native window for a Window: a Qt widget class (QWidget, QPushButton, ...)
// whose paint, mouse and resize events go to the Window's handlers. Paint
// events reach OnPaint only for a window that paints itself; the widget's
// own painting runs otherwise. Mouse and resize events are handed to the
// handler first, then to the widget as usual; a window that tracks the
// mouse gets moves without a held button, its entering as one of them.
#pragma once

#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>

#include <memory>
#include <utility>

#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"

namespace platform::window::qt {

template <class Base>
class Host : public Base, public NativeWindow {
  public:
    template <class... Args>
    explicit Host(Window& owner, Args&&... args)
        : Base(std::forward<Args>(args)...), NativeWindow(owner, *this) {
        if (OwnerPaintsOpaque()) this->setAttribute(Qt::WA_OpaquePaintEvent);
        if (OwnerTracksMouse()) this->setMouseTracking(true);
        // Never fill a background, even when an owner asks for one.
        if (OwnerPaintsTransparent()) this->setAttribute(Qt::WA_NoSystemBackground);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (!OwnerPaintsItself()) {
            Base::paintEvent(event);
            return;
        }
        PaintWidget(*this, [this](DeviceContext& dc) { Paint(dc); });
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        MouseMove(FromQPoint(event->position().toPoint()));
        Base::mouseMoveEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) LButtonDown(FromQPoint(event->position().toPoint()));
        Base::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) LButtonUp(FromQPoint(event->position().toPoint()));
        Base::mouseReleaseEvent(event);
    }
    void enterEvent(QEnterEvent* event) override {
        // Win32 has no entering message: the first move says it.
        if (OwnerTracksMouse()) MouseMove(FromQPoint(event->position().toPoint()));
        Base::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        MouseLeave();
        Base::leaveEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override {
        Size(event->size().width(), event->size().height());
        Base::resizeEvent(event);
    }
};

// The native window of a control a dialog made for a Window class (from
// its template, or SubclassDlgItem): it owns the object and deletes it with
// itself, as an auto-deleting MFC window deletes itself once its window is
// gone. `Base` is the widget class of the control's native kind.
template <class Base>
class OwningHost : public Host<Base> {
  public:
    OwningHost(std::unique_ptr<Window> object, QWidget* parent)
        : Host<Base>(*object, parent), m_object(std::move(object)) {}
    // Unlinked first: the object must not see the widget's last events.
    ~OwningHost() override { this->Detach(); }

  private:
    std::unique_ptr<Window> m_object;
};

// A control that paints itself or draws nothing: a plain widget.
using ControlHost = OwningHost<QWidget>;

}  // namespace platform::window::qt
