// Template 176: the load/save configuration dialog (CLoadSaveConfiguration),
// 231 x 122, Arial 9, a modal pop-up without caption and without background
// picture (the dialog fills itself with a pattern).
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Label(IDC_FILE_HEADING, 70, 6, 80, 10, "Select Desired Operation"),
    OwnerDrawCheckBox(IDC_FILE_SAVE_LAST_USED, 5, 24, 12, 10),
    Label(IDC_FILE_SAVE_LAST_USED_LABEL, 22, 24, 132, 10, "Save Last Used Configuration to a File"),
    OwnerDrawCheckBox(IDC_FILE_FROM_STATUS, 5, 41, 12, 10),
    Label(IDC_FILE_FROM_STATUS_LABEL, 22, 42, 185, 8,
          "Create a Configuration File From The current Device Status"),
    OwnerDrawCheckBox(IDC_FILE_LOAD_APPLY_ALL, 5, 59, 12, 10),
    Label(IDC_FILE_LOAD_APPLY_ALL_LABEL, 22, 60, 146, 8,
          "Load a configuration File and apply all settings"),
    OwnerDrawCheckBox(IDC_FILE_LOAD_INDIVIDUALLY, 5, 75, 12, 10),
    Label(IDC_FILE_LOAD_INDIVIDUALLY_LABEL, 22, 76, 192, 8,
          "Load a configuration file and let me apply settings individually"),
    Hidden(Label(IDC_FILE_DESCRIPTION, 33, 41, 164, 37, "",
                 pw::SS_CENTER | pw::SS_SUNKEN | pw::WS_BORDER)),
    Hidden(Custom(IDC_FILE_PROGRESS, 82, 86, 42, 32)),
    Hidden(Edit(IDC_FILE_PATH, 7, 103, 115, 14, pw::ES_AUTOHSCROLL | pw::WS_BORDER)),
    Hidden(FlatBitmapButton(IDC_FILE_BROWSE, 124, 103, 45, 15, IDB_BROWSE)),
    Hidden(FlatBitmapButton(pw::IDOK, 182, 103, 14, 15, IDB_GREEN_LIGHT)),
    Hidden(FlatBitmapButton(pw::IDCANCEL, 202, 103, 14, 15, IDB_RED_LIGHT)),
};

}  // namespace

constinit const platform::window::DialogTemplate LOAD_SAVE =
    Dialog(IDD_LOAD_SAVE, MODAL, 0, 231, 122, CONTROLS);

}  // namespace res::templates
