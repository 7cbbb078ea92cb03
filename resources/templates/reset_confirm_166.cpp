// Template 166: the reset confirmation (CResetConfirmWindow), 162 x 99,
// Arial 9, a modal pop-up without caption.
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 162, 99, IDB_DIALOG_BACKGROUND),
    Label(IDC_RESET_QUESTION, 18, 22, 126, 48,
          "Warning \n \n You are about to Reset the Device  \n Are you sure you want to continue ?",
          pw::SS_CENTER | pw::SS_SUNKEN),
    FlatBitmapButton(pw::IDOK, 118, 80, 14, 14, IDB_CHECK_MARK),
    FlatBitmapButton(pw::IDCANCEL, 140, 80, 14, 14, IDB_CROSS),
};

}  // namespace

constinit const platform::window::DialogTemplate RESET_CONFIRM =
    Dialog(IDD_RESET_CONFIRM, MODAL, 0, 162, 99, CONTROLS);

}  // namespace res::templates
