#include "platform/window/dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

#include "platform/window/button_control.h"
#include "platform/window/dialog_units.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/qt/control_factory.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/dialog_host.h"
#include "platform/window/qt/message_event.h"
#include "platform/window/qt/painting.h"
#include "platform/window/qt/window_frame.h"
#include "platform/window/styles.h"

namespace platform::window {

Dialog::Dialog(const DialogTemplate* dialogTemplate, Window* parent) : m_template(dialogTemplate) {
    new DialogHost(*this, parent != nullptr ? qt::WidgetOf(*parent) : nullptr);
}

Dialog::~Dialog() {
    // The members the bindings point at belong to a derived class that is
    // already gone; they are not touched again.
    m_unbinders.clear();
    DestroyWindow();
    // The widget goes with the object (~Window), unlinked before its last
    // events could reach a dialog that is no longer one.
}

DialogHost& Dialog::Host() const {
    if (Native() == nullptr) {
        // The widget of an owner destroyed first took this one with it.
        new DialogHost(const_cast<Dialog&>(*this), nullptr);
    }
    return static_cast<DialogHost&>(*Native());
}

// ---- Creation and end ------------------------------------------------------

int Dialog::DoModal() {
    if (m_created || m_modalRunning) return -1;
    m_result = -1;
    DialogHost& host = Host();
    QEventLoop loop;
    host.loop = &loop;
    // Running from here on, so that EndDialog in OnInitDialog ends the run.
    m_modalRunning = true;
    if (!CreateWindowFromTemplate(nullptr)) {
        host.loop = nullptr;
        m_modalRunning = false;
        return -1;
    }
    if (m_modalRunning) {
        host.setWindowModality(Qt::ApplicationModal);
        host.show();
        loop.exec(QEventLoop::DialogExec);
    }
    host.loop = nullptr;
    m_modalRunning = false;
    const int result = m_result;
    DestroyWindow();
    host.setWindowModality(Qt::NonModal);
    return result;
}

bool Dialog::Create(Window* parent) {
    if (m_created) return false;
    if (!CreateWindowFromTemplate(parent)) return false;
    if ((m_template->style & WS_VISIBLE) != 0) Host().show();
    return true;
}

void Dialog::EndDialog(int result) {
    m_result = result;
    if (m_modalRunning) {
        m_modalRunning = false;
        Host().hide();
        if (Host().loop != nullptr) Host().loop->exit(0);
        return;
    }
    Host().hide();
}

void Dialog::DestroyWindow() {
    if (!m_created) return;
    {
        Depth depth(m_dispatchDepth);
        OnDestroy();
    }
    m_created = false;
    DialogHost& host = Host();
    for (const auto& [id, qtId] : m_timers) host.killTimer(qtId);
    m_timers.clear();
    qApp->removeEventFilter(&host);
    UnregisterWindow(m_handle);
    m_handle = WindowHandle();
    if (Window* captured = GetCapture();
        captured != nullptr && (captured == this || host.isAncestorOf(qt::WidgetOf(*captured))))
        ReleaseCapture();
    if (m_modalRunning) {
        m_modalRunning = false;
        if (host.loop != nullptr) host.loop->exit(0);
    }
    host.hide();
    for (const auto& unbind : m_unbinders) unbind();
    m_unbinders.clear();
    const QObjectList children = host.children();
    for (QObject* child : children) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr) continue;
        if (widget->isWindow()) {
            // A window this one owns dies with it, but its object belongs to
            // whoever created it.
            if (auto* owned = dynamic_cast<Dialog*>(qt::WindowOf(widget))) owned->DestroyWindow();
            // A message box or file dialog this window opened goes with it
            // (its caller gets the Cancel answer): left open, it would keep
            // its modal run, and the program, waiting for the operator.
            else if (auto* box = qobject_cast<QDialog*>(widget); box != nullptr && box->isVisible())
                box->reject();
            continue;
        }
        host.DeleteControl(widget);
    }
}

