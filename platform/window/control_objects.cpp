#include "platform/window/control_objects.h"

#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/custom_control.h"
#include "platform/window/edit_control.h"
#include "platform/window/frame_control.h"
#include "platform/window/images.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/picture_control.h"
#include "platform/window/static_control.h"

namespace platform::window {

std::unique_ptr<Window> MakeControlObject(const ControlTemplate& item) {
    switch (item.kind) {
        case ControlKind::Static: {
            auto label = std::make_unique<StaticControl>();
            label->SetStyle(item.style, item.exStyle);
            label->SetText(item.text);
            return label;
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
            return picture;
        }
        case ControlKind::GroupBox:
            // A BUTTON with BS_GROUPBOX: a plain Window whose text is the title.
            return std::make_unique<Window>();
        case ControlKind::Frame: {
            auto frame = std::make_unique<FrameControl>();
            frame->SetStyle(item.style, item.exStyle);
            return frame;
        }
        case ControlKind::Edit: {
            auto edit = std::make_unique<EditControl>();
            edit->SetStyle(item.style, item.exStyle);
            return edit;
        }
        case ControlKind::ComboBox: {
            auto combo = std::make_unique<ComboBoxControl>();
            combo->SetStyle(item.style);
            return combo;
        }
        case ControlKind::ListBox: {
            auto list = std::make_unique<ListBoxControl>();
            list->SetStyle(item.style, item.exStyle);
            return list;
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
            return button;
        }
        case ControlKind::CheckBox: {
            auto box = std::make_unique<CheckBoxControl>();
            box->SetStyle(item.style);
            return box;
        }
        case ControlKind::IpAddress: {
            auto ip = std::make_unique<IpAddressControl>();
            ip->SetStyle(item.style, item.exStyle);
            return ip;
        }
        case ControlKind::Custom:
            break;
    }
    return std::make_unique<CustomControl>();
}

}  // namespace platform::window
