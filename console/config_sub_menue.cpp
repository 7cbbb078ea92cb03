#include "console/config_sub_menue.h"

#include <array>
#include <cstring>

#include "config/pid_list_form.h"
#include "config/r40_settings_to_xml_doc.h"
#include "config/tuning_form.h"
#include "console/console_messages.h"
#include "console/halden_dlg.h"
#include "console/start_values_read.h"
#include "devicelib/devicelib.h"
#include "dialogs/channel_select_dialog.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/reset_confirm_window.h"
#include "dialogs/satellite_tuning_dialog.h"
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
using dialogs::CSatelliteTuningDlg;

namespace {

constexpr char NETWORK_PROMPT[] = "Enter Network Prameters, and click check mark to apply them";
constexpr char CHANNEL_PROMPT[] = "Enter the Channel Number";
constexpr char SATELLITE_PROMPT[] = "Enter the Frequency and Symbol Rate";
constexpr char CONTENT_PROMPT[] = "Select the programs that carry the Data Services";
constexpr char CONFIGURING[] = "Configuring Device\nPlease Wait";
constexpr char SUCCESS[] = "SUCCESS";
constexpr char FAILED[] = "Failed To Configure";
// The receiver's own values are read before its dialog opens.
constexpr char READING[] = "Reading Device\nPlease Wait";
constexpr char READ_FAILED[] = "Failed To Read Device";
constexpr std::string_view PID_LIST_UNREADABLE =
    "Error loading PID list from file, using empty list.";

}  // namespace

CConfigSubMenue::CConfigSubMenue() : window::Dialog(res::FindDialogTemplate(res::IDD_CONFIG_MENU)) {
    MapCommand(res::IDC_MENU_NETWORK, window::BN_CLICKED, [this] { OnNetwork(); });
    MapCommand(res::IDC_MENU_CHANNEL, window::BN_CLICKED, [this] { OnChannel(); });
    MapCommand(res::IDC_MENU_CONTENT, window::BN_CLICKED, [this] { OnContent(); });
    MapCommand(res::IDC_MENU_RESET, window::BN_CLICKED, [this] { OnReset(); });
    MapMessage(WM_APPLY_STARTED, [this](window::Message& m) { return OnApplyStarted(m); });
    MapMessage(WM_APPLY_FINISHED, [this](window::Message& m) { return OnApplyFinished(m); });
    MapMessage(WM_START_VALUES_READ, [this](window::Message& m) { return OnStartValuesRead(m); });
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
        const window::Image picture = window::LoadBitmap(id);
        if (button != nullptr && !picture.IsNull()) button->SetBitmap(picture);
    }

    m_mainWindow = dynamic_cast<CHaldenDlg*>(GetOwnerWindow());
    std::string chosen;
    m_sourceChosen = m_mainWindow != nullptr && m_mainWindow->GetChosenConfigFile(chosen);
    m_configSource = m_sourceChosen ? chosen : std::string(LAST_USED_CONFIG_FILE);

    SetUpToolTips();
    TakeOverRunningApply();
    return true;
}

