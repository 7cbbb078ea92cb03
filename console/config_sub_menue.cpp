#include "console/config_sub_menue.h"

#include <array>
#include <cstring>

#include "config/pid_list_form.h"
#include "config/r40_settings_to_xml_doc.h"
#include "console/console_messages.h"
#include "console/halden_dlg.h"
#include "dialogs/channel_select_dialog.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/reset_confirm_window.h"
#include "platform/window/button_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/images.h"
#include "platform/window/message_box.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/worker_thread.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/circle_progress.h"
#include "skin/skin_palette.h"
#include "skin/transparent_static.h"

namespace console {

namespace window = platform::window;
using dialogs::CChannelSelectDlg;
using dialogs::CContentSelectDlg;
using dialogs::CNetCfgDlgSkined;
using dialogs::CResetConfirmWindow;

namespace {

const QString NETWORK_PROMPT =
    QStringLiteral("Enter Network Prameters, and click check mark to apply them");
const QString CHANNEL_PROMPT = QStringLiteral("Enter the Channel Number");
const QString CONTENT_PROMPT = QStringLiteral("Select the programs that carry the Data Services");
const QString CONFIGURING = QStringLiteral("Configuring Device\nPlease Wait");
const QString SUCCESS = QStringLiteral("SUCCESS");
const QString FAILED = QStringLiteral("Failed To Configure");
const QString PID_LIST_UNREADABLE =
    QStringLiteral("Error loading PID list from file, using empty list.");

}  // namespace

CConfigSubMenue::CConfigSubMenue() : window::Dialog(res::FindDialogTemplate(res::IDD_CONFIG_MENU)) {
    MapCommand(res::IDC_MENU_NETWORK, window::BN_CLICKED, [this] { OnNetwork(); });
    MapCommand(res::IDC_MENU_CHANNEL, window::BN_CLICKED, [this] { OnChannel(); });
    MapCommand(res::IDC_MENU_CONTENT, window::BN_CLICKED, [this] { OnContent(); });
    MapCommand(res::IDC_MENU_RESET, window::BN_CLICKED, [this] { OnReset(); });
    MapMessage(WM_APPLY_STARTED, [this](window::Message& m) { return OnApplyStarted(m); });
    MapMessage(WM_APPLY_FINISHED, [this](window::Message& m) { return OnApplyFinished(m); });
}

CConfigSubMenue::~CConfigSubMenue() {
    // A running apply goes on with its own job; its posts to this window
    // are dropped once the window is gone.
    DestroyWindow();
}

void CConfigSubMenue::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_MENU_NETWORK, m_networkButton);
    window::DDX_Control(dx, res::IDC_MENU_CHANNEL, m_channelButton);
    window::DDX_Control(dx, res::IDC_MENU_CONTENT, m_contentButton);
    window::DDX_Control(dx, res::IDC_MENU_RESET, m_resetButton);
    window::DDX_Control(dx, res::IDC_MENU_MESSAGE, m_message);
    window::DDX_Control(dx, res::IDC_MENU_PROGRESS, m_progress);
}

bool CConfigSubMenue::OnInitDialog() {
    window::Dialog::OnInitDialog();
    const std::pair<window::ButtonControl*, int> pictures[] = {
        {m_channelButton, res::IDB_MENU_CHANNEL},
        {m_networkButton, res::IDB_MENU_NETWORK},
        {m_resetButton, res::IDB_MENU_RESET},
        {m_contentButton, res::IDB_MENU_CONTENT},
    };
    for (const auto& [button, id] : pictures) {
        const QPixmap picture = window::LoadBitmap(id);
        if (button != nullptr && !picture.isNull()) button->SetBitmap(picture);
    }

    m_mainWindow = qobject_cast<CHaldenDlg*>(GetOwnerWindow());
    std::string chosen;
    if (m_mainWindow != nullptr && m_mainWindow->GetChosenConfigFile(chosen))
        m_configSource = chosen;
    else
        m_configSource = LAST_USED_CONFIG_FILE;

    SetUpToolTips();
    return true;
}

