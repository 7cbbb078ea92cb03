// Template 180: the video PID forwarding dialog (CConfVideoPIDDlg),
// 163 x 67, Arial 9, a modal pop-up without caption.
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 162, 67, IDB_VIDEO_PID_BACKGROUND),
    Label(IDC_VIDEO_PID_TEXT, 2, 4, 68, 10, "PID: "),
    Label(IDC_VIDEO_ADDRESS_LABEL, 2, 23, 68, 10, "Destination Address"),
    IpAddress(IDC_VIDEO_ADDRESS, 74, 23, 82, 13),
    Label(IDC_VIDEO_PORT_LABEL, 2, 42, 68, 10, "Destination UDP Port"),
    Edit(IDC_VIDEO_PORT, 74, 42, 30, 12, pw::ES_CENTER | pw::ES_NUMBER | pw::WS_BORDER),
    FlatBitmapButton(pw::IDOK, 118, 46, 14, 14, IDB_CHECK_MARK),
    FlatBitmapButton(pw::IDCANCEL, 141, 46, 14, 14, IDB_CROSS),
};

}  // namespace

constinit const platform::window::DialogTemplate VIDEO_PID =
    Dialog(IDD_VIDEO_PID, MODAL, 0, 163, 67, CONTROLS);

}  // namespace res::templates
