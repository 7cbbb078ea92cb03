// Template 149: the configuration menu (CConfigSubMenue), 63 x 99, Arial 9,
// a pop-up without caption or border, hidden until the main window docks it.
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 63, 99, IDB_MENU_BACKGROUND),
    FlatBitmapButton(IDC_MENU_NETWORK, 5, 5, 52, 14, IDB_MENU_NETWORK),  // the top slot
    FlatBitmapButton(IDC_MENU_CHANNEL, 5, 28, 52, 14, IDB_MENU_CHANNEL),
    FlatBitmapButton(IDC_MENU_CONTENT, 5, 50, 52, 14, IDB_MENU_CONTENT),
    FlatBitmapButton(IDC_MENU_RESET, 5, 72, 52, 14, IDB_MENU_RESET),
    Hidden(Label(IDC_MENU_MESSAGE, 0, 20, 62, 32, "", pw::SS_CENTER)),
    Hidden(Custom(IDC_MENU_PROGRESS, 11, 61, 44, 33)),
};

}  // namespace

constinit const platform::window::DialogTemplate CONFIG_MENU =
    Dialog(IDD_CONFIG_MENU, POPUP, 0, 63, 99, CONTROLS);

}  // namespace res::templates