void CConfigSubMenue::SetUpToolTips() {
    m_toolTip.Create(this);
    m_toolTip.SetTitle(window::TTI_INFO, "Configuration Menu");
    m_toolTip.SetTipTextColor(window::Rgb(204, 45, 48));
    const std::pair<window::Window*, const char*> tools[] = {
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
        if (tool != nullptr) m_toolTip.AddTool(tool, text);
}

bool CConfigSubMenue::PreTranslateMessage(const window::InputMessage& message) {
    m_toolTip.RelayEvent(message);
    return window::Dialog::PreTranslateMessage(message);
}

std::string CConfigSubMenue::MessageText() const {
    return m_message != nullptr ? m_message->Text() : std::string();
}

bool CConfigSubMenue::MessageShown() const {
    return m_message != nullptr && m_message->IsWindowVisible();
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
    return m_resultShown || m_reading || WorkerRunning() ||
           (m_mainWindow != nullptr && m_mainWindow->ChangeRunning());
}

// ---- Button places -----------------------------------------------------------------

void CConfigSubMenue::IsolateButton(window::ButtonControl* button) {
    for (window::ButtonControl* each :
         {m_networkButton, m_channelButton, m_contentButton, m_resetButton})
        if (each != nullptr) each->ShowWindow(each == button ? window::SW_SHOW : window::SW_HIDE);
}

void CConfigSubMenue::MoveButtonToTopSlot(window::ButtonControl* button) {
    if (button == nullptr || m_networkButton == nullptr) return;
    // Already there (its values were read first): its own place is kept.
    const window::Rect top = m_networkButton->GetPlacement();
    const window::Rect own = button->GetPlacement();
    if (own.left == top.left && own.top == top.top) return;
    m_savedButtonPlace = own;
    button->MoveTo(top.left, top.top);
}

void CConfigSubMenue::RestoreButton(window::ButtonControl* button) {
    if (button == nullptr) return;
    button->MoveTo(m_savedButtonPlace.left, m_savedButtonPlace.top);
}

void CConfigSubMenue::ShowAllButtons() {
    for (window::ButtonControl* each :
         {m_networkButton, m_channelButton, m_contentButton, m_resetButton})
        if (each != nullptr) each->ShowWindow(window::SW_SHOW);
}

void CConfigSubMenue::BackToIdle(window::ButtonControl* moved) {
    if (moved != nullptr) RestoreButton(moved);
    HideMessage();
    ShowAllButtons();
}

void CConfigSubMenue::ShowMessage(std::string_view text) {
    if (m_message == nullptr) return;
    m_message->SetText(text);
    m_message->ShowWindow(window::SW_SHOW);
}

void CConfigSubMenue::HideMessage() {
    if (m_message != nullptr) m_message->ShowWindow(window::SW_HIDE);
}

// ---- Start values ---------------------------------------------------------------------

bool CConfigSubMenue::SelectedReceiver(config::ReceiverKey& key,
                                       std::array<std::uint8_t, 4>& address) const {
    DeviceInfo entry{};
    if (m_mainWindow == nullptr || !m_mainWindow->GetSelectedEntry(entry)) return false;
    key = config::KeyOfMac(entry.mac);
    std::copy(std::begin(entry.address), std::end(entry.address), address.begin());
    return true;
}

bool CConfigSubMenue::SourceSpeaksFor(const CR40SettingsToXmlDoc& source, bool identity) const {
    config::ReceiverKey key{};
    std::array<std::uint8_t, 4> address{};
    // Without a selected receiver there is nobody else's file to fear.
    if (!SelectedReceiver(key, address)) return true;
    // A chosen file is the operator's pick for the channel and the PID
    // list; its network settings are another receiver's identity unless it
    // describes this one.
    if (m_sourceChosen && !identity) return true;
    return config::DescribesReceiver(source, key, address);
}

std::optional<ReceiverState> CConfigSubMenue::KnownState() const {
    if (m_mainWindow == nullptr) return std::nullopt;
    return m_mainWindow->OpenDeviceState();
}

bool CConfigSubMenue::OpenLastUsed(CR40SettingsToXmlDoc& lastUsed) const {
    if (lastUsed.OpenForWriting(LAST_USED_CONFIG_FILE) != OPEN_OK) return false;
    config::ReceiverKey key{};
    std::array<std::uint8_t, 4> address{};
    if (SelectedReceiver(key, address)) {
        // The file keeps one receiver's configuration: mixed with another's,
        // its network settings would be taken for this receiver's.
        if (!config::DescribesReceiver(lastUsed, key, address)) lastUsed.StartAfresh();
        lastUsed.WriteMACBytes(key);
    }
    return true;
}

bool CConfigSubMenue::ReadThenOpen(int kind, bool wantStatus, bool wantPidList) {
    SharedDevice device = m_mainWindow != nullptr ? m_mainWindow->GetOpenDevice() : nullptr;
    if (!device) return false;
    window::ButtonControl* button = kind == APPLY_NETWORK ? m_networkButton : ButtonOfKind(kind);
    IsolateButton(button);
    if (kind != APPLY_NETWORK) MoveButtonToTopSlot(button);
    ShowMessage(READING);
    StartProgress();
    window::SetCapture(this);
    m_reading = true;

    auto read = std::make_shared<StartValuesRead>();
    read->kind = kind;
    read->generation = device->Generation();
    read->wantStatus = wantStatus;
    read->wantPidList = wantPidList;
    auto running = std::make_shared<std::atomic<bool>>(true);
    m_mainWindow->TrackWorker(running);
    const bool started = window::BeginWorkerThread(
        [read, device, running](window::WindowHandle menu) mutable {
            StartValuesWorker(std::move(read), std::move(device), running, menu);
        },
        Handle());
    if (!started) {
        *running = false;
        auto failed = std::make_unique<StartValuesRead>(*read);
        window::PostMessage(Handle(), WM_START_VALUES_READ, static_cast<std::uintptr_t>(kind), 0,
                            std::move(failed));
    }
    return true;
}

std::intptr_t CConfigSubMenue::OnStartValuesRead(window::Message& message) {
    std::unique_ptr<StartValuesRead> read = message.payload.Take<StartValuesRead>();
    if (!m_reading || !read) return 1;
    m_reading = false;
    StopProgress();
    if (window::GetCapture() == this) window::ReleaseCapture();
    // Values of another receiver than the one open now never start a dialog.
    const SharedDevice device = m_mainWindow != nullptr ? m_mainWindow->GetOpenDevice() : nullptr;
    const bool current = device && device->Generation() == read->generation;
    const bool haveState = !read->wantStatus || read->state.has_value();
    if (read->result != 0 || !current || !haveState) {
        ShowResult(read->kind, READ_FAILED);
        return 0;
    }
    switch (read->kind) {
        case APPLY_NETWORK:
            OpenNetworkDialog(read->state);
            break;
        case APPLY_CHANNEL:
            if (config::TakesSatelliteTuning(m_deviceType))
                OpenSatelliteDialog(read->state->tuning);
            else
                OpenChannelDialog(read->state->channel);
            break;
        case APPLY_CONTENT:
            OpenContentDialog(std::move(read->pidList));
            break;
        default:
            BackToIdle(ButtonOfKind(read->kind));
            break;
    }
    return 0;
}

// ---- The four buttons -----------------------------------------------------------------

void CConfigSubMenue::OnNetwork() {
    if (Busy()) return;
    CR40SettingsToXmlDoc source;
    ReceiverState fromFile;
    if (source.Load(m_configSource) && SourceSpeaksFor(source, true) &&
        source.ReadDeviceIP(fromFile.address) && source.ReadDefaultGW(fromFile.gateway) &&
        source.ReadDeviceSubNet(fromFile.mask) &&
        source.ReadUnicastStatus(fromFile.unicastStatus)) {
        std::int32_t igmp = 0;
        if (source.ReadUseIGMP(igmp)) {
            fromFile.igmp = igmp == 1;
            OpenNetworkDialog(fromFile);
            return;
        }
    }
    // The receiver's own settings: confirmed unchanged, they change nothing.
    if (const auto state = KnownState()) {
        OpenNetworkDialog(state);
        return;
    }
    if (!ReadThenOpen(APPLY_NETWORK, true, false)) OpenNetworkDialog(std::nullopt);
}

void CConfigSubMenue::OpenNetworkDialog(const std::optional<ReceiverState>& start) {
    CNetCfgDlgSkined dialog;
    dialog.SetAnchorRect(GetWindowRect());
    if (start)
        dialog.SetStartValues(start->address, start->gateway, start->mask, start->unicastStatus,
                              start->igmp);

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
    CR40SettingsToXmlDoc lastUsed;
    if (OpenLastUsed(lastUsed)) {
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
    // A satellite receiver is tuned by frequency and symbol rate: an RF
    // channel sent to it would be read as a tuning record.
    if (config::TakesSatelliteTuning(m_deviceType)) {
        const auto state = KnownState();
        if (state && state->tuning)
            OpenSatelliteDialog(state->tuning);
        else if (!ReadThenOpen(APPLY_CHANNEL, true, false))
            OpenSatelliteDialog(std::nullopt);
        return;
    }
    CR40SettingsToXmlDoc source;
    std::int32_t channel = 0;
    if (source.Load(m_configSource) && SourceSpeaksFor(source, false) &&
        source.ReadChannel(channel)) {
        OpenChannelDialog(channel);
        return;
    }
    if (const auto state = KnownState(); state && state->channel) {
        OpenChannelDialog(state->channel);
        return;
    }
    if (!ReadThenOpen(APPLY_CHANNEL, true, false)) OpenChannelDialog(std::nullopt);
}

void CConfigSubMenue::OpenChannelDialog(std::optional<std::int32_t> start) {
    IsolateButton(m_channelButton);
    MoveButtonToTopSlot(m_channelButton);

    CChannelSelectDlg dialog;
    dialog.SetOwnerReference(Handle());
    if (start) dialog.SetStartChannel(*start);

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
    if (OpenLastUsed(lastUsed)) lastUsed.WriteChannel(chosen);
    StartApply(std::move(job));
}

void CConfigSubMenue::OpenSatelliteDialog(const std::optional<SatelliteTuning>& start) {
    IsolateButton(m_channelButton);
    MoveButtonToTopSlot(m_channelButton);

    CSatelliteTuningDlg dialog(m_deviceType);
    dialog.SetOwnerReference(Handle());
    if (start) dialog.SetStartTuning(*start);

    ShowMessage(SATELLITE_PROMPT);
    if (!RunDialog(dialog)) return;

    SatelliteTuning chosen{};
    if (!dialog.GetResult(chosen)) {
        BackToIdle(m_channelButton);
        return;
    }
    auto job = std::make_shared<ApplyJob>();
    job->kind = APPLY_CHANNEL;
    job->satellite = chosen;
    CR40SettingsToXmlDoc lastUsed;
    if (OpenLastUsed(lastUsed)) lastUsed.WriteSatelliteTuning(chosen);
    StartApply(std::move(job));
}

void CConfigSubMenue::OnContent() {
    if (Busy()) return;
    config::AnyPidList list = config::EmptyPidListFor(m_deviceType);
    CR40SettingsToXmlDoc source;
    const bool loaded = source.Load(m_configSource);
    if (loaded && SourceSpeaksFor(source, false) &&
        std::visit(
            [&source](auto& each) {
                if constexpr (std::is_same_v<std::decay_t<decltype(each)>, TrevanPidListRecord>)
                    return source.ReadPIDListWithDestinations(each);
                else
                    return source.ReadPIDList(each);
            },
            list)) {
        OpenContentDialog(std::move(list));
        return;
    }
    // The last-used file speaks for another receiver, or holds no list:
    // the receiver's own list, read first.
    if (!m_sourceChosen && ReadThenOpen(APPLY_CONTENT, false, true)) return;

    // A chosen file without a list: said, and the dialog starts empty.
    IsolateButton(m_contentButton);
    MoveButtonToTopSlot(m_contentButton);
    // Owned by the menu, so that closing the menu closes the box too.
    ++m_handlerDepth;
    window::MessageBox(Handle(), PID_LIST_UNREADABLE, window::ApplicationName(), window::MB_OK);
    --m_handlerDepth;
    if (!HasWindow()) return;
    OpenContentDialog(config::EmptyPidListFor(m_deviceType));
}

void CConfigSubMenue::OpenContentDialog(config::AnyPidList list) {
    // The dialog edits the record in place, so it lives in the job from the
    // start; the form is the one the device type takes.
    auto job = std::make_shared<ApplyJob>();
    job->kind = APPLY_CONTENT;
    job->pidList = std::move(list);

    CContentSelectDlg dialog(m_deviceType);
    dialog.SetOwnerReference(Handle());
    IsolateButton(m_contentButton);
    MoveButtonToTopSlot(m_contentButton);

    std::visit([&dialog](auto& each) { dialog.AttachPidList(&each); }, job->pidList);
    ShowMessage(CONTENT_PROMPT);
    if (!RunDialog(dialog)) return;

    if (!dialog.IsConfirmed()) {
        BackToIdle(m_contentButton);
        return;
    }
    CR40SettingsToXmlDoc lastUsed;
    if (OpenLastUsed(lastUsed)) {
        std::visit(
            [&lastUsed](const auto& each) {
                if constexpr (std::is_same_v<std::decay_t<decltype(each)>, TrevanPidListRecord>)
                    lastUsed.WritePIDListWithDestinations(each);
                else
                    lastUsed.WritePIDList(each);
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
    // One change at a time in the whole console.
    if (WorkerRunning() || (m_mainWindow != nullptr && m_mainWindow->ChangeRunning())) {
        ShowResult(job->kind, FAILED);
        return;
    }
    // The device open now, not the one open when the menu was made: the
    // operator may have picked another since, and the old one is closed.
    SharedDevice device = m_mainWindow != nullptr ? m_mainWindow->GetOpenDevice() : nullptr;
    window::SetCapture(this);
    m_applyKind = job->kind;
    job->reportTo = Handle();
    job->running = true;
    m_job = job;
    if (m_mainWindow != nullptr) m_mainWindow->TrackApply(job);
    const bool started = window::BeginWorkerThread(
        [job, device](window::WindowHandle) mutable { ApplyWorker(job, std::move(device)); },
        Handle());
    if (!started) {
        // No thread: report the failure as the worker would have.
        job->running = false;
        window::PostMessage(Handle(), WM_APPLY_STARTED, static_cast<std::uintptr_t>(job->kind), 1);
        window::PostMessage(Handle(), WM_APPLY_FINISHED, static_cast<std::uintptr_t>(job->kind),
                            RC_FAILED);
    }
}

void CConfigSubMenue::TakeOverRunningApply() {
    if (m_mainWindow == nullptr) return;
    std::shared_ptr<ApplyJob> job = m_mainWindow->RunningApply();
    if (!job) return;
    m_job = job;
    m_applyKind = job->kind;
    window::ButtonControl* button = ButtonOfKind(job->kind);
    IsolateButton(button != nullptr ? button : m_networkButton);
    if (button != nullptr) MoveButtonToTopSlot(button);
    window::SetCapture(this);
    // Its last post comes here from now on. If that post went out before,
    // to the menu that is gone, the job says how it ended.
    job->reportTo = Handle();
    window::Message started{WM_APPLY_STARTED, static_cast<std::uintptr_t>(job->kind), 1, {}};
    OnApplyStarted(started);
    if (job->finished)
        window::PostMessage(Handle(), WM_APPLY_FINISHED, static_cast<std::uintptr_t>(job->kind),
                            job->result.load());
}

void CConfigSubMenue::StartProgress() {
    m_progressRunning = true;
    SetTimer(TIMER_PROGRESS, PROGRESS_PERIOD_MS);
    if (m_progress != nullptr) {
        m_progress->ShowWindow(window::SW_SHOW);
        m_progress->SetRange(100);
        m_progress->SetColor(skin::SKIN_COLOR);
        m_progress->SetCircleColor(window::Rgb(255, 0, 0));
        m_progress->SetStep(1);
        m_progress->SetPos(0);
    }
}

void CConfigSubMenue::StopProgress() {
    KillTimer(TIMER_PROGRESS);
    m_progressRunning = false;
    if (m_progress != nullptr) m_progress->ShowWindow(window::SW_HIDE);
}

void CConfigSubMenue::ShowResult(int kind, std::string_view text) {
    m_applyKind = kind;
    ShowMessage(text);
    SetTimer(TIMER_RESULT_HOLD, RESULT_HOLD_MS);
    m_resultShown = true;
    if (window::GetCapture() != this) window::SetCapture(this);
}

std::intptr_t CConfigSubMenue::OnApplyStarted(window::Message&) {
    ShowMessage(CONFIGURING);
    StartProgress();
    return 0;
}

std::intptr_t CConfigSubMenue::OnApplyFinished(window::Message& message) {
    // A job taken over may report twice: once from its worker, once from
    // itself.
    if (!m_progressRunning) return 0;
    StopProgress();
    ShowResult(static_cast<int>(message.wParam), message.lParam == 0 ? SUCCESS : FAILED);
    // The one failure the operator can mend at the workstation: a receiver
    // outside the subnet needs a route, which only an administrator (an
    // elevated console on Windows) may add. The message line says so.
    if (message.lParam == ERR_ROUTE_REFUSED && m_mainWindow != nullptr)
        m_mainWindow->ShowHeldMessage(DeviceResultText(ERR_ROUTE_REFUSED));
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
