#include "platform/window/mouse_capture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>

#include "platform/window/qt/native.h"

namespace platform::window {

namespace {

class CaptureFilter : public QObject {
  public:
    QPointer<QWidget> target;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (target.isNull()) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget == target) return false;
        switch (event->type()) {
            case QEvent::MouseMove:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                const QPointF global = mouse->globalPosition();
                QMouseEvent redirected(mouse->type(), target->mapFromGlobal(global), global,
                                       mouse->button(), mouse->buttons(), mouse->modifiers());
                QPointer<QWidget> keep = target;
                QCoreApplication::sendEvent(keep.data(), &redirected);
                return true;
            }
            case QEvent::Enter:
            case QEvent::HoverEnter:
            case QEvent::HoverMove:
                // Nothing lights up under the pointer while it is captured.
                return true;
            default:
                return false;
        }
    }
};

CaptureFilter* Filter() {
    static CaptureFilter* filter = nullptr;
    if (filter == nullptr && qApp != nullptr) filter = new CaptureFilter;
    return filter;
}

}  // namespace

Window* SetCapture(Window* window) {
    CaptureFilter* filter = Filter();
    if (filter == nullptr) return nullptr;
    Window* previous = qt::WindowOf(filter->target.data());
    QWidget* widget = window != nullptr ? qt::WidgetOf(*window) : nullptr;
    filter->target = widget;
    qApp->removeEventFilter(filter);
    if (widget != nullptr) qApp->installEventFilter(filter);
    return previous;
}

void ReleaseCapture() {
    SetCapture(nullptr);
}

Window* GetCapture() {
    CaptureFilter* filter = Filter();
    return filter == nullptr ? nullptr : qt::WindowOf(filter->target.data());
}

}  // namespace platform::window
