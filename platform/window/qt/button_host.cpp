#include "platform/window/qt/button_host.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include <type_traits>

#include "platform/window/dialog.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

QAbstractButton* ButtonOf(const ButtonControl& control) {
    return qobject_cast<QAbstractButton*>(qt::WidgetOf(control));
}

bool IsOwnerDrawn(std::uint32_t style) {
    return (style & BS_TYPEMASK) == BS_OWNERDRAW;
}

bool IsCheckBox(const ButtonControl& button) {
    const std::uint32_t type = button.Style() & BS_TYPEMASK;
    return dynamic_cast<const CheckBoxControl*>(&button) != nullptr || type == BS_CHECKBOX ||
           type == BS_AUTOCHECKBOX;
}

// Hands an owner-drawn button to its dialog's OnDrawItem.
void DrawByOwner(QAbstractButton* button) {
    DrawItem item;
    item.controlId = ControlId(button);
    item.itemId = 0;
    item.state = (button->isDown() || button->isChecked() ? ODS_SELECTED : 0u) |
                 (button->hasFocus() ? ODS_FOCUS : 0u) | (button->isEnabled() ? 0u : ODS_DISABLED);
    item.rect = FromQRect(button->rect());
    item.text = ToUtf8(button->text());
    if (Dialog* dialog = qt::DialogOf(button)) {
        PaintWidget(*button, [&](DeviceContext& dc) {
            dc.SetBackgroundColor(FromQColor(button->palette().color(button->backgroundRole())));
            item.dc = &dc;
            dialog->DispatchDrawItem(item);
        });
    }
}

// Makes the host of `button`'s kind; `object` is the button itself, or
// the pointer that hands it to the host to own.
template <class Object>
QAbstractButton* NewHost(ButtonControl& button, Object&& object, QWidget* parent) {
    if (button.PaintsItself()) return new qt::BareButtonHost(std::forward<Object>(object), parent);
    if (IsCheckBox(button)) return new qt::CheckBoxHost(std::forward<Object>(object), parent);
    return new qt::PushButtonHost(std::forward<Object>(object), parent);
}

}  // namespace

// ---- ButtonControl: the parts that live in the native control ---------------

bool ButtonControl::Create(std::string_view text, std::uint32_t style, const Rect& rect,
                           Window* parent, int id) {
    if (Native() != nullptr) return false;
    m_style = style;
    QWidget* parentWidget = parent != nullptr ? qt::WidgetOf(*parent) : nullptr;
    QAbstractButton* button = NewHost(*this, *this, parentWidget);
    if (parentWidget != nullptr)
        SetControlProperties(button, id, style,
                             IsCheckBox(*this) ? ControlKind::CheckBox : ControlKind::Button);
    button->setText(ToQString(text));
    button->setGeometry(ToQRect(rect));
    button->setEnabled((style & WS_DISABLED) == 0);
    if ((style & WS_VISIBLE) != 0) button->show();
    return true;
}

void ButtonControl::SetStyle(std::uint32_t style) {
    m_style = style;
    QWidget* widget = qt::WidgetOf(*this);
    if (auto* push = dynamic_cast<qt::PushButtonHost*>(widget)) push->ApplyStyle();
    if (auto* box = dynamic_cast<qt::CheckBoxHost*>(widget)) box->ApplyStyle();
    if (auto* bare = dynamic_cast<qt::BareButtonHost*>(widget)) bare->ApplyStyle();
}

