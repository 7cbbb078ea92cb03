#include "platform/window/qt/dialog_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWindow>

#include "platform/window/control_properties.h"
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
            if (dialog->PreTranslateMessage(watched, event)) return true;
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