void CConfigSubMenue::SetUpToolTips() {
    m_toolTip.Create(this);
    m_toolTip.SetTitle(window::TTI_INFO, QStringLiteral("Configuration Menu"));
    m_toolTip.SetTipTextColor(window::Rgb(204, 45, 48));
    const std::pair<QWidget*, const char*> tools[] = {
        {m_networkButton,
         "This button opens the network configuration dialog \n Netowrk configuration affects "
         "receiver IP address, Default Gateway and SubnetMask \n You can turn turn IGMP on or "
         "off from that dialog box"},
        {m_resetButton,
         "This button Brings up the reset device dialog \n This allows you to send a reset "
         "Message to the Receiver"},
        {m_channelButton,
         "This button brings up the channel configuration dialog \n You can select the Channel "
         "number that you want to tune to \n Click on the Check Mark to apply the configuration"},
        {m_contentButton,
         "This button opens the content selection dialog \n Use this dialog to select the "
         "programs that you want to receive \n Click on the check mark to apply the settings"},
    };
    for (const auto& [tool, text] : tools)
        if (tool != nullptr) m_toolTip.AddTool(tool, QString::fromUtf8(text));
}

bool CConfigSubMenue::PreTranslateMessage(QObject* target, QEvent* event) {
    m_toolTip.RelayEvent(target, event);
    return window::Dialog::PreTranslateMessage(target, event);
}

QString CConfigSubMenue::MessageText() const {
    return m_message != nullptr ? m_message->Text() : QString();
}

bool CConfigSubMenue::MessageShown() const {
    return m_message != nullptr && !m_message->isHidden();
}

void CConfigSubMenue::Close() {
    if (m_activeDialog != nullptr) m_activeDialog->EndDialog(window::IDCANCEL);
    DestroyWindow();
}

bool CConfigSubMenue::RunDialog(window::Dialog& dialog, int* result) {
    ++m_handlerDepth;
    m_activeDialog = &dialog;
    const int answer = dialog.DoModal();
    m_activeDialog = nullptr;
    --m_handlerDepth;
    if (result != nullptr) *result = answer;
    return HasWindow();
}

bool CConfigSubMenue::Busy() const {
    return m_resultShown || WorkerRunning();
}

// ---- Button places -----------------------------------------------------------------

void CConfigSubMenue::IsolateButton(window::ButtonControl* button) {
    for (window::ButtonControl* each :
         {m_networkButton, m_channelButton, m_contentButton, m_resetButton})
        if (each != nullptr) each->setVisible(each == button);
}

void CConfigSubMenue::MoveButtonToTopSlot(window::ButtonControl* button) {
    if (button == nullptr || m_networkButton == nullptr) return;
    m_savedButtonPlace = window::Rect::FromQRect(button->geometry());
    button->move(m_networkButton->pos());
}

void CConfigSubMenue::RestoreButton(window::ButtonControl* button) {
    if (button == nullptr) return;
    button->move(m_savedButtonPlace.left, m_savedButtonPlace.top);
}

void CConfigSubMenue::ShowAllButtons() {
    for (window::ButtonControl* each :
         {m_networkButton, m_channelButton, m_contentButton, m_resetButton})
        if (each != nullptr) each->show();
}

void CConfigSubMenue::BackToIdle(window::ButtonControl* moved) {
    if (moved != nullptr) RestoreButton(moved);
    HideMessage();
    ShowAllButtons();
}

void CConfigSubMenue::ShowMessage(const QString& text) {
    if (m_message == nullptr) return;
    m_message->SetText(text);
    m_message->show();
}

void CConfigSubMenue::HideMessage() {
    if (m_message != nullptr) m_message->hide();
}

// ---- The four buttons -----------------------------------------------------------------

