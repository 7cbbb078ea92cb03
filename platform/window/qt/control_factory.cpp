#include "platform/window/qt/control_factory.h"

#include <QGroupBox>

#include <memory>

#include "platform/window/button_control.h"
#include "platform/window/control_objects.h"
#include "platform/window/edit_control.h"
#include "platform/window/qt/button_host.h"
#include "platform/window/qt/combo_box_host.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/edit_host.h"
#include "platform/window/qt/host.h"
#include "platform/window/qt/ip_address_host.h"
#include "platform/window/qt/list_box_host.h"
#include "platform/window/qt/static_host.h"
#include "platform/window/static_control.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

QString TextOf(const ControlTemplate& item) {
    return QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size()));
}

// The object was made for this kind (MakeControlObject), so of this class.
template <class T>
std::unique_ptr<T> As(std::unique_ptr<Window> object) {
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

QWidget* MakeWidget(const ControlTemplate& item, QWidget* parent) {
    std::unique_ptr<Window> object = MakeControlObject(item);
    const QString text = TextOf(item);
    switch (item.kind) {
        case ControlKind::Static:
            return new qt::StaticHost(As<StaticControl>(std::move(object)), parent);
        case ControlKind::GroupBox: {
            auto* group = new qt::OwningHost<QGroupBox>(std::move(object), parent);
            group->setTitle(text);
            return group;
        }
        case ControlKind::Edit: {
            auto* host = new qt::EditHost(As<EditControl>(std::move(object)), parent);
            host->setText(text);
            return host;
        }
        case ControlKind::ComboBox:
            return new qt::ComboBoxHost(As<ComboBoxControl>(std::move(object)), parent);
        case ControlKind::ListBox:
            return new qt::ListBoxHost(As<ListBoxControl>(std::move(object)), parent);
        case ControlKind::Button:
        case ControlKind::CheckBox: {
            QAbstractButton* host =
                qt::MakeButtonHost(As<ButtonControl>(std::move(object)), parent);
            host->setText(text);
            return host;
        }
        case ControlKind::IpAddress:
            return new qt::IpAddressHost(As<IpAddressControl>(std::move(object)), parent);
        case ControlKind::Picture:
        case ControlKind::Frame:
        case ControlKind::Custom:
            break;
    }
    return new qt::ControlHost(std::move(object), parent);
}

}  // namespace

QWidget* MakeHost(std::unique_ptr<Window> object, QWidget* parent) {
    if (auto* button = dynamic_cast<ButtonControl*>(object.get())) {
        object.release();
        return qt::MakeButtonHost(std::unique_ptr<ButtonControl>(button), parent);
    }
    return new qt::ControlHost(std::move(object), parent);
}

QWidget* CreateControl(const ControlTemplate& item, const QRect& pixels, QWidget* parent) {
    QWidget* widget = MakeWidget(item, parent);
    SetControlProperties(widget, item.id, item.style, item.kind);
    widget->setGeometry(pixels);
    widget->setEnabled((item.style & WS_DISABLED) == 0);
    // Only controls that take part in Tab order take the focus from the keyboard.
    if ((item.style & WS_TABSTOP) == 0 && widget->focusPolicy() != Qt::NoFocus)
        widget->setFocusPolicy(Qt::ClickFocus);
    widget->setVisible((item.style & WS_VISIBLE) != 0);
    return widget;
}

}  // namespace platform::window
