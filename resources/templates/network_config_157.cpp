// Template 157: the network configuration dialog (CNetCfgDlgSkined),
// 162 x 99, Arial 9, a modal pop-up without caption.
#include "platform/window/messages.h"
#include "resources/ids.h"
#include "resources/templates/all_templates.h"
#include "resources/templates/template_builders.h"

namespace res::templates {

namespace {

constexpr ControlTemplate CONTROLS[] = {
    Picture(NO_ID, 0, 0, 162, 99, IDB_DIALOG_BACKGROUND),
    Group(4, 0, 152, 58),
    Label(IDC_NET_RECEIVER_LABEL, 8, 10, 57, 10, "Receiver Address"),
    IpAddress(IDC_NET_RECEIVER_ADDRESS, 69, 9, 82, 13),
    Label(IDC_NET_SUBNET_LABEL, 8, 27, 49, 10, "Subnet Mask"),
    IpAddress(IDC_NET_SUBNET_MASK, 69, 26, 82, 13),
    Label(IDC_NET_GATEWAY_LABEL, 8, 42, 54, 10, "Default Gateway"),
    IpAddress(IDC_NET_GATEWAY, 69, 41, 82, 13),
    Label(IDC_NET_STATUS_LABEL, 7, 61, 57, 10, "Send Status To"),
    IpAddress(IDC_NET_STATUS_ADDRESS, 69, 60, 82, 13),
    Frame(NO_ID, 4, 78, 96, 18, pw::SS_SUNKEN),
    Label(IDC_NET_IGMP_LABEL, 6, 79, 74, 16, "Use IGMP for filtering Multicast Traffic",
          pw::SS_CENTER),
    OwnerDrawCheckBox(IDC_NET_IGMP, 85, 82, 10, 10),
    FlatBitmapButton(pw::IDOK, 118, 80, 14, 14, IDB_CHECK_MARK),
    FlatBitmapButton(pw::IDCANCEL, 140, 80, 14, 14, IDB_CROSS),
};

}  // namespace

constinit const platform::window::DialogTemplate NETWORK_CONFIG =
    Dialog(IDD_NETWORK_CONFIG, MODAL, 0, 162, 99, CONTROLS);

}  // namespace res::templates