void CConfigSubMenue::OnNetwork() {
    if (Busy()) return;
    CNetCfgDlgSkined dialog;
    dialog.SetAnchorRect(GetWindowRect());

    CR40SettingsToXmlDoc source;
    std::array<std::uint8_t, 4> address{}, gateway{}, mask{}, status{};
    std::int32_t igmp = 0;
    if (source.Load(m_configSource) && source.ReadDeviceIP(address) &&
        source.ReadDefaultGW(gateway) && source.ReadDeviceSubNet(mask) &&
        source.ReadUnicastStatus(status) && source.ReadUseIGMP(igmp))
        dialog.SetStartValues(address, gateway, mask, status, igmp == 1);

    IsolateButton(m_networkButton);
    ShowMessage(NETWORK_PROMPT);
    if (!RunDialog(dialog)) return;  // the menu went while its dialog was open

    auto job = std::make_shared<ApplyJob>();
    job->kind = APPLY_NETWORK;
    if (!dialog.GetResult(job->network)) {
        ShowAllButtons();
        HideMessage();
        return;
    }
    NetworkSettings& settings = job->network;
    if (m_mainWindow != nullptr) {
        settings.statusPort = m_mainWindow->StatusPort();
        settings.listenPort = m_mainWindow->StatusPort();
    }
    std::array<std::uint8_t, 3> key{};
    const bool haveKey = m_mainWindow != nullptr && m_mainWindow->GetSelectedKeyBytes(key.data());
    CR40SettingsToXmlDoc lastUsed;
    if (lastUsed.OpenForWriting(LAST_USED_CONFIG_FILE) == OPEN_OK) {
        if (haveKey) lastUsed.WriteMACBytes(key);
        lastUsed.WriteDefaultGW(std::span<const std::uint8_t, 4>(settings.defaultGateway));
        lastUsed.WriteDeviceIP(std::span<const std::uint8_t, 4>(settings.deviceAddress));
        lastUsed.WriteDeviceSubNet(std::span<const std::uint8_t, 4>(settings.subnetMask));
        lastUsed.WriteUnicastStatus(
            std::span<const std::uint8_t, 4>(settings.unicastStatusAddress));
        lastUsed.WriteUseIGMP(settings.useIgmp == 1);
    }
    StartApply(std::move(job));
}

void CConfigSubMenue::OnChannel() {
    if (Busy()) return;
    IsolateButton(m_channelButton);
    MoveButtonToTopSlot(m_channelButton);

    CChannelSelectDlg dialog;
    dialog.SetOwnerReference(Handle());
    CR40SettingsToXmlDoc source;
    std::int32_t channel = 0;
    if (source.Load(m_configSource) && source.ReadChannel(channel)) dialog.SetStartChannel(channel);

    ShowMessage(CHANNEL_PROMPT);
    if (!RunDialog(dialog)) return;

    std::int32_t chosen = 0;
    if (!dialog.GetResult(chosen)) {
        BackToIdle(m_channelButton);
        return;
    }
    auto job = std::make_shared<ApplyJob>();
    job->kind = APPLY_CHANNEL;
    job->channel = static_cast<std::uint16_t>(chosen);
    CR40SettingsToXmlDoc lastUsed;
    if (lastUsed.OpenForWriting(LAST_USED_CONFIG_FILE) == OPEN_OK) lastUsed.WriteChannel(chosen);
    StartApply(std::move(job));
}

void CConfigSubMenue::OnContent() {
    if (Busy()) return;
    // The dialog edits the record in place, so it lives in the job from the
    // start; the form is the one the device type takes.
    auto job = std::make_shared<ApplyJob>();
    job->kind = APPLY_CONTENT;
    job->pidList = config::EmptyPidListFor(m_deviceType);

    CContentSelectDlg dialog(m_deviceType);
    dialog.SetOwnerReference(Handle());
    IsolateButton(m_contentButton);
    MoveButtonToTopSlot(m_contentButton);

    CR40SettingsToXmlDoc source;
    const bool loaded = source.Load(m_configSource);
    const bool read =
        loaded &&
        std::visit(
            [&source](auto& list) {
                if constexpr (std::is_same_v<std::decay_t<decltype(list)>, TrevanPidListRecord>)
                    return source.ReadPIDListWithDestinations(list);
                else
                    return source.ReadPIDList(list);
            },
            job->pidList);
    if (!read) {
        job->pidList =
            config::EmptyPidListFor(m_deviceType);  // a failed read may have filled part of it
        ++m_handlerDepth;
        window::AfxMessageBox(PID_LIST_UNREADABLE, window::MB_OK);
        --m_handlerDepth;
        if (!HasWindow()) return;
    }

    std::visit([&dialog](auto& list) { dialog.AttachPidList(&list); }, job->pidList);
    ShowMessage(CONTENT_PROMPT);
    if (!RunDialog(dialog)) return;

    if (!dialog.IsConfirmed()) {
        BackToIdle(m_contentButton);
        return;
    }
    CR40SettingsToXmlDoc lastUsed;
    if (lastUsed.OpenForWriting(LAST_USED_CONFIG_FILE) == OPEN_OK) {
        std::visit(
            [&lastUsed](const auto& list) {
                if constexpr (std::is_same_v<std::decay_t<decltype(list)>, TrevanPidListRecord>)
                    lastUsed.WritePIDListWithDestinations(list);
                else
                    lastUsed.WritePIDList(list);
            },
            job->pidList);
    }
    StartApply(std::move(job));
}

