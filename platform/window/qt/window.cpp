#include "platform/window/window.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QWindow>

#include "platform/window/ip_address_control.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/host.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/static_control.h"
#include "platform/window/styles.h"

namespace platform::window {

// ---- NativeWindow -----------------------------------------------------------

NativeWindow::NativeWindow(Window& owner, QWidget& widget) : m_owner(&owner), m_widget(widget) {
    owner.m_native = this;
    // A cursor chosen before the window existed.
    if (owner.m_cursor != CursorShape::Arrow) owner.SetCursor(owner.m_cursor);
}

NativeWindow::~NativeWindow() {
    Detach();
}

void NativeWindow::Detach() {
    if (m_owner != nullptr && m_owner->m_native == this) m_owner->m_native = nullptr;
    m_owner = nullptr;
}

namespace qt {

QWidget* WidgetOf(const Window& window) {
    return window.Native() != nullptr ? &window.Native()->Widget() : nullptr;
}

Window* WindowOf(const QWidget* widget) {
    const auto* native = dynamic_cast<const NativeWindow*>(widget);
    return native != nullptr ? native->Owner() : nullptr;
}

}  // namespace qt

// ---- Window -----------------------------------------------------------------

Window::~Window() {
    if (m_native == nullptr) return;
    // Unlinked first: the widget's last events must not reach an object
    // that is being destroyed.
    QWidget* widget = &m_native->Widget();
    m_native->Detach();
    delete widget;
}

bool Window::Create(std::uint32_t style, const Rect& rect, Window* parent, int id) {
    if (m_native != nullptr) return false;
    QWidget* parentWidget = parent != nullptr ? qt::WidgetOf(*parent) : nullptr;
    auto* widget = new qt::Host<QWidget>(*this, parentWidget);
    if (parentWidget != nullptr) SetControlProperties(widget, id, style, ControlKind::Custom);
    widget->setGeometry(ToQRect(rect));
    if ((style & WS_VISIBLE) != 0) widget->show();
    return true;
}

// A button's window text is its label; other windows show theirs as the caption.
// The text lives where the native control keeps it, as Win32's WM_GETTEXT
// reads it: a label's, a button's, an edit's, a group's title; a top-level
// window's caption; a static or address control's own.
std::string Window::GetWindowText() const {
    const QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr) return std::string();
    if (const auto* text = dynamic_cast<const StaticControl*>(this)) return text->Text();
    if (const auto* ip = dynamic_cast<const IpAddressControl*>(this)) return ip->Text();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return ToUtf8(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return ToUtf8(button->text());
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return ToUtf8(edit->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) return ToUtf8(group->title());
    return ToUtf8(widget->windowTitle());
}

void Window::SetWindowText(std::string_view text) {
    QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr) return;
    if (auto* label = dynamic_cast<StaticControl*>(this))
        label->SetText(text);
    else if (auto* plain = qobject_cast<QLabel*>(widget))
        plain->setText(ToQString(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(ToQString(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(ToQString(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(ToQString(text));
    else
        widget->setWindowTitle(ToQString(text));
}

Rect Window::GetClientRect() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr ? Rect{0, 0, widget->width(), widget->height()} : Rect{};
}

Rect Window::GetWindowRect() const {
    const QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr) return Rect{};
    if (widget->isWindow()) return FromQRect(widget->frameGeometry());
    return FromQRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

Rect Window::GetPlacement() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr ? FromQRect(widget->geometry()) : Rect{};
}

void Window::MoveWindow(const Rect& rect) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->setGeometry(ToQRect(rect));
}

void Window::MoveTo(int x, int y) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->move(x, y);
}

void Window::SetClientSize(const Size& size) {
    // A widget's geometry is its client area: resizing keeps its top-left.
    if (QWidget* widget = qt::WidgetOf(*this)) widget->resize(size.width, size.height);
}

void Window::BringWindowToTop() {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->raise();
}

bool Window::ShowWindow(int command) {
    QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr) return false;
    const bool wasVisible = widget->isVisible();
    switch (command) {
        case SW_HIDE:
            widget->hide();
            break;
        case SW_SHOWNOACTIVATE:
        case SW_SHOWNA:
            widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
            widget->show();
            widget->setAttribute(Qt::WA_ShowWithoutActivating, false);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            widget->showMinimized();
            break;
        case SW_RESTORE:
            widget->showNormal();
            break;
        default:
            widget->show();
            break;
    }
    return wasVisible;
}

bool Window::IsWindowVisible() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr && widget->isVisible();
}

