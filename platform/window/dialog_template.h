// A dialog layout as data: the dialog's size and font in dialog units and one
// item per control with its id, kind, rectangle, style, text and image.
// Windows are created from these; the layout scaler reads them again.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/window/styles.h"  // DS_SETFONT and the other style bits

namespace platform::window {

enum class ControlKind {
    Static,     // text label (also the base of the transparent label)
    Picture,    // static showing a bitmap or icon
    GroupBox,   // titled frame
    Frame,      // sunken or etched rectangle without text
    Edit,       // single-line edit
    ComboBox,   // drop-down list combo box
    ListBox,    // list box
    Button,     // push button (text, bitmap or icon)
    CheckBox,   // check box (also the base of the red check box)
    IpAddress,  // four-field IPv4 address control
    Custom,     // a control drawn entirely by its owner (logo, progress)
};

struct ControlTemplate {
    int id = -1;  // -1: the control has no id ("(none)" in the layout tables)
    ControlKind kind = ControlKind::Static;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::uint32_t style = 0;           // Win32 style bits (see styles.h)
    std::uint32_t exStyle = 0;
    std::string_view text{};
    int imageId = 0;  // bitmap or icon resource id, 0 for none
};

struct DialogTemplate {
    int id = 0;
    std::uint32_t style = 0;  // DS_SETFONT and window style bits
    std::uint32_t exStyle = 0;
    bool hasMenu = false;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::string_view caption{};
    // Font, read only when style has DS_SETFONT. pointSize is the template's
    // 16-bit value; a negative one stands for its magnitude.
    std::int16_t pointSize = 0;
    int weight = 400;
    bool italic = false;
    std::string_view faceName{};
    std::span<const ControlTemplate> controls{};
};

}  // namespace platform::window
