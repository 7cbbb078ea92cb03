#include "platform/window/qt/dialog_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWindow>

#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/message_event.h"

namespace platform::window {

namespace {

// What PreTranslateMessage is shown, as a Win32 message loop shows it the
// mouse and keyboard messages before they are dispatched.
bool IsInputEvent(QEvent::Type type) {
    return type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
           type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick ||
           type == QEvent::KeyPress;
}

// The virtual key of a Qt key: letters and digits are their own codes.
std::uintptr_t VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::uintptr_t>(key);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Delete:
            return VK_DELETE;
        default:
            return 0;
    }
}

unsigned MouseMessageOf(QEvent::Type type, Qt::MouseButton button) {
    if (type == QEvent::MouseMove) return WM_MOUSEMOVE;
    const bool down = type == QEvent::MouseButtonPress;
    const bool twice = type == QEvent::MouseButtonDblClick;
    switch (button) {
        case Qt::RightButton:
            return twice ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case Qt::MiddleButton:
            return down || twice ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return twice ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    }
}

// The event as the message PreTranslateMessage reads, for the nearest
// window of the layer at or above `widget`.
InputMessage InputMessageOf(QWidget* widget, QEvent* event) {
    InputMessage message;
    for (QWidget* w = widget; w != nullptr && message.window == nullptr; w = w->parentWidget())
        message.window = qt::WindowOf(w);
    if (event->type() == QEvent::KeyPress) {
        message.message = WM_KEYDOWN;
        message.wParam = VirtualKeyOf(static_cast<QKeyEvent*>(event)->key());
        message.point = FromQPoint(QCursor::pos());
        return message;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    message.message = MouseMessageOf(event->type(), mouse->button());
    message.point = FromQPoint(mouse->globalPosition().toPoint());
    return message;
}

}  // namespace

Dialog* qt::DialogOf(const QWidget* control) {
    for (QWidget* w = control->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* dialog = dynamic_cast<Dialog*>(WindowOf(w))) return dialog;
        if (w->isWindow()) return nullptr;
    }
    return nullptr;
}

DialogHost::DialogHost(Dialog& dialog, QWidget* parent)
    : qt::Host<QWidget>(dialog, parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void DialogHost::ConnectNotifications(QWidget* control) {
    // Any control class with a clicked() signal reports BN_CLICKED, so that
    // custom button classes need no code of their own for it.
    const QMetaObject* meta = control->metaObject();
    int signal = meta->indexOfSignal("clicked(bool)");
    if (signal < 0) signal = meta->indexOfSignal("clicked()");
    if (signal < 0) return;
    const int slot = metaObject()->indexOfSlot("ControlClicked()");
    QObject::connect(control, meta->method(signal), this, metaObject()->method(slot),
                     Qt::UniqueConnection);
}

void DialogHost::ControlClicked() {
    auto* control = qobject_cast<QWidget*>(sender());
    Dialog* dialog = Owner();
    if (control == nullptr || dialog == nullptr) return;
    dialog->DispatchCommand(ControlId(control), BN_CLICKED);
}

bool DialogHost::event(QEvent* event) {
    if (event->type() == MessageEvent::EventType()) {
        auto* message = static_cast<MessageEvent*>(event);
        Dialog* dialog = Owner();
        // A message for an earlier window of this object is dropped.
        if (dialog == nullptr || !dialog->m_created || message->Target() != dialog->m_handle)
            return true;
        const auto found = dialog->m_messageHandlers.find(message->Get().id);
        if (found != dialog->m_messageHandlers.end()) {
            const MessageHandler handler = found->second;
            message->result = handler(message->Get());
        } else if (message->Get().id == WM_COMMAND) {
            // A menu item's choice: a command like a control's.
            const std::uintptr_t wParam = message->Get().wParam;
            dialog->DispatchCommand(static_cast<int>(LoWord(wParam)),
                                    static_cast<int>(HiWord(wParam)));
        }
        return true;
    }
    return QWidget::event(event);
}

bool DialogHost::eventFilter(QObject* watched, QEvent* event) {
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_created && IsInputEvent(event->type())) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            Depth depth(dialog->m_dispatchDepth);
            if (dialog->PreTranslateMessage(InputMessageOf(widget, event))) return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DialogHost::timerEvent(QTimerEvent* event) {
    if (Dialog* dialog = Owner()) {
        for (const auto& [id, qtId] : dialog->m_timers) {
            if (qtId == event->timerId()) {
                const int ourId = id;  // the handler may change the timers
                dialog->OnTimer(ourId);
                return;
            }
        }
    }
    QWidget::timerEvent(event);
}

void DialogHost::keyPressEvent(QKeyEvent* event) {
    Dialog* dialog = Owner();
    if (dialog == nullptr || !dialog->m_created ||
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            dialog->IssueDialogCommand(dialog->DefaultCommandId());
            return;
        case Qt::Key_Escape:
            event->accept();
            dialog->IssueDialogCommand(IDCANCEL);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void DialogHost::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_created && !event->spontaneous()) dialog->OnShowWindow(true);
}

void DialogHost::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_created && !event->spontaneous())
        dialog->OnShowWindow(false);
}

void DialogHost::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_created) dialog->OnMove(x(), y());
}

void DialogHost::closeEvent(QCloseEvent* event) {
    // Closing is a request the dialog answers itself (IDCANCEL by default);
    // the window never just disappears under its owner.
    event->ignore();
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_created) dialog->OnClose();
}

void DialogHost::mousePressEvent(QMouseEvent* event) {
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_dragAnywhere && event->button() == Qt::LeftButton) {
        event->accept();
        if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
        dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        return;
    }
    qt::Host<QWidget>::mousePressEvent(event);
}

void DialogHost::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset);
        event->accept();
        return;
    }
    qt::Host<QWidget>::mouseMoveEvent(event);
}

void DialogHost::mouseReleaseEvent(QMouseEvent* event) {
    if (dragOffset && event->button() == Qt::LeftButton) {
        dragOffset.reset();
        event->accept();
        return;
    }
    qt::Host<QWidget>::mouseReleaseEvent(event);
}

}  // namespace platform::window
