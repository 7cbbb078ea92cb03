// Template 144: the status panel (CR40DressedStatusBasic), 231 x 96, Arial 9,
// a pop-up without caption or border, hidden until the main window docks it.
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr std::uint32_t VALUE = pw::SS_SUNKEN | pw::SS_CENTER;

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 230, 96, IDB_STATUS_BACKGROUND),
    Group(3, 2, 75, 90),
    Label(IDC_STATUS_PID_TITLE, 8, 10, 62, 11, "Selected Contents", pw::SS_SUNKEN),
    ListBox(IDC_STATUS_PID_LIST, 7, 25, 65, 63,
            pw::LBS_OWNERDRAWFIXED | pw::LBS_HASSTRINGS | pw::LBS_NOSEL | pw::WS_VSCROLL |
                pw::WS_BORDER),
    Group(82, 6, 140, 22),
    Label(IDC_STATUS_CHANNEL_LABEL, 86, 16, 36, 8, "Channel "),
    Label(IDC_STATUS_CHANNEL, 126, 15, 20, 10, "", VALUE),
    Label(IDC_STATUS_SNR_LABEL, 161, 16, 18, 8, "SNR"),
    Label(IDC_STATUS_SNR, 184, 15, 34, 10, "", VALUE),
    Group(82, 32, 144, 44),
    Label(IDC_STATUS_GATEWAY_LABEL, 86, 41, 60, 8, "Default Gateway"),
    Label(IDC_STATUS_GATEWAY, 149, 40, 72, 11, "", VALUE),
    Label(IDC_STATUS_IGMP_LABEL, 87, 58, 79, 8, "Multicast Filtering (IGMP)"),
    Picture(IDC_STATUS_IGMP_IMAGE, 170, 56, 14, 12, IDB_GREEN_LIGHT, pw::SS_CENTERIMAGE),
    Hidden(Label(IDC_STATUS_DVB_MAC_LABEL, 86, 86, 60, 8, "DVB MAC Address")),
    Hidden(Label(IDC_STATUS_DVB_MAC, 150, 86, 72, 8, "", VALUE)),
};

}  // namespace

constinit const platform::window::DialogTemplate STATUS_PANEL =
    Dialog(IDD_STATUS_PANEL, POPUP, 0, 231, 96, CONTROLS);

}  // namespace res::templates