int ButtonControl::GetCheck() const {
    const QAbstractButton* button = ButtonOf(*this);
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void ButtonControl::SetCheck(int check) {
    if (QAbstractButton* button = ButtonOf(*this)) button->setChecked(check == BST_CHECKED);
}

unsigned ButtonControl::GetState() const {
    const QAbstractButton* button = ButtonOf(*this);
    if (button == nullptr) return 0;
    return (button->isChecked() ? static_cast<unsigned>(BST_CHECKED) : 0u) |
           (button->isDown() ? BST_PUSHED : 0u) | (button->hasFocus() ? BST_FOCUS : 0u);
}

void NativeWindow::PushStarted() {
    if (auto* button = dynamic_cast<ButtonControl*>(m_owner)) button->OnPushStarted();
}

void NativeWindow::PushEnded() {
    if (auto* button = dynamic_cast<ButtonControl*>(m_owner)) button->OnPushEnded();
}

namespace qt {

// ---- The hosts --------------------------------------------------------------

template <class Base>
ButtonHost<Base>::ButtonHost(ButtonControl& control, QWidget* parent)
    : Host<Base>(control, parent) {
    ApplyStyle();
}

template <class Base>
ButtonHost<Base>::ButtonHost(std::unique_ptr<ButtonControl> control, QWidget* parent)
    : Host<Base>(*control, parent), m_object(std::move(control)) {
    ApplyStyle();
}

template <class Base>
void ButtonHost<Base>::ApplyStyle() {
    const ButtonControl* control = Control();
    if (control == nullptr) return;
    if constexpr (std::is_same_v<Base, QPushButton>)
        this->setFlat((control->Style() & BS_FLAT) != 0);
    this->update();
}

template <class Base>
void ButtonHost<Base>::paintEvent(QPaintEvent* event) {
    const ButtonControl* control = Control();
    if (control == nullptr || this->OwnerPaintsItself()) {
        Host<Base>::paintEvent(event);
        return;
    }
    if (IsOwnerDrawn(control->Style())) {
        DrawByOwner(this);
        return;
    }
    if constexpr (std::is_same_v<Base, QPushButton>) {
        const QPixmap shown = ToQPixmap(control->ShownPicture());
        if (!shown.isNull()) {
            QPainter painter(this);
            if (!this->isFlat()) {
                QStyleOptionButton option;
                this->initStyleOption(&option);
                option.text.clear();
                option.icon = QIcon();
                this->style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
            }
            // A pressed button's picture moves one pixel down and right.
            const QPoint pressedShift = this->isDown() ? QPoint(1, 1) : QPoint(0, 0);
            painter.save();
            painter.setClipRect(this->rect());
            painter.drawPixmap(ToQRect(control->PictureRect()).translated(pressedShift), shown);
            painter.restore();
            if (this->isFlat() && this->isDown()) DrawThinEdge(painter, this->rect(), false);
            return;
        }
    }
    Base::paintEvent(event);
}

template <class Base>
void ButtonHost<Base>::mousePressEvent(QMouseEvent* event) {
    const bool wasDown = this->isDown();
    Host<Base>::mousePressEvent(event);
    StartPush(wasDown, Push::Mouse);
}

template <class Base>
void ButtonHost<Base>::mouseReleaseEvent(QMouseEvent* event) {
    Host<Base>::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) EndPush(Push::Mouse);
}

template <class Base>
void ButtonHost<Base>::keyPressEvent(QKeyEvent* event) {
    const bool wasDown = this->isDown();
    Base::keyPressEvent(event);
    StartPush(wasDown, Push::Key);
}

template <class Base>
void ButtonHost<Base>::keyReleaseEvent(QKeyEvent* event) {
    Base::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && !this->isDown()) EndPush(Push::Key);
}

template <class Base>
void ButtonHost<Base>::focusOutEvent(QFocusEvent* event) {
    Base::focusOutEvent(event);
    // A push by Space ends when the focus goes; one by the mouse when the
    // button is let go, which still comes here.
    if (!this->isDown()) EndPush(Push::Key);
}

template <class Base>
void ButtonHost<Base>::StartPush(bool wasDown, Push by) {
    if (wasDown || !this->isDown() || m_push != Push::None) return;
    m_push = by;
    this->PushStarted();
}

template <class Base>
void ButtonHost<Base>::EndPush(Push by) {
    if (m_push != by) return;
    m_push = Push::None;
    this->PushEnded();
}

template class ButtonHost<QPushButton>;
template class ButtonHost<QCheckBox>;
template class ButtonHost<BareButton>;

QAbstractButton* MakeButtonHost(std::unique_ptr<ButtonControl> button, QWidget* parent) {
    ButtonControl& object = *button;
    return NewHost(object, std::move(button), parent);
}

}  // namespace qt

}  // namespace platform::window
