// Template 102: the main console window (CHaldenDlg), 230 x 94, Arial 9, a
// pop-up without caption or border, centred, in the task bar, visible.
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(IDC_MAIN_BACKGROUND, 0, 0, 230, 94, IDB_MAIN_BACKGROUND),
    FlatBitmapButton(IDC_MAIN_SHUT_DOWN, 0, 0, 12, 10, IDB_SHUT_DOWN),
    FlatBitmapButton(IDC_MAIN_HIDE_TO_TRAY, 218, 0, 12, 11, IDB_HIDE_TO_TRAY),
    Group(70, 0, 148, 18),
    FlatIconButton(IDC_MAIN_LOCK_INDICATOR, 75, 8, 8, 6, IDI_INDICATOR_GREEN),
    Label(IDC_MAIN_LOCK_LABEL, 85, 7, 22, 8, "Lock", pw::SS_CENTER),
    FlatIconButton(IDC_MAIN_DATA_INDICATOR, 114, 8, 8, 6, IDI_NO_DATA),
    Label(IDC_MAIN_DATA_LABEL, 124, 7, 24, 8, "Data", pw::SS_CENTER),
    Label(IDC_MAIN_DEVICE_LIST_LABEL, 156, 7, 42, 8, "Device List", pw::SS_CENTER),
    FlatBitmapButton(IDC_MAIN_DEVICE_LIST_BUTTON, 199, 5, 18, 12, IDB_DEVICE_LIST_DROP),
    // Only its drop-down list is ever seen; cy is the list's height.
    Hidden(ComboBox(IDC_MAIN_DEVICE_LIST, 200, 5, 16, 50, pw::CBS_DROPDOWNLIST | pw::WS_VSCROLL)),
    Label(IDC_MAIN_MESSAGE, 70, 20, 148, 47, "R40 Management Console",
          pw::WS_BORDER | pw::SS_SUNKEN),
    Custom(IDC_MAIN_LOGO, 32, 30, 26, 24),
    OwnerDrawButton(IDC_MAIN_CONFIG_MENU, 4, 72, 66, 16, IDB_STRIP_CONFIG_MENU),
    OwnerDrawButton(IDC_MAIN_FILE_OPERATIONS, 80, 72, 66, 16, IDB_STRIP_FILE_OPERATIONS),
    OwnerDrawButton(IDC_MAIN_STATUS_PANEL, 156, 72, 66, 16, IDB_STRIP_STATUS_PANEL),
};

}  // namespace

constinit const platform::window::DialogTemplate MAIN_CONSOLE =
    Dialog(IDD_MAIN_CONSOLE, POPUP | pw::DS_CENTER | pw::WS_VISIBLE, pw::WS_EX_APPWINDOW, 230, 94,
           CONTROLS);

}  // namespace res::templates