void CConfigSubMenue::OnReset() {
    if (Busy()) return;
    IsolateButton(m_resetButton);
    MoveButtonToTopSlot(m_resetButton);

    CResetConfirmWindow dialog;
    dialog.SetOwnerReference(Handle());
    int answer = window::IDCANCEL;
    if (!RunDialog(dialog, &answer)) return;
    if (answer != window::IDOK) {
        BackToIdle(m_resetButton);
        return;
    }
    auto job = std::make_shared<ApplyJob>();
    job->kind = APPLY_RESET;
    StartApply(std::move(job));
}

// ---- Applying -------------------------------------------------------------------------

void CConfigSubMenue::StartApply(std::shared_ptr<ApplyJob> job) {
    if (WorkerRunning()) return;
    // The device open now, not the one open when the menu was made: the
    // operator may have picked another since, and the old one is closed.
    if (m_mainWindow != nullptr) job->device = m_mainWindow->GetOpenDevice();
    window::SetCapture(this);
    m_applyKind = job->kind;
    job->running = true;
    m_job = job;
    if (m_mainWindow != nullptr) m_mainWindow->TrackApply(job);
    const bool started = window::BeginWorkerThread(
        [job](window::WindowHandle menu) { ApplyWorker(job, menu); }, Handle());
    if (!started) {
        // No thread: report the failure as the worker would have.
        job->running = false;
        window::PostMessage(Handle(), WM_APPLY_STARTED, static_cast<std::uintptr_t>(job->kind), 1);
        window::PostMessage(Handle(), WM_APPLY_FINISHED, static_cast<std::uintptr_t>(job->kind),
                            RC_FAILED);
    }
}

std::intptr_t CConfigSubMenue::OnApplyStarted(window::Message&) {
    m_progressRunning = true;
    SetTimer(TIMER_PROGRESS, PROGRESS_PERIOD_MS);
    ShowMessage(CONFIGURING);
    if (m_progress != nullptr) {
        m_progress->show();
        m_progress->SetRange(100);
        m_progress->SetColor(skin::SKIN_COLOR);
        m_progress->SetCircleColor(QColor(255, 0, 0));
        m_progress->SetStep(1);
        m_progress->SetPos(0);
    }
    return 0;
}

std::intptr_t CConfigSubMenue::OnApplyFinished(window::Message& message) {
    KillTimer(TIMER_PROGRESS);
    m_progressRunning = false;
    ShowMessage(message.lParam == 0 ? SUCCESS : FAILED);
    if (m_progress != nullptr) m_progress->hide();
    SetTimer(TIMER_RESULT_HOLD, RESULT_HOLD_MS);
    m_resultShown = true;
    return 0;
}

window::ButtonControl* CConfigSubMenue::ButtonOfKind(int kind) const {
    switch (kind) {
        case APPLY_CHANNEL:
            return m_channelButton;
        case APPLY_CONTENT:
            return m_contentButton;
        case APPLY_RESET:
            return m_resetButton;
        default:
            return nullptr;  // the network button never leaves the top slot
    }
}

void CConfigSubMenue::OnTimer(int id) {
    if (id == TIMER_PROGRESS) {
        if (m_progressRunning && m_progress != nullptr) m_progress->StepIt();
    } else if (id == TIMER_RESULT_HOLD) {
        if (window::ButtonControl* moved = ButtonOfKind(m_applyKind)) RestoreButton(moved);
        HideMessage();
        ShowAllButtons();
        m_resultShown = false;
        KillTimer(TIMER_RESULT_HOLD);
        if (window::GetCapture() == this) window::ReleaseCapture();
    }
    window::Dialog::OnTimer(id);
}

}  // namespace console
