// Template 184: the signal history panel (CSignalHistoryPanel), 231 x 96
// like the status panel it docks under, Arial 9, a pop-up without caption
// or border, hidden until the main window docks it.
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Custom(IDC_HISTORY_CHART, 0, 0, 231, 84),
    Control(IDC_HISTORY_SAVE, ControlKind::Button, 4, 84, 58, 10,
            CHILD | TAB_STOP | pw::BS_OWNERDRAW, "Save history\u2026"),
    Label(IDC_HISTORY_TITLE, 140, 86, 86, 8, "SIGNAL HISTORY", pw::SS_RIGHT),
};

}  // namespace

constinit const platform::window::DialogTemplate HISTORY_PANEL =
    Dialog(IDD_HISTORY_PANEL, POPUP, 0, 231, 96, CONTROLS);

}  // namespace res::templates
