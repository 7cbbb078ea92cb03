#include "dialogs/channel_select_dialog.h"

#include "dialogs/dialog_look.h"
#include "platform/window/data_exchange.h"
#include "platform/window/edit_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/transparent_static.h"

namespace dialogs {

namespace window = platform::window;

CChannelSelectDlg::CChannelSelectDlg()
    : window::Dialog(res::FindDialogTemplate(res::IDD_CHANNEL_SELECT)) {
    // The edit box draws on the background picture: what lies under its
    // text is repainted before every change of the text.
    MapCommand(res::IDC_CHANNEL_NUMBER, window::EN_UPDATE, [this] {
        if (m_edit != nullptr) InvalidateRect(m_edit->GetPlacement().Deflated(2, 2, 2, 2));
    });
}

CChannelSelectDlg::~CChannelSelectDlg() {
    DestroyWindow();
}

bool CChannelSelectDlg::GetResult(std::int32_t& channel) const {
    channel = m_resultChannel;
    return m_confirmed;
}

void CChannelSelectDlg::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_CHANNEL_LABEL, m_label);
    window::DDX_Control(dx, res::IDC_CHANNEL_NUMBER, m_edit);
    window::DDX_Text(dx, res::IDC_CHANNEL_NUMBER, m_channel);
    window::DDV_MinMaxInt(dx, m_channel, MIN_CHANNEL, MAX_CHANNEL);
}

bool CChannelSelectDlg::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetButtonBitmap(*this, window::IDOK, res::IDB_CHECK_MARK);
    SetButtonBitmap(*this, window::IDCANCEL, res::IDB_CROSS);
    UseSkinHighlight(*this);
    m_channel = m_startChannel;
    if (m_channel < MIN_CHANNEL || m_channel > MAX_CHANNEL) m_channel = DEFAULT_CHANNEL;
    UpdateData(false);
    return true;
}

void CChannelSelectDlg::OnOK() {
    // A refused entry has been reported; the dialog stays open with the
    // entry selected for correction.
    if (!UpdateData(true)) return;
    m_resultChannel = m_channel;
    m_confirmed = true;
    EndDialog(window::IDOK);
}

void CChannelSelectDlg::OnCancel() {
    m_confirmed = false;
    EndDialog(window::IDCANCEL);
}

void CChannelSelectDlg::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (show) PlaceAtOwnerCorner(*this, OwnerCorner::TopRight);
}

void CChannelSelectDlg::OnCtlColor(window::Window*, window::ControlColors& colors) {
    GiveSkinTextColour(colors);
}

}  // namespace dialogs
