#include "platform/window/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

#include "platform/window/button_control.h"
#include "platform/window/control_factory.h"
#include "platform/window/data_exchange.h"
#include "platform/window/dialog_units.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/styles.h"
#include "platform/window/window_frame.h"

namespace platform::window {

namespace {

// Counts a handler in progress for its length.
class Depth {
  public:
    explicit Depth(int& depth) : m_depth(depth) { ++m_depth; }
    ~Depth() { --m_depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;

  private:
    int& m_depth;
};

// What PreTranslateMessage is shown, as a Win32 message loop shows it the
// mouse and keyboard messages before they are dispatched.
bool IsInputEvent(QEvent::Type type) {
    return type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
           type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick ||
           type == QEvent::KeyPress;
}

}  // namespace

Dialog::Dialog(const DialogTemplate* dialogTemplate, QWidget* parent)
    : QWidget(parent, Qt::Window), m_template(dialogTemplate) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Dialog::~Dialog() {
    // The members the bindings point at belong to a derived class that is
    // already gone; they are not touched again.
    m_unbinders.clear();
    DestroyWindow();
}

// ---- Creation and end ------------------------------------------------------

int Dialog::DoModal() {
    if (m_created || m_modalRunning) return -1;
    m_result = -1;
    QEventLoop loop;
    m_loop = &loop;
    // Running from here on, so that EndDialog in OnInitDialog ends the run.
    m_modalRunning = true;
    if (!CreateWindowFromTemplate(parentWidget())) {
        m_loop = nullptr;
        m_modalRunning = false;
        return -1;
    }
    if (m_modalRunning) {
        setWindowModality(Qt::ApplicationModal);
        show();
        loop.exec(QEventLoop::DialogExec);
    }
    m_loop = nullptr;
    m_modalRunning = false;
    const int result = m_result;
    DestroyWindow();
    setWindowModality(Qt::NonModal);
    return result;
}

bool Dialog::Create(QWidget* parent) {
    if (m_created) return false;
    if (!CreateWindowFromTemplate(parent != nullptr ? parent : parentWidget())) return false;
    if ((m_template->style & WS_VISIBLE) != 0) show();
    return true;
}

void Dialog::EndDialog(int result) {
    m_result = result;
    if (m_modalRunning) {
        m_modalRunning = false;
        hide();
        if (m_loop != nullptr) m_loop->exit(0);
        return;
    }
    hide();
}

void Dialog::DestroyWindow() {
    if (!m_created) return;
    {
        Depth depth(m_dispatchDepth);
        OnDestroy();
    }
    m_created = false;
    for (const auto& [id, qtId] : m_timers) killTimer(qtId);
    m_timers.clear();
    qApp->removeEventFilter(this);
    UnregisterWindow(m_handle);
    m_handle = WindowHandle();
    if (QWidget* captured = GetCapture(); captured == this || isAncestorOf(captured))
        ReleaseCapture();
    if (m_modalRunning) {
        m_modalRunning = false;
        if (m_loop != nullptr) m_loop->exit(0);
    }
    hide();
    for (const auto& unbind : m_unbinders) unbind();
    m_unbinders.clear();
    const QObjectList children = this->children();
    for (QObject* child : children) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr) continue;
        if (widget->isWindow()) {
            // A window this one owns dies with it, but its object belongs to
            // whoever created it.
            if (auto* owned = dynamic_cast<Dialog*>(widget)) owned->DestroyWindow();
            // A message box or file dialog this window opened goes with it
            // (its caller gets the Cancel answer): left open, it would keep
            // its modal run, and the program, waiting for the operator.
            else if (auto* box = qobject_cast<QDialog*>(widget); box != nullptr && box->isVisible())
                box->reject();
            continue;
        }
        DeleteControl(widget);
    }
}

