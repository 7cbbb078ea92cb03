#include "resources/image_catalogue.h"

#include "resources/ids.h"

namespace res {

namespace {

constexpr ImageSpec IMAGES[] = {
    {IDI_CONSOLE, true, 32, 32, "application icon (big)"},
    {IDI_CONSOLE, true, 16, 16, "application icon (small)"},
    {IDI_TRAY, true, 32, 32, "notification-area icon"},
    {IDI_NO_DATA, true, 8, 8, "data indicator: no data, solid (0, 128, 0)"},
    {IDI_INDICATOR_GREEN, true, 8, 8, "lock and data indicator: lock, data, solid (0, 255, 0)"},
    {IDI_INDICATOR_RED, true, 8, 8, "lock indicator: no lock, solid (255, 0, 0)"},
    {IDB_MAIN_BACKGROUND, false, 407, 187, "main window background"},
    {IDB_HIDE_TO_TRAY, false, 16, 20, "minimise-to-tray glyph"},
    {IDB_STRIP_CONFIG_MENU, false, 322, 32, "hover faces: configuration menu"},
    {IDB_STRIP_FILE_OPERATIONS, false, 322, 32, "hover faces: file operations"},
    {IDB_STRIP_STATUS_PANEL, false, 322, 32, "hover faces: status panel"},
    {IDB_STATUS_BACKGROUND, false, 408, 184, "status panel background"},
    {IDB_MENU_BACKGROUND, false, 110, 185, "configuration menu background, load/save pattern"},
    {IDB_MENU_CHANNEL, false, 123, 39, "configuration menu: channel"},
    {IDB_MENU_RESET, false, 123, 39, "configuration menu: reset"},
    {IDB_MENU_NETWORK, false, 123, 39, "configuration menu: network"},
    {IDB_MENU_CONTENT, false, 123, 39, "configuration menu: content"},
    {IDB_SHUT_DOWN, false, 30, 30, "shut-down glyph"},
    {IDB_DIALOG_BACKGROUND, false, 283, 185, "configuration dialogs background"},
    {IDB_CHECK_MARK, false, 23, 23, "OK: check mark"},
    {IDB_CROSS, false, 23, 23, "Cancel: 'X'"},
    {IDB_ADD_ARROW, false, 27, 19, "content dialog: Add (arrow)"},
    {IDB_REMOVE, false, 27, 20, "content dialog: Remove"},
    {IDB_CLEAR, false, 37, 27, "content dialog: Clear"},
    {IDB_DEVICE_LIST_DROP, false, 30, 30, "red drop-down glyph"},
    {IDB_RED_LIGHT, false, 27, 27, "red: IGMP off; load/save Cancel"},
    {IDB_GREEN_LIGHT, false, 27, 27, "green: IGMP on; load/save OK"},
    {IDB_BROWSE, false, 100, 30, "load/save: Browse"},
    {IDB_VIDEO_PID_BACKGROUND, false, 283, 125, "video PID dialog background"},
};

}  // namespace

std::span<const ImageSpec> ImageCatalogue() {
    return IMAGES;
}

}  // namespace res
