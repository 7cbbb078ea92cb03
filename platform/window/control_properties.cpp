#include "platform/window/control_properties.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

#include "platform/window/dialog.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/static_control.h"

namespace platform::window {

QWidget* FindControl(QWidget* dialog, int id) {
    if (dialog == nullptr || id == -1) return nullptr;
    for (QObject* child : dialog->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow() && ControlId(widget) == id) return widget;
    }
    return nullptr;
}

int ControlId(const QWidget* control) {
    if (control == nullptr) return -1;
    bool ok = false;
    const int id = control->property(CONTROL_ID_PROPERTY).toInt(&ok);
    return ok ? id : -1;
}

std::uint32_t ControlStyle(const QWidget* control) {
    return control == nullptr ? 0u : control->property(CONTROL_STYLE_PROPERTY).toUInt();
}

ControlKind ControlKindOf(const QWidget* control) {
    return control == nullptr
               ? ControlKind::Static
               : static_cast<ControlKind>(control->property(CONTROL_KIND_PROPERTY).toInt());
}

bool IsControl(const QWidget* widget) {
    return widget != nullptr && widget->property(CONTROL_ID_PROPERTY).isValid();
}

void SetControlProperties(QWidget* control, int id, std::uint32_t style, ControlKind kind) {
    control->setProperty(CONTROL_ID_PROPERTY, id);
    control->setProperty(CONTROL_STYLE_PROPERTY, QVariant::fromValue<uint>(style));
    control->setProperty(CONTROL_KIND_PROPERTY, static_cast<int>(kind));
}

QString GetControlText(const QWidget* control) {
    if (control == nullptr) return QString();
    if (auto* text = dynamic_cast<const StaticControl*>(qt::WindowOf(control)))
        return ToQString(text->Text());
    if (auto* ip = dynamic_cast<const IpAddressControl*>(qt::WindowOf(control)))
        return ToQString(ip->Text());
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
    if (control->isWindow()) return control->windowTitle();
    if (const Window* window = qt::WindowOf(control)) return ToQString(window->GetWindowText());
    return control->property("text").toString();
}

void SetControlText(QWidget* control, const QString& text) {
    if (control == nullptr) return;
    if (auto* label = dynamic_cast<StaticControl*>(qt::WindowOf(control)))
        label->SetText(ToUtf8(text));
    else if (auto* plain = qobject_cast<QLabel*>(control))
        plain->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (control->isWindow())
        control->setWindowTitle(text);
    else if (Window* window = qt::WindowOf(control))
        window->SetWindowText(ToUtf8(text));
    else
        control->setProperty("text", text);
}

void NotifyParent(QWidget* control, int notificationCode) {
    if (control == nullptr) return;
    const int id = ControlId(control);
    if (Dialog* dialog = qt::DialogOf(control)) dialog->DispatchCommand(id, notificationCode);
}

}  // namespace platform::window