bool Dialog::CreateWindowFromTemplate(QWidget* parent) {
    if (m_template == nullptr) return false;
    const DialogTemplate& tmpl = *m_template;

    Qt::WindowFlags flags = Qt::Window;
    // A caption-less window gets nothing from the window system; the frame
    // its style asks for is drawn by the window itself (see window_frame.h).
    const bool captionless = (tmpl.style & WS_CAPTION) != WS_CAPTION;
    if (captionless) flags |= Qt::FramelessWindowHint;
    if ((tmpl.exStyle & WS_EX_TOPMOST) != 0) flags |= Qt::WindowStaysOnTopHint;
    if ((tmpl.exStyle & WS_EX_TOOLWINDOW) != 0) flags |= Qt::Tool;
    setParent(parent, flags);

    m_templateFont = MakeFont(FontOf(tmpl), LAYOUT_DPI);
    setFont(m_templateFont);
    setWindowTitle(
        QString::fromUtf8(tmpl.caption.data(), static_cast<qsizetype>(tmpl.caption.size())));
    const BaseUnits base = MeasureBaseUnits(m_templateFont);
    resize(HorizontalPixels(tmpl.cx, base), VerticalPixels(tmpl.cy, base));

    CreateControls();
    if (const int frame = CaptionlessFrameWidth(tmpl.style, tmpl.exStyle); captionless && frame > 0)
        m_frame = new WindowFrame(this, frame);
    PlaceInitially();

    m_handle = RegisterWindow(this);
    m_created = true;
    qApp->installEventFilter(this);

    UpdateData(false);
    RefreshControlColors();
    bool focusFirst = false;
    {
        Depth depth(m_dispatchDepth);
        focusFirst = OnInitDialog();
    }
    if (m_frame) m_frame->FitAndRaise();
    if (focusFirst && m_created) {
        for (QObject* child : children()) {
            auto* control = qobject_cast<QWidget*>(child);
            if (control != nullptr && IsControl(control) && !control->isHidden() &&
                control->isEnabled() && (ControlStyle(control) & WS_TABSTOP) != 0) {
                control->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }
    return m_created;
}

void Dialog::CreateControls() {
    const BaseUnits base = MeasureBaseUnits(m_templateFont);
    for (const ControlTemplate& item : m_template->controls) {
        const QRect pixels(HorizontalPixels(item.x, base), VerticalPixels(item.y, base),
                           HorizontalPixels(item.cx, base), VerticalPixels(item.cy, base));
        QWidget* control = CreateControl(item, pixels, this);
        ConnectNotifications(control);
    }
}

void Dialog::PlaceInitially() {
    QWidget* owner = parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    if ((m_template->style & DS_CENTER) != 0) {
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
        return;
    }
    // Template coordinates are relative to the owner's client area, or to
    // the screen for a window without owner.
    const BaseUnits base = MeasureBaseUnits(m_templateFont);
    QPoint origin = area.topLeft();
    if (owner != nullptr) origin = owner->mapToGlobal(QPoint(0, 0));
    move(origin +
         QPoint(HorizontalPixels(m_template->x, base), VerticalPixels(m_template->y, base)));
}

void Dialog::ConnectNotifications(QWidget* control) {
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

void Dialog::ControlClicked() {
    auto* control = qobject_cast<QWidget*>(sender());
    if (control == nullptr) return;
    DispatchCommand(ControlId(control), BN_CLICKED);
}

void Dialog::ReplaceControl(QWidget* old, QWidget* fresh) {
    SetControlProperties(fresh, ControlId(old), ControlStyle(old), ControlKindOf(old));
    fresh->setGeometry(old->geometry());
    if (old->testAttribute(Qt::WA_SetFont)) fresh->setFont(old->font());
    fresh->setEnabled(old->isEnabled());
    fresh->setFocusPolicy(old->focusPolicy());
    const QString text = GetControlText(old);
    if (!text.isEmpty()) SetControlText(fresh, text);
    fresh->stackUnder(old);
    fresh->setVisible(!old->isHidden());
    ConnectNotifications(fresh);
    if (old->hasFocus()) fresh->setFocus();
    DeleteControl(old);
    ApplyControlColors(fresh);
}

void Dialog::DeleteControl(QWidget* control) {
    control->hide();
    if (m_dispatchDepth > 0) {
        // A control may be the one whose notification is being handled:
        // take it out of the dialog now and free it once that is over.
        control->setParent(nullptr);
        control->deleteLater();
        return;
    }
    delete control;
}

// ---- Controls ---------------------------------------------------------------

QWidget* Dialog::GetDlgItem(int id) const {
    return FindControl(const_cast<Dialog*>(this), id);
}

bool Dialog::UpdateData(bool saveAndValidate) {
    if (!m_created) return false;
    DataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailure&) {
        return false;
    }
    return true;
}

void Dialog::AddBinding(std::function<void()> unbind) {
    m_unbinders.push_back(std::move(unbind));
}

QWidget* Dialog::GetOwnerWindow() const {
    if (QObject* owner = LookupWindow(m_ownerReference)) {
        if (auto* widget = qobject_cast<QWidget*>(owner)) return widget;
    }
    return parentWidget();
}

// ---- Timers -----------------------------------------------------------------

bool Dialog::SetTimer(int id, int milliseconds) {
    if (!m_created) return false;
    KillTimer(id);
    const int qtId = startTimer(milliseconds < 0 ? 0 : milliseconds, Qt::PreciseTimer);
    if (qtId == 0) return false;
    m_timers[id] = qtId;
    return true;
}

bool Dialog::KillTimer(int id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return false;
    killTimer(found->second);
    m_timers.erase(found);
    return true;
}

void Dialog::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : m_timers) {
        if (qtId == event->timerId()) {
            const int ourId = id;  // the handler may change m_timers
            OnTimer(ourId);
            return;
        }
    }
    QWidget::timerEvent(event);
}

