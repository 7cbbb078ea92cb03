#include "platform/window/qt/control_properties.h"

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

void NotifyParent(QWidget* control, int notificationCode) {
    if (control == nullptr) return;
    const int id = ControlId(control);
    if (Dialog* dialog = qt::DialogOf(control)) dialog->DispatchCommand(id, notificationCode);
}

}  // namespace platform::window