void Window::EnableWindow(bool enable) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->setEnabled(enable);
}

bool Window::IsWindowEnabled() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr && widget->isEnabled();
}

void Window::SetFocus() {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->setFocus(Qt::OtherFocusReason);
}

bool Window::HasFocus() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr && widget->hasFocus();
}

void Window::SetFont(const Font& font) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->setFont(ToQFont(font));
}

Font Window::GetFont() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr ? FontFromQFont(widget->font()) : Font();
}

void Window::SetIcon(const Icon& icon) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->setWindowIcon(ToQIcon(icon));
}

void Window::SetHighlightColors(ColorRef highlight, ColorRef highlightText) {
    QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr) return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Highlight, ToQColor(highlight));
    palette.setColor(QPalette::HighlightedText, ToQColor(highlightText));
    widget->setPalette(palette);
}

void Window::SetCursor(CursorShape shape) {
    m_cursor = shape;
    QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr) return;
    switch (shape) {
        case CursorShape::Arrow:
            widget->unsetCursor();
            break;
        case CursorShape::Hand:
            widget->setCursor(Qt::PointingHandCursor);
            break;
        case CursorShape::Wait:
            widget->setCursor(Qt::WaitCursor);
            break;
    }
}

void Window::Invalidate() {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->update();
}

void Window::InvalidateRect(const Rect& rect) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->update(ToQRect(rect));
}

void Window::UpdateWindow() {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->repaint();
}

void Window::RedrawWindow(const Rect& rect) {
    if (QWidget* widget = qt::WidgetOf(*this)) widget->repaint(ToQRect(rect));
}

Window* Window::GetParent() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr ? qt::WindowOf(widget->parentWidget()) : nullptr;
}

namespace {

// The first child of `parent` from position `from` on that is a window of
// this layer and no top-level window. Qt keeps the children in the order
// they were made (raising one moves it to the end), which is the order
// Windows walks a dialog's controls in.
Window* LayerChildFrom(const QObjectList& children, qsizetype from) {
    for (qsizetype i = from; i < children.size(); ++i) {
        const auto* widget = qobject_cast<const QWidget*>(children[i]);
        if (widget == nullptr || widget->isWindow()) continue;
        if (Window* window = qt::WindowOf(widget)) return window;
    }
    return nullptr;
}

}  // namespace

Window* Window::GetTopWindow() const {
    const QWidget* widget = qt::WidgetOf(*this);
    return widget != nullptr ? LayerChildFrom(widget->children(), 0) : nullptr;
}

Window* Window::GetNextWindow() const {
    const QWidget* widget = qt::WidgetOf(*this);
    if (widget == nullptr || widget->isWindow() || widget->parentWidget() == nullptr)
        return nullptr;
    const QObjectList& siblings = widget->parentWidget()->children();
    return LayerChildFrom(siblings, siblings.indexOf(widget) + 1);
}

int Window::GetDlgCtrlID() const {
    return ControlId(qt::WidgetOf(*this));
}

std::uint32_t Window::GetStyle() const {
    return ControlStyle(qt::WidgetOf(*this));
}

void Window::PreSubclassWindow() {}
void Window::OnPaint(DeviceContext&) {}
void Window::OnMouseMove(Point) {}
void Window::OnLButtonDown(Point) {}
void Window::OnLButtonUp(Point) {}
void Window::OnMouseLeave() {}
void Window::OnSize(int, int) {}

}  // namespace platform::window