// ---- Messages and commands --------------------------------------------------

void Dialog::MapMessage(unsigned id, MessageHandler handler) {
    m_messageHandlers[id] = std::move(handler);
}

void Dialog::MapCommand(int id, int code, CommandHandler handler) {
    m_commandHandlers[{id, code}] = std::move(handler);
}

void Dialog::DispatchCommand(int id, int code) {
    if (!m_created) return;
    Depth depth(m_dispatchDepth);
    OnCommand(id, code);
}

bool Dialog::DispatchDrawItem(DrawItem& item) {
    if (!m_created) return false;
    Depth depth(m_dispatchDepth);
    return OnDrawItem(item);
}

bool Dialog::OnCommand(int id, int code) {
    const auto found = m_commandHandlers.find({id, code});
    if (found != m_commandHandlers.end()) {
        // A copy: the handler may replace its own entry.
        const CommandHandler handler = found->second;
        handler();
        return true;
    }
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool Dialog::event(QEvent* event) {
    if (event->type() == MessageEvent::EventType()) {
        auto* message = static_cast<MessageEvent*>(event);
        // A message for an earlier window of this object is dropped.
        if (!m_created || message->Target() != m_handle) return true;
        const auto found = m_messageHandlers.find(message->Get().id);
        if (found != m_messageHandlers.end()) {
            const MessageHandler handler = found->second;
            message->result = handler(message->Get());
        } else if (message->Get().id == WM_COMMAND) {
            // A menu item's choice: a command like a control's.
            const std::uintptr_t wParam = message->Get().wParam;
            DispatchCommand(static_cast<int>(LoWord(wParam)), static_cast<int>(HiWord(wParam)));
        }
        return true;
    }
    return QWidget::event(event);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
    if (m_created && IsInputEvent(event->type())) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) {
            Depth depth(m_dispatchDepth);
            if (PreTranslateMessage(watched, event)) return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int Dialog::DefaultCommandId() const {
    // The focused push button is the default one; else the template's
    // default push button; else IDOK.
    if (auto* focused = qobject_cast<ButtonControl*>(focusWidget())) {
        if (IsControl(focused)) return ControlId(focused);
    }
    for (QObject* child : children()) {
        auto* button = qobject_cast<ButtonControl*>(child);
        if (button != nullptr && button->IsDefaultButton()) return ControlId(button);
    }
    return IDOK;
}

void Dialog::IssueDialogCommand(int id) {
    if (QWidget* control = GetDlgItem(id); control != nullptr && !control->isEnabled()) return;
    DispatchCommand(id, BN_CLICKED);
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    if (!m_created || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            IssueDialogCommand(DefaultCommandId());
            return;
        case Qt::Key_Escape:
            event->accept();
            IssueDialogCommand(IDCANCEL);
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

// ---- The window -------------------------------------------------------------

bool Dialog::ShowWindow(int command) {
    const bool wasVisible = isVisible();
    switch (command) {
        case SW_HIDE:
            hide();
            break;
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA:
            setAttribute(Qt::WA_ShowWithoutActivating, true);
            show();
            setAttribute(Qt::WA_ShowWithoutActivating, false);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            showMinimized();
            break;
        case SW_RESTORE:
            showNormal();
            break;
        default:
            show();
            break;
    }
    return wasVisible;
}

Rect Dialog::GetClientRect() const {
    return Rect{0, 0, width(), height()};
}

Rect Dialog::GetWindowRect() const {
    return FromQRect(frameGeometry());
}

void Dialog::MoveTo(int x, int y) {
    move(x, y);
}

void Dialog::MoveWindow(const Rect& client) {
    setGeometry(ToQRect(client));
}

void Dialog::PlaceBehind(QWidget* other) {
    if (other == nullptr || other == this) return;
    if (!isWindow() && other->parentWidget() == parentWidget()) {
        stackUnder(other);
        return;
    }
    if (m_modalRunning) {
        // A modal window blocks every other window of the program, as an
        // owned window on Win32 stays above its owner whatever it asks for:
        // beneath the window it blocks it would look like a frozen console.
        raise();
        return;
    }
    // Windows have no "stack under" of their own: lift this one, then the
    // other above it, which leaves this directly behind the other.
    raise();
    other->window()->raise();
}

void Dialog::SetTopMost(bool topMost) {
    if (testAttribute(Qt::WA_WState_Created) && isVisible()) {
        setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
        show();  // changing the flags of a shown window hides it
        return;
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
}

void Dialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_created && !event->spontaneous()) OnShowWindow(true);
}

void Dialog::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_created && !event->spontaneous()) OnShowWindow(false);
}

void Dialog::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_created) OnMove(x(), y());
}

