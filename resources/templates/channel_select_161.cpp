// Template 161: the channel selection dialog (CChannelSelectDlg), 162 x 99,
// Arial 9, a modal pop-up without caption.
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 162, 99, IDB_DIALOG_BACKGROUND),
    Label(IDC_CHANNEL_LABEL, 14, 34, 72, 18, "Channel Number  \n (2 - 69)",
          pw::SS_CENTER | pw::SS_SUNKEN),
    Edit(IDC_CHANNEL_NUMBER, 102, 37, 30, 12, pw::ES_CENTER | pw::ES_NUMBER | pw::WS_BORDER),
    FlatBitmapButton(pw::IDOK, 118, 80, 14, 14, IDB_CHECK_MARK),
    FlatBitmapButton(pw::IDCANCEL, 140, 80, 14, 14, IDB_CROSS),
};

}  // namespace

constinit const platform::window::DialogTemplate CHANNEL_SELECT =
    Dialog(IDD_CHANNEL_SELECT, MODAL, 0, 162, 99, CONTROLS);

}  // namespace res::templates
