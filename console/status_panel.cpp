#include "console/status_panel.h"

#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "console/device_text.h"
#include "platform/window/data_exchange.h"
#include "platform/window/images.h"
#include "platform/window/list_box_control.h"
#include "platform/window/picture_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/skin_palette.h"
#include "skin/transparent_static.h"

namespace console {

namespace window = platform::window;

CR40DressedStatusBasic::CR40DressedStatusBasic()
    : window::Dialog(res::FindDialogTemplate(res::IDD_STATUS_PANEL)) {}

CR40DressedStatusBasic::~CR40DressedStatusBasic() {
    DestroyWindow();
}

void CR40DressedStatusBasic::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_STATUS_PID_TITLE, m_pidTitle);
    window::DDX_Control(dx, res::IDC_STATUS_PID_LIST, m_pidList);
    window::DDX_Control(dx, res::IDC_STATUS_CHANNEL_LABEL, m_channelLabel);
    window::DDX_Control(dx, res::IDC_STATUS_CHANNEL, m_channel);
    window::DDX_Control(dx, res::IDC_STATUS_SNR_LABEL, m_snrLabel);
    window::DDX_Control(dx, res::IDC_STATUS_SNR, m_snr);
    window::DDX_Control(dx, res::IDC_STATUS_GATEWAY_LABEL, m_gatewayLabel);
    window::DDX_Control(dx, res::IDC_STATUS_GATEWAY, m_gateway);
    window::DDX_Control(dx, res::IDC_STATUS_IGMP_LABEL, m_igmpLabel);
    window::DDX_Control(dx, res::IDC_STATUS_IGMP_IMAGE, m_igmpImage);
    window::DDX_Control(dx, res::IDC_STATUS_DVB_MAC_LABEL, m_dvbMacLabel);
    window::DDX_Control(dx, res::IDC_STATUS_DVB_MAC, m_dvbMac);
}

bool CR40DressedStatusBasic::OnInitDialog() {
    window::Dialog::OnInitDialog();
    m_scaler.Apply(*this, *Template(), window::LAYOUT_DPI);
    if (m_pidList != nullptr) {
        m_pidList->ResetContent();
        m_pidList->AddString("PID LIST");
    }
    m_igmpOn = window::LoadBitmap(res::IDB_GREEN_LIGHT);
    m_igmpOff = window::LoadBitmap(res::IDB_RED_LIGHT);
    if (m_igmpImage != nullptr) m_igmpImage->ShowWindow(window::SW_HIDE);
    for (int snr : {res::IDC_STATUS_SNR, res::IDC_STATUS_SNR_LABEL})
        if (QWidget* control = GetDlgItem(snr)) control->setCursor(Qt::PointingHandCursor);
    return true;
}

bool CR40DressedStatusBasic::PreTranslateMessage(QObject* target, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && m_onSnrClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        (target == GetDlgItem(res::IDC_STATUS_SNR) ||
         target == GetDlgItem(res::IDC_STATUS_SNR_LABEL))) {
        // The handler may destroy this panel's neighbours, never the panel.
        m_onSnrClick();
        return true;
    }
    return window::Dialog::PreTranslateMessage(target, event);
}

void CR40DressedStatusBasic::OnDestroy() {
    m_scaler.Restore();
    window::Dialog::OnDestroy();
}

bool CR40DressedStatusBasic::UpdateFromStatus(const R40StatusRecord* record) {
    if (record == nullptr) return false;
    if (!HasWindow()) return true;

    if (record->channel != m_lastChannel) {
        m_lastChannel = record->channel;
        m_channel->SetText(std::to_string(m_lastChannel));
    }
    // A value that is not a number never equals the last one.
    const float snr = record->snr;
    if (!(snr == m_lastSnr)) {
        m_lastSnr = snr;
        char text[64];
        std::snprintf(text, sizeof text, "%2.2f dB", static_cast<double>(snr));
        m_snr->SetText(text);
    }
    if (std::memcmp(record->defaultGateway, m_lastGateway.data(), 4) != 0) {
        std::memcpy(m_lastGateway.data(), record->defaultGateway, 4);
        m_gateway->SetText(FormatAddress(record->defaultGateway));
    }
    if (std::memcmp(record->dvbMac, m_lastDvbMac.data(), 6) != 0) {
        std::memcpy(m_lastDvbMac.data(), record->dvbMac, 6);
        m_dvbMac->SetText(FormatMac(record->dvbMac));
    }
    const window::Image& igmp = record->igmpOn != 0 ? m_igmpOn : m_igmpOff;
    if (!m_igmpImage->IsWindowVisible()) m_igmpImage->ShowWindow(window::SW_SHOW);
    if (!m_igmpImage->GetBitmap().SharesPixels(igmp)) m_igmpImage->SetBitmap(igmp);
    ShowPidList(record->pids);
    return true;
}

void CR40DressedStatusBasic::ShowPidList(const PidListRecord& pids) {
    // A count from the wire is held to what the record can hold.
    const int count = std::clamp<std::int32_t>(pids.count, 0, MAX_PIDS);
    bool same = count == m_lastPidCount;
    for (int i = 0; same && i < count; ++i) same = pids.pid[i] == m_lastPids[i];
    if (same) return;

    ++m_pidListRebuilds;
    m_pidList->ResetContent();
    m_lastPidCount = count;
    for (int i = 0; i < count; ++i) {
        const std::uint16_t pid = pids.pid[i];
        char text[32];
        std::snprintf(text, sizeof text, "0x%04X  (%04d)", unsigned{pid}, int{pid});
        m_pidList->AddString(text);
        m_lastPids[i] = pid;
    }
}

bool CR40DressedStatusBasic::OnDrawItem(window::DrawItem& item) {
    if (item.controlId != res::IDC_STATUS_PID_LIST) return false;
    if (item.itemId < 0 || item.itemId >= m_pidList->GetCount()) return true;
    window::DeviceContext& dc = *item.dc;
    dc.Save();
    dc.FillRect(item.rect, dc.BackgroundColor());
    dc.SetTextColor(skin::SKIN_COLOR);
    dc.DrawText(item.rect, item.text,
                window::DT_CENTER | window::DT_VCENTER | window::DT_SINGLELINE);
    dc.Restore();
    return true;
}

}  // namespace console