void Dialog::closeEvent(QCloseEvent* event) {
    // Closing is a request the dialog answers itself (IDCANCEL by default);
    // the window never just disappears under its owner.
    event->ignore();
    if (m_created) OnClose();
}

void Dialog::mousePressEvent(QMouseEvent* event) {
    if (m_dragAnywhere && event->button() == Qt::LeftButton) {
        event->accept();
        if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Dialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragOffset && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *m_dragOffset);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void Dialog::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragOffset && event->button() == Qt::LeftButton) {
        m_dragOffset.reset();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

// ---- Colours ----------------------------------------------------------------

void Dialog::RefreshControlColors(QWidget* control) {
    if (control != nullptr) {
        ApplyControlColors(control);
        return;
    }
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && IsControl(widget)) ApplyControlColors(widget);
    }
}

void Dialog::ApplyControlColors(QWidget* control) {
    ControlColors colors;
    OnCtlColor(control, colors);
    if (!colors.text && !colors.background) return;
    QPalette palette = control->palette();
    if (colors.text) {
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, ToQColor(*colors.text));
    }
    if (colors.background) {
        palette.setBrush(QPalette::Window, *colors.background);
        control->setAutoFillBackground(true);
    }
    control->setPalette(palette);
}

// ---- Default handlers -------------------------------------------------------

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnInitDialog() {
    return true;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::OnTimer(int) {}

bool Dialog::PreTranslateMessage(QObject*, QEvent*) {
    return false;
}

void Dialog::OnShowWindow(bool) {}

void Dialog::OnMove(int, int) {}

void Dialog::OnClose() {
    IssueDialogCommand(IDCANCEL);
}

void Dialog::OnDestroy() {}

void Dialog::OnCtlColor(QWidget*, ControlColors&) {}

bool Dialog::OnDrawItem(DrawItem&) {
    return false;
}

}  // namespace platform::window
