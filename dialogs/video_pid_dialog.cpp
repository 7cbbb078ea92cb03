#include "dialogs/video_pid_dialog.h"

#include "dialogs/dialog_look.h"
#include "platform/window/data_exchange.h"
#include "platform/window/edit_control.h"
#include "platform/window/images.h"
#include "platform/window/ip_address_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

namespace dialogs {

namespace window = platform::window;

CConfVideoPIDDlg::CConfVideoPIDDlg()
    : window::Dialog(res::FindDialogTemplate(res::IDD_VIDEO_PID)) {}

CConfVideoPIDDlg::~CConfVideoPIDDlg() {
    DestroyWindow();
}

void CConfVideoPIDDlg::SetTarget(std::uint16_t pid, const Ipv4Address& address,
                                 std::uint16_t port) {
    m_pid = pid;
    m_destAddress = address;
    m_destPort = port;
}

void CConfVideoPIDDlg::GetDestination(Ipv4Address& address, std::uint16_t& port) const {
    address = m_destAddress;
    port = m_destPort;
}

void CConfVideoPIDDlg::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_VIDEO_ADDRESS, m_address);
    window::DDX_Control(dx, res::IDC_VIDEO_PORT, m_port);
    window::DDX_Text(dx, res::IDC_VIDEO_PORT, m_portValue);
    window::DDV_MinMaxInt(dx, m_portValue, 0, MAX_PORT);
    window::DDX_Text(dx, res::IDC_VIDEO_PID_TEXT, m_pidText);
}

bool CConfVideoPIDDlg::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetButtonBitmap(*this, window::IDOK, res::IDB_CHECK_MARK);
    SetButtonBitmap(*this, window::IDCANCEL, res::IDB_CROSS);
    UseSkinHighlight(*this);
    m_address->SetAddress(ToControlValue(m_destAddress));
    m_portValue = m_destPort;
    m_pidText = "PID:  " + std::to_string(unsigned{m_pid});

    SetUpToolTips(
        m_toolTip, *this, "Video PID Configuration Dialog", 6000,
        {
            {GetDlgItem(window::IDOK), "Save the Video PID settings for the selected PID"},
            {GetDlgItem(window::IDCANCEL),
             "Discard the Video PID settings and close this dialog box"},
            {GetDlgItem(res::IDC_VIDEO_ADDRESS),
             "Enter the Destination IP address for the Video PID."},
            {GetDlgItem(res::IDC_VIDEO_PORT), "Enter the Destination UDP port for the Video PID."},
            {this,
             "Enter the Destination IP address and UDP port for the video PID \n Click "
             "check mark to apply settings or 'X' to cancel \n Note: you have to close "
             "this dialog box before using the console further "},
        });
    UpdateData(false);
    return true;
}

void CConfVideoPIDDlg::OnOK() {
    // A refused port has been reported; the dialog stays open with the port
    // selected for correction.
    if (!UpdateData(true)) return;
    m_confirmed = true;
    std::uint32_t address = 0;  // a blank field reads 0
    m_address->GetAddress(address);
    m_destAddress = FromControlValue(address);
    m_destPort = static_cast<std::uint16_t>(m_portValue);
    EndDialog(window::IDOK);
}

void CConfVideoPIDDlg::OnCancel() {
    EndDialog(window::IDCANCEL);
}

void CConfVideoPIDDlg::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (show) PlaceAtOwnerCorner(*this, OwnerCorner::TopLeft);
}

bool CConfVideoPIDDlg::PreTranslateMessage(const window::InputMessage& message) {
    m_toolTip.RelayEvent(message);
    return window::Dialog::PreTranslateMessage(message);
}

void CConfVideoPIDDlg::OnCtlColor(window::Window*, window::ControlColors& colors) {
    GiveSkinTextColour(colors);
    // Labels blend with the background picture: their fill is that picture,
    // aligned to the window.
    if (colors.kind == window::ControlKind::Static)
        colors.background = window::LoadBitmap(res::IDB_VIDEO_PID_BACKGROUND);
}

}  // namespace dialogs
