#include "dialogs/network_config_dialog.h"

#include <algorithm>

#include "dialogs/dialog_look.h"
#include "platform/window/data_exchange.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/message_box.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"
#include "skin/transparent_static.h"

namespace dialogs {

namespace window = platform::window;

namespace {

Ipv4Address Read(const window::IpAddressControl* control) {
    std::uint32_t value = 0;  // a blank field reads 0
    if (control != nullptr) control->GetAddress(value);
    return FromControlValue(value);
}

void Store(const Ipv4Address& address, std::uint8_t field[4]) {
    std::copy(address.begin(), address.end(), field);
}

}  // namespace

CNetCfgDlgSkined::CNetCfgDlgSkined()
    : window::Dialog(res::FindDialogTemplate(res::IDD_NETWORK_CONFIG)) {}

CNetCfgDlgSkined::~CNetCfgDlgSkined() {
    DestroyWindow();
}

void CNetCfgDlgSkined::SetStartValues(const Ipv4Address& receiverAddress,
                                      const Ipv4Address& gateway, const Ipv4Address& subnetMask,
                                      const Ipv4Address& statusAddress, bool igmp) {
    m_startReceiverAddress = receiverAddress;
    m_startGateway = gateway;
    m_startSubnetMask = subnetMask;
    m_startStatusAddress = statusAddress;
    m_startIgmp = igmp;
    m_hasStartValues = true;
}

bool CNetCfgDlgSkined::GetResult(NetworkSettings& settings) const {
    settings = m_result;
    return m_confirmed;
}

void CNetCfgDlgSkined::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_NET_RECEIVER_LABEL, m_receiverLabel);
    window::DDX_Control(dx, res::IDC_NET_RECEIVER_ADDRESS, m_receiverAddress);
    window::DDX_Control(dx, res::IDC_NET_SUBNET_LABEL, m_subnetLabel);
    window::DDX_Control(dx, res::IDC_NET_SUBNET_MASK, m_subnetMask);
    window::DDX_Control(dx, res::IDC_NET_GATEWAY_LABEL, m_gatewayLabel);
    window::DDX_Control(dx, res::IDC_NET_GATEWAY, m_gateway);
    window::DDX_Control(dx, res::IDC_NET_STATUS_LABEL, m_statusLabel);
    window::DDX_Control(dx, res::IDC_NET_STATUS_ADDRESS, m_statusAddress);
    window::DDX_Control(dx, res::IDC_NET_IGMP_LABEL, m_igmpLabel);
    window::DDX_Control(dx, res::IDC_NET_IGMP, m_igmp);
}

bool CNetCfgDlgSkined::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetButtonBitmap(*this, window::IDOK, res::IDB_CHECK_MARK);
    SetButtonBitmap(*this, window::IDCANCEL, res::IDB_CROSS);
    UseSkinHighlight(*this);

    const Ipv4Address none{};
    m_receiverAddress->SetAddress(ToControlValue(m_hasStartValues ? m_startReceiverAddress : none));
    m_subnetMask->SetAddress(ToControlValue(m_hasStartValues ? m_startSubnetMask : none));
    m_statusAddress->SetAddress(ToControlValue(m_hasStartValues ? m_startStatusAddress : none));
    m_gateway->SetAddress(ToControlValue(m_hasStartValues ? m_startGateway : none));
    m_igmp->SetChecked(m_hasStartValues ? m_startIgmp : true);

    SetUpToolTips(
        m_toolTip, *this, "Network Configuration Dialog", 8000,
        {
            {m_igmp, "Turn Internet Group Management Protocol On/Off"},
            {GetDlgItem(res::IDC_NET_RECEIVER_ADDRESS),
             "Enter the IP address for the receiver\n Note: Make sure the address is local to "
             "your network \n so that further configuration messages can be sent to the receiver"},
            {GetDlgItem(res::IDC_NET_SUBNET_MASK),
             "Enter the Subnet Mask to be used by the receiver in Forwarding decisions"},
            {GetDlgItem(res::IDC_NET_GATEWAY),
             "Enter the address of the Default gateway that the receiver should use"},
            {GetDlgItem(window::IDCANCEL), "Discard the Settings and close this dialog box"},
            {GetDlgItem(res::IDC_NET_STATUS_ADDRESS),
             "A copy of the device status will be sent to that unicast address \n Enter "
             "255.255.255.255 to disable that feature"},
            {this,
             "Enter the network settings for the R40\n Click check mark to apply settings or 'X' "
             "to cancel \n Note: you have to close this dialog box before using the console "
             "further "},
            {GetDlgItem(window::IDOK),
             "Apply the settings to the device \n Note: For further configuration messages to "
             "reach the device \n the network settings should make the receiver local to the "
             "configuring machine"},
        });
    return true;
}

void CNetCfgDlgSkined::OnOK() {
    NetworkSettings entered{};
    Store(Read(m_statusAddress), entered.unicastStatusAddress);
    Store(Read(m_subnetMask), entered.subnetMask);
    Store(Read(m_gateway), entered.defaultGateway);
    entered.statusPort = 0;  // the caller's to set
    Store(Read(m_receiverAddress), entered.deviceAddress);
    entered.listenPort = 0;
    entered.useIgmp = m_igmp->IsChecked() ? 1 : 0;
    // What no receiver can use is refused here, where it can be corrected,
    // by the library's own judgement (with a status port, which the caller
    // sets).
    NetworkSettings checked = entered;
    checked.statusPort = checked.listenPort = STATUS_PORTS[0];
    if (const std::int32_t refused = CheckNetworkSettings(&checked); refused != 0) {
        RefuseEntry(refused, entered);
        return;
    }
    m_confirmed = true;
    m_result = entered;
    EndDialog(window::IDOK);
}

void CNetCfgDlgSkined::RefuseEntry(std::int32_t refused, const NetworkSettings& entered) {
    struct Field {
        const char* label;
        const std::uint8_t* value;
        window::IpAddressControl* control;
    };
    const Field field = refused == ERR_NET_MASK_INVALID
                            ? Field{"Subnet Mask", entered.subnetMask, m_subnetMask}
                        : refused == ERR_NET_GATEWAY_INVALID
                            ? Field{"Default Gateway", entered.defaultGateway, m_gateway}
                        : refused == ERR_NET_STATUS_COPY_INVALID
                            ? Field{"Send Status To", entered.unicastStatusAddress, m_statusAddress}
                            : Field{"Receiver Address", entered.deviceAddress, m_receiverAddress};
    const std::string text = std::string(field.label) + " " + std::to_string(field.value[0]) + "." +
                             std::to_string(field.value[1]) + "." + std::to_string(field.value[2]) +
                             "." + std::to_string(field.value[3]) +
                             " cannot be given to a receiver:\n" + DeviceResultText(refused);
    window::AfxMessageBox(text, window::MB_OK | window::MB_ICONEXCLAMATION);
    if (field.control != nullptr) field.control->SetFocus();
}

void CNetCfgDlgSkined::OnCancel() {
    m_confirmed = false;
    EndDialog(window::IDCANCEL);
}

void CNetCfgDlgSkined::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (!show) return;
    if (m_anchorRect.top != 0) MoveTo(m_anchorRect.right, m_anchorRect.top);
    PlaceBehind(GetParent());
}

bool CNetCfgDlgSkined::PreTranslateMessage(const window::InputMessage& message) {
    m_toolTip.RelayEvent(message);
    return window::Dialog::PreTranslateMessage(message);
}

void CNetCfgDlgSkined::OnCtlColor(window::Window*, window::ControlColors& colors) {
    GiveSkinTextColour(colors);
}

}  // namespace dialogs
