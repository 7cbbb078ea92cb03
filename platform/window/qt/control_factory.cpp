#include "platform/window/qt/control_factory.h"

#include <QGroupBox>

#include <memory>

#include "platform/window/button_control.h"
#include "platform/window/control_properties.h"
#include "platform/window/custom_control.h"
#include "platform/window/edit_control.h"
#include "platform/window/frame_control.h"
#include "platform/window/images.h"
#include "platform/window/picture_control.h"
#include "platform/window/qt/button_host.h"
#include "platform/window/qt/combo_box_host.h"
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

QWidget* MakeWidget(const ControlTemplate& item, QWidget* parent) {
    const QString text = TextOf(item);
    switch (item.kind) {
        case ControlKind::Static: {
            auto label = std::make_unique<StaticControl>();
            label->SetStyle(item.style, item.exStyle);
            label->SetText(item.text);
            return new qt::StaticHost(std::move(label), parent);
        }
        case ControlKind::Picture: {
            auto picture = std::make_unique<PictureControl>();
            picture->SetStyle(item.style, item.exStyle);
            if (item.imageId != 0) {
                if ((item.style & SS_TYPEMASK) == SS_ICON)
                    picture->SetIcon(LoadIcon(item.imageId));
                else
                    picture->SetBitmap(LoadBitmap(item.imageId));
            }
            return new qt::ControlHost(std::move(picture), parent);
        }
        case ControlKind::GroupBox: {
            // A plain Window: the group box draws itself, the object lets the
            // layer walk and find it among the dialog's controls.
            auto* box = new qt::OwningHost<QGroupBox>(std::make_unique<Window>(), parent);
            box->setTitle(text);
            return box;
        }
        case ControlKind::Frame: {
            auto frame = std::make_unique<FrameControl>();
            frame->SetStyle(item.style, item.exStyle);
            return new qt::ControlHost(std::move(frame), parent);
        }
        case ControlKind::Edit: {
            auto edit = std::make_unique<EditControl>();
            edit->SetStyle(item.style, item.exStyle);
            auto* host = new qt::EditHost(std::move(edit), parent);
            host->setText(text);
            return host;
        }
        case ControlKind::ComboBox: {
            auto combo = std::make_unique<ComboBoxControl>();
            combo->SetStyle(item.style);
            return new qt::ComboBoxHost(std::move(combo), parent);
        }
        case ControlKind::ListBox: {
            auto list = std::make_unique<ListBoxControl>();
            list->SetStyle(item.style, item.exStyle);
            return new qt::ListBoxHost(std::move(list), parent);
        }
        case ControlKind::Button: {
            auto button = std::make_unique<ButtonControl>();
            button->SetStyle(item.style);
            // Owner-drawn buttons draw their own picture.
            if (item.imageId != 0 && (item.style & BS_TYPEMASK) != BS_OWNERDRAW) {
                if ((item.style & BS_ICON) != 0)
                    button->SetIcon(LoadIcon(item.imageId));
                else if ((item.style & BS_BITMAP) != 0)
                    button->SetBitmap(LoadBitmap(item.imageId));
            }
            QAbstractButton* host = qt::MakeButtonHost(std::move(button), parent);
            host->setText(text);
            return host;
        }
        case ControlKind::CheckBox: {
            auto box = std::make_unique<CheckBoxControl>();
            box->SetStyle(item.style);
            QAbstractButton* host = qt::MakeButtonHost(std::move(box), parent);
            host->setText(text);
            return host;
        }
        case ControlKind::IpAddress: {
            auto ip = std::make_unique<IpAddressControl>();
            ip->SetStyle(item.style, item.exStyle);
            return new qt::IpAddressHost(std::move(ip), parent);
        }
        case ControlKind::Custom:
            break;
    }
    return new qt::ControlHost(std::make_unique<CustomControl>(), parent);
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
