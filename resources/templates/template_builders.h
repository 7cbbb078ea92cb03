// Small builders that keep the template tables readable: one line per
// control, in the words of the layout tables (picture, label, flat bitmap
// button, ...). Every control is a visible child unless wrapped in Hidden.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/window/dialog_template.h"
#include "platform/window/styles.h"

namespace res::templates {

using platform::window::ControlKind;
using platform::window::ControlTemplate;
namespace pw = platform::window;

inline constexpr int NO_ID = -1;
inline constexpr std::uint32_t CHILD = pw::WS_CHILD | pw::WS_VISIBLE;
inline constexpr std::uint32_t TAB_STOP = pw::WS_TABSTOP;

// Skinned windows: Arial 9, pop-ups without caption or border.
inline constexpr std::string_view FACE = "Arial";
inline constexpr std::int16_t POINTS = 9;
inline constexpr std::uint32_t POPUP = pw::DS_SETFONT | pw::WS_POPUP;
inline constexpr std::uint32_t MODAL =
    pw::DS_SETFONT | pw::DS_MODALFRAME | pw::DS_CENTER | pw::WS_POPUP | pw::WS_VISIBLE;

constexpr ControlTemplate Control(int id, ControlKind kind, int x, int y, int cx, int cy,
                                  std::uint32_t style, std::string_view text = {},
                                  int imageId = 0) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    c.style = style;
    c.text = text;
    c.imageId = imageId;
    return c;
}

constexpr ControlTemplate Hidden(ControlTemplate c) {
    c.style &= ~pw::WS_VISIBLE;
    return c;
}

// A static showing a bitmap (extra: SS_CENTERIMAGE, ...).
constexpr ControlTemplate Picture(int id, int x, int y, int cx, int cy, int bitmapId,
                                  std::uint32_t extra = 0) {
    return Control(id, ControlKind::Picture, x, y, cx, cy, CHILD | pw::SS_BITMAP | extra, {},
                   bitmapId);
}

// A static text (style: SS_CENTER, SS_SUNKEN, WS_BORDER, ...).
constexpr ControlTemplate Label(int id, int x, int y, int cx, int cy, std::string_view text,
                                std::uint32_t style = pw::SS_LEFT) {
    return Control(id, ControlKind::Static, x, y, cx, cy, CHILD | style, text);
}

constexpr ControlTemplate Group(int x, int y, int cx, int cy) {
    return Control(NO_ID, ControlKind::GroupBox, x, y, cx, cy, CHILD | pw::BS_GROUPBOX);
}

constexpr ControlTemplate Frame(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return Control(id, ControlKind::Frame, x, y, cx, cy, CHILD | style);
}

constexpr ControlTemplate FlatBitmapButton(int id, int x, int y, int cx, int cy, int bitmapId,
                                           std::uint32_t extra = 0) {
    return Control(id, ControlKind::Button, x, y, cx, cy,
                   CHILD | TAB_STOP | pw::BS_BITMAP | pw::BS_FLAT | extra, {}, bitmapId);
}

constexpr ControlTemplate FlatIconButton(int id, int x, int y, int cx, int cy, int iconId) {
    return Control(id, ControlKind::Button, x, y, cx, cy,
                   CHILD | TAB_STOP | pw::BS_ICON | pw::BS_FLAT, {}, iconId);
}

// A button its owner draws (the hover buttons); imageId names its strip.
constexpr ControlTemplate OwnerDrawButton(int id, int x, int y, int cx, int cy, int imageId) {
    return Control(id, ControlKind::Button, x, y, cx, cy, CHILD | TAB_STOP | pw::BS_OWNERDRAW, {},
                   imageId);
}

// A check box its owner draws (the red check boxes).
constexpr ControlTemplate OwnerDrawCheckBox(int id, int x, int y, int cx, int cy) {
    return Control(id, ControlKind::CheckBox, x, y, cx, cy, CHILD | TAB_STOP | pw::BS_OWNERDRAW);
}

constexpr ControlTemplate Edit(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return Control(id, ControlKind::Edit, x, y, cx, cy, CHILD | TAB_STOP | style);
}

constexpr ControlTemplate IpAddress(int id, int x, int y, int cx, int cy) {
    return Control(id, ControlKind::IpAddress, x, y, cx, cy, CHILD | TAB_STOP);
}

constexpr ControlTemplate ComboBox(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return Control(id, ControlKind::ComboBox, x, y, cx, cy, CHILD | TAB_STOP | style);
}

constexpr ControlTemplate ListBox(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return Control(id, ControlKind::ListBox, x, y, cx, cy, CHILD | TAB_STOP | style);
}

// A control drawn entirely by its class (the logo, the progress indicator).
constexpr ControlTemplate Custom(int id, int x, int y, int cx, int cy) {
    return Control(id, ControlKind::Custom, x, y, cx, cy, CHILD);
}

constexpr pw::DialogTemplate Dialog(int id, std::uint32_t style, std::uint32_t exStyle, int cx,
                                    int cy, std::span<const ControlTemplate> controls) {
    pw::DialogTemplate d;
    d.id = id;
    d.style = style;
    d.exStyle = exStyle;
    d.cx = cx;
    d.cy = cy;
    d.pointSize = POINTS;
    d.weight = 400;
    d.faceName = FACE;
    d.controls = controls;
    return d;
}

}  // namespace res::templates