bool Dialog::CreateWindowFromTemplate(Window* parent) {
    if (m_template == nullptr) return false;
    const DialogTemplate& tmpl = *m_template;
    DialogHost& host = Host();

    Qt::WindowFlags flags = Qt::Window;
    // A caption-less window gets nothing from the window system; the frame
    // its style asks for is drawn by the window itself (see window_frame.h).
    const bool captionless = (tmpl.style & WS_CAPTION) != WS_CAPTION;
    if (captionless) flags |= Qt::FramelessWindowHint;
    if ((tmpl.exStyle & WS_EX_TOPMOST) != 0) flags |= Qt::WindowStaysOnTopHint;
    if ((tmpl.exStyle & WS_EX_TOOLWINDOW) != 0) flags |= Qt::Tool;
    host.setParent(parent != nullptr ? qt::WidgetOf(*parent) : host.parentWidget(), flags);

    const QFont font = ToQFont(MakeFont(FontOf(tmpl), LAYOUT_DPI));
    m_templateFont = FontFromQFont(font);
    host.setFont(font);
    host.setWindowTitle(ToQString(tmpl.caption));
    const BaseUnits base = MeasureBaseUnits(font);
    host.resize(HorizontalPixels(tmpl.cx, base), VerticalPixels(tmpl.cy, base));

    CreateControls();
    if (const int frame = CaptionlessFrameWidth(tmpl.style, tmpl.exStyle); captionless && frame > 0)
        host.frame = new WindowFrame(&host, frame);
    PlaceInitially();

    m_handle = RegisterWindow(&host);
    m_created = true;
    qApp->installEventFilter(&host);

    UpdateData(false);
    RefreshControlColors();
    bool focusFirst = false;
    {
        Depth depth(m_dispatchDepth);
        focusFirst = OnInitDialog();
    }
    if (host.frame) host.frame->FitAndRaise();
    if (focusFirst && m_created) {
        for (QObject* child : host.children()) {
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
    const BaseUnits base = MeasureBaseUnits(ToQFont(m_templateFont));
    for (const ControlTemplate& item : m_template->controls) {
        const QRect pixels(HorizontalPixels(item.x, base), VerticalPixels(item.y, base),
                           HorizontalPixels(item.cx, base), VerticalPixels(item.cy, base));
        QWidget* control = CreateControl(item, pixels, &Host());
        Host().ConnectNotifications(control);
    }
}

void Dialog::PlaceInitially() {
    DialogHost& host = Host();
    QWidget* owner = host.parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    if ((m_template->style & DS_CENTER) != 0) {
        host.move(area.left() + (area.width() - host.width()) / 2,
                  area.top() + (area.height() - host.height()) / 2);
        return;
    }
    // Template coordinates are relative to the owner's client area, or to
    // the screen for a window without owner.
    const BaseUnits base = MeasureBaseUnits(ToQFont(m_templateFont));
    QPoint origin = area.topLeft();
    if (owner != nullptr) origin = owner->mapToGlobal(QPoint(0, 0));
    host.move(origin +
              QPoint(HorizontalPixels(m_template->x, base), VerticalPixels(m_template->y, base)));
}

void DialogHost::ReplaceControl(QWidget* old, QWidget* fresh) {
    SetControlProperties(fresh, ControlId(old), ControlStyle(old), ControlKindOf(old));
    fresh->setGeometry(old->geometry());
    if (old->testAttribute(Qt::WA_SetFont)) fresh->setFont(old->font());
    fresh->setEnabled(old->isEnabled());
    fresh->setFocusPolicy(old->focusPolicy());
    const Window* oldWindow = qt::WindowOf(old);
    Window* freshWindow = qt::WindowOf(fresh);
    if (oldWindow != nullptr && freshWindow != nullptr) {
        const std::string text = oldWindow->GetWindowText();
        if (!text.empty()) freshWindow->SetWindowText(text);
    }
    fresh->stackUnder(old);
    fresh->setVisible(!old->isHidden());
    ConnectNotifications(fresh);
    if (old->hasFocus()) fresh->setFocus();
    DeleteControl(old);
    ApplyControlColors(fresh);
}

void Dialog::AttachControl(Window& old, std::unique_ptr<Window> fresh) {
    QWidget* oldWidget = qt::WidgetOf(old);
    if (oldWidget == nullptr) return;
    Window* object = fresh.get();
    Host().ReplaceControl(oldWidget, MakeHost(std::move(fresh), &Host()));
    object->PreSubclassWindow();
}

void DialogHost::DeleteControl(QWidget* control) {
    control->hide();
    Dialog* dialog = Owner();
    if (dialog != nullptr && dialog->m_dispatchDepth > 0) {
        // A control may be the one whose notification is being handled:
        // take it out of the dialog now and free it once that is over.
        control->setParent(nullptr);
        control->deleteLater();
        return;
    }
    delete control;
}

// ---- Controls ---------------------------------------------------------------

Window* Dialog::GetDlgItem(int id) const {
    return qt::WindowOf(FindControl(&Host(), id));
}

// ---- Timers -----------------------------------------------------------------

bool Dialog::SetTimer(int id, int milliseconds) {
    if (!m_created) return false;
    KillTimer(id);
    const int qtId = Host().startTimer(milliseconds < 0 ? 0 : milliseconds, Qt::PreciseTimer);
    if (qtId == 0) return false;
    m_timers[id] = qtId;
    return true;
}

bool Dialog::KillTimer(int id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return false;
    Host().killTimer(found->second);
    m_timers.erase(found);
    return true;
}

// ---- Commands -------------------------------------------------------------

int Dialog::DefaultCommandId() const {
    // The focused push button is the default one; else the template's
    // default push button; else IDOK.
    const auto pushButton = [](QObject* widget) -> const ButtonControl* {
        if (qobject_cast<QPushButton*>(widget) == nullptr) return nullptr;
        return dynamic_cast<const ButtonControl*>(qt::WindowOf(static_cast<QWidget*>(widget)));
    };
    if (QWidget* focused = Host().focusWidget(); pushButton(focused) != nullptr) {
        if (IsControl(focused)) return ControlId(focused);
    }
    for (QObject* child : Host().children()) {
        const ButtonControl* button = pushButton(child);
        if (button != nullptr && button->IsDefaultButton())
            return ControlId(static_cast<QWidget*>(child));
    }
    return IDOK;
}

// ---- The window -------------------------------------------------------------

void Dialog::PlaceBehind(Window* otherWindow) {
    QWidget* other = otherWindow != nullptr ? qt::WidgetOf(*otherWindow) : nullptr;
    DialogHost& host = Host();
    if (other == nullptr || other == &host) return;
    if (!host.isWindow() && other->parentWidget() == host.parentWidget()) {
        host.stackUnder(other);
        return;
    }
    if (m_modalRunning) {
        // A modal window blocks every other window of the program, as an
        // owned window on Win32 stays above its owner whatever it asks for:
        // beneath the window it blocks it would look like a frozen console.
        host.raise();
        return;
    }
    // Windows have no "stack under" of their own: lift this one, then the
    // other above it, which leaves this directly behind the other.
    host.raise();
    other->window()->raise();
}

void Dialog::SetTopMost(bool topMost) {
    DialogHost& host = Host();
    if (host.testAttribute(Qt::WA_WState_Created) && host.isVisible()) {
        host.setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
        host.show();  // changing the flags of a shown window hides it
        return;
    }
    host.setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
}

// ---- Colours ----------------------------------------------------------------

void Dialog::SetBackgroundColor(ColorRef color) {
    DialogHost& host = Host();
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    host.setPalette(palette);
    host.setAutoFillBackground(true);
}

void Dialog::RefreshControlColors(Window* control) {
    DialogHost& host = Host();
    if (control != nullptr) {
        if (QWidget* widget = qt::WidgetOf(*control)) host.ApplyControlColors(widget);
        return;
    }
    for (QObject* child : host.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && IsControl(widget)) host.ApplyControlColors(widget);
    }
}

void DialogHost::ApplyControlColors(QWidget* control) {
    Dialog* dialog = Owner();
    if (dialog == nullptr) return;
    ControlColors colors;
    colors.kind = ControlKindOf(control);
    dialog->OnCtlColor(qt::WindowOf(control), colors);
    if (!colors.text && !colors.background) return;
    QPalette palette = control->palette();
    if (colors.text) {
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, ToQColor(*colors.text));
    }
    if (colors.background) {
        palette.setBrush(QPalette::Window, QBrush(ToQPixmap(*colors.background)));
        control->setAutoFillBackground(true);
    }
    control->setPalette(palette);
}

}  // namespace platform::window
