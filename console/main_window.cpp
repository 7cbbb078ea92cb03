// The main console window: start-up, buttons, the satellites' docking, the
// notification-area icon, tooltips and the shut-down.
#include <QEvent>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <thread>

#include "console/apply_job.h"
#include "console/config_sub_menue.h"
#include "console/console_messages.h"
#include "console/device_text.h"
#include "console/halden_dlg.h"
#include "console/history_panel.h"
#include "console/status_panel.h"
#include "console/worker_reports.h"
#include "dialogs/load_save_configuration.h"
#include "platform/window/application.h"
#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/images.h"
#include "platform/window/qt/painting.h"
#include "platform/window/worker_thread.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/ani_logo.h"
#include "skin/hover_button.h"
#include "skin/transparent_static.h"

namespace console {

namespace window = platform::window;

namespace {

const QString TITLE = QStringLiteral("R40 Management Console");
constexpr std::string_view TRAY_TIP = "R40 Orvel Management Console";
const std::string SELECT_DEVICE = "Please Select a Device from the Device List";
const std::string STATUS_PORT_TAKEN =
    "R40 Management Console \n The status port is in use by another program";

}  // namespace

CHaldenDlg::CHaldenDlg() : window::Dialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE)) {
    m_appIcon = window::LoadIcon(res::IDI_CONSOLE);
    m_iconNoData = window::LoadIcon(res::IDI_NO_DATA);
    m_iconGreen = window::LoadIcon(res::IDI_INDICATOR_GREEN);
    m_iconRed = window::LoadIcon(res::IDI_INDICATOR_RED);
    // With no status port free, the first one is used and the operator told.
    if (FindFreeStatusPort(&m_statusPort) != 0) {
        m_statusPort = STATUS_PORTS[0];
        m_statusPortInUse = true;
    }

    MapCommand(res::IDC_MAIN_SHUT_DOWN, window::BN_CLICKED, [this] { OnCancel(); });
    MapCommand(res::ID_TRAY_SHOW_CONSOLE, 0, [this] { RestoreFromTray(); });
    MapCommand(res::ID_TRAY_SIGNAL_HISTORY, 0, [this] { OnTrayHistory(); });
    MapCommand(res::IDC_MAIN_HIDE_TO_TRAY, window::BN_CLICKED, [this] { OnHideToTray(); });
    MapCommand(res::IDC_MAIN_STATUS_PANEL, window::BN_CLICKED, [this] { OnStatusPanelButton(); });
    MapCommand(res::IDC_MAIN_CONFIG_MENU, window::BN_CLICKED, [this] { OnConfigMenuButton(); });
    MapCommand(res::IDC_MAIN_FILE_OPERATIONS, window::BN_CLICKED,
               [this] { OnFileOperationsButton(); });
    MapCommand(res::IDC_MAIN_DEVICE_LIST_BUTTON, window::BN_CLICKED, [this] {
        if (m_deviceCombo != nullptr) m_deviceCombo->ShowDropDown(true);
    });
    MapCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_DROPDOWN,
               [this] { m_deviceListInUse = true; });
    MapCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_CLOSEUP,
               [this] { m_deviceListInUse = false; });
    MapCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_SELENDOK, [this] { OnDeviceSelected(); });
    MapMessage(WM_DISCOVERY_DONE, [this](window::Message& m) { return OnDiscoveryDone(m); });
    MapMessage(WM_STATUS_READY, [this](window::Message& m) { return OnStatusReady(m); });
    MapMessage(WM_DEVICE_OPENED, [this](window::Message& m) { return OnDeviceOpened(m); });
    MapMessage(WM_TRAY_NOTIFY, [this](window::Message& m) { return OnTrayNotify(m); });
    MapMessage(WM_STATUS_FILE_DONE, [this](window::Message& m) { return OnStatusFileDone(m); });
}

CHaldenDlg::~CHaldenDlg() {
    // Workers hold no pointer into the window but its flags: they finish
    // before the flags go.
    window::WaitForWorkerThreads();
    DestroyWindow();
    m_configMenu.reset();
    m_retiredMenus.clear();
}

void CHaldenDlg::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_MAIN_SHUT_DOWN, m_shutDownButton);
    window::DDX_Control(dx, res::IDC_MAIN_HIDE_TO_TRAY, m_hideButton);
    window::DDX_Control(dx, res::IDC_MAIN_LOCK_INDICATOR, m_lockIndicator);
    window::DDX_Control(dx, res::IDC_MAIN_DATA_INDICATOR, m_dataIndicator);
    window::DDX_Control(dx, res::IDC_MAIN_LOCK_LABEL, m_lockLabel);
    window::DDX_Control(dx, res::IDC_MAIN_DATA_LABEL, m_dataLabel);
    window::DDX_Control(dx, res::IDC_MAIN_DEVICE_LIST_LABEL, m_deviceListLabel);
    window::DDX_Control(dx, res::IDC_MAIN_DEVICE_LIST_BUTTON, m_deviceListButton);
    window::DDX_Control(dx, res::IDC_MAIN_DEVICE_LIST, m_deviceCombo);
    window::DDX_Control(dx, res::IDC_MAIN_MESSAGE, m_message);
    window::DDX_Control(dx, res::IDC_MAIN_LOGO, m_logo);
    window::DDX_Control(dx, res::IDC_MAIN_CONFIG_MENU, m_configButton);
    window::DDX_Control(dx, res::IDC_MAIN_FILE_OPERATIONS, m_fileButton);
    window::DDX_Control(dx, res::IDC_MAIN_STATUS_PANEL, m_statusButton);
}

bool CHaldenDlg::OnInitDialog() {
    window::Dialog::OnInitDialog();
    m_scaler.Apply(*this, *Template(), window::LAYOUT_DPI);
    Widget()->setWindowIcon(window::ToQIcon(m_appIcon));
    EnableDragFromClientArea(true);

    const window::Image hide = window::LoadBitmap(res::IDB_HIDE_TO_TRAY);
    if (!hide.IsNull()) m_hideButton->SetBitmap(hide);
    m_shutDownButton->SetBitmap(window::LoadBitmap(res::IDB_SHUT_DOWN));

    m_configButton->LoadBitmapStrip(res::IDB_STRIP_CONFIG_MENU);
    m_fileButton->LoadBitmapStrip(res::IDB_STRIP_FILE_OPERATIONS);
    m_statusButton->LoadBitmapStrip(res::IDB_STRIP_STATUS_PANEL);

    m_deviceCombo->ResetContent();
    m_deviceListButton->SetBitmap(window::LoadBitmap(res::IDB_DEVICE_LIST_DROP));
    m_deviceCombo->AddString("Device List");
    m_deviceCombo->SetItemData(0, NO_DEVICE_KEY);
    m_deviceCombo->SetCurSel(0);

    SetTimer(TIMER_DISCOVERY, DISCOVERY_PERIOD_MS);
    SetTimer(TIMER_STATUS_POLL, STATUS_POLL_PERIOD_MS);
    OnTimer(TIMER_DISCOVERY);  // the first pass starts at once
    m_deviceCombo->SetExtendedUI(true);

    m_lockIndicator->SetIcon(m_iconGreen);
    m_dataIndicator->SetIcon(m_iconNoData);
    ShowIndicators(false);

    SetWindowText(TITLE.toStdString());
    m_trayIcon.Add(Handle(), WM_TRAY_NOTIFY, window::LoadIcon(res::IDI_TRAY), TRAY_TIP);

    m_logo->SetStep(3);
    m_logo->SetAlphaRange(125, 255);
    SetTimer(TIMER_LOGO, LOGO_PERIOD_MS);

    SetUpToolTips();
    m_messageText = m_message->Text();
    if (m_statusPortInUse) ShowMessage(STATUS_PORT_TAKEN);
    return true;
}

void CHaldenDlg::SetUpToolTips() {
    m_toolTip.Create(Widget());
    m_toolTip.SetTitle(window::TTI_INFO, TITLE);
    m_toolTip.SetTipTextColor(window::Rgb(204, 45, 48));
    const std::pair<window::Window*, const char*> tools[] = {
        {m_lockIndicator,
         "Indicates whether the Device is locked to the signal or not \n Red: No Lock \n Green: "
         "Lock"},
        {m_dataIndicator,
         "Indicates whether there is data being passed by the device or not\n Dark Green: No "
         "Data \n Light Green: Data"},
        {m_configButton,
         "Press this button to display the Configuration Menu for the R40\n Press it again to "
         "Hide the Configuration Menu\nNote: A device must be Selected from the Device List"},
        {m_shutDownButton, "Shut down the management console"},
        {m_hideButton, "Minimize the Management Console to the System Tray"},
        {m_fileButton,
         "Press this button to display the file operations Menu \n Note: A device must be "
         "selected from the Device List"},
        {m_deviceListButton,
         " This button displays the list of detected devices \n Click on a device to select it "
         "as the active device\n Note: All configuration messages are sent to the active device "
         "\n Status Belongs to the active device"},
        {m_statusButton,
         "Press this button to display the status window \n The status belongs to the selected "
         "device"},
    };
    for (const auto& [tool, text] : tools) m_toolTip.AddTool(tool, QString::fromUtf8(text));
}

bool CHaldenDlg::PreTranslateMessage(QObject* target, QEvent* event) {
    // Enter does nothing here, wherever the focus is: a focused push button
    // would take it as a click, and the first one is the shut-down button.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    m_toolTip.RelayEvent(target, event);
    return window::Dialog::PreTranslateMessage(target, event);
}

void CHaldenDlg::ShowMessage(const std::string& text) {
    if (m_message != nullptr) m_message->SetText(text);
    m_messageText = text;
    m_messageHeldUntilMs = 0;
}

void CHaldenDlg::SuspendPolling() {
    m_pollEnabled = false;
}

void CHaldenDlg::ResumePolling() {
    if (m_device) m_pollEnabled = true;
}

bool CHaldenDlg::GetSelectedKeyBytes(std::uint8_t bytes[3]) const {
    if (m_selectedKey == NO_DEVICE_KEY) return false;
    bytes[0] = static_cast<std::uint8_t>(m_selectedKey >> 16);
    bytes[1] = static_cast<std::uint8_t>(m_selectedKey >> 8);
    bytes[2] = static_cast<std::uint8_t>(m_selectedKey);
    return true;
}

bool CHaldenDlg::GetSelectedEntry(DeviceInfo& entry) const {
    if (m_selectedKey == NO_DEVICE_KEY || m_selectedIndex < 0 ||
        m_selectedIndex >= m_deviceList.count)
        return false;
    entry = m_deviceList.entries[m_selectedIndex];
    return true;
}

std::optional<ReceiverState> CHaldenDlg::OpenDeviceState() const {
    if (!m_device) return std::nullopt;
    return m_deviceState;
}

bool CHaldenDlg::GetChosenConfigFile(std::string& file) const {
    if (!m_configFileChosen) return false;
    file = m_configFile;
    return true;
}

// ---- Buttons -------------------------------------------------------------------

bool CHaldenDlg::DeviceGuard() {
    if (m_device && m_selectedKey != NO_DEVICE_KEY) return true;
    // While the selected device is still being opened the press is ignored:
    // the guard's text would replace the new device's description.
    if (m_openPending && m_selectedKey != NO_DEVICE_KEY) return false;
    ShowMessage(SELECT_DEVICE);
    return false;
}

bool CHaldenDlg::OnCommand(int id, int code) {
    if (m_shutDown) return true;
    return window::Dialog::OnCommand(id, code);
}

void CHaldenDlg::OnStatusPanelButton() {
    if (!DeviceGuard()) return;
    if (m_statusPanel) {
        DestroyStatusPanel();
        return;
    }
    m_statusPanel = std::make_unique<CR40DressedStatusBasic>();
    if (!m_statusPanel->Create(this)) {
        m_statusPanel.reset();
        return;
    }
    m_statusPanel->SetOwnerReference(Handle());
    m_statusPanel->SetSnrClickHandler([this] { ToggleHistoryPanel(); });
    DockSatellites();
}

void CHaldenDlg::OnConfigMenuButton() {
    if (!DeviceGuard()) return;
    if (m_configMenu) {
        DestroyConfigMenu();
        return;
    }
    m_configMenu = std::make_unique<CConfigSubMenue>();
    if (m_selectedIndex >= 0 && m_selectedIndex < m_deviceList.count)
        m_configMenu->SetDeviceType(m_deviceList.entries[m_selectedIndex].deviceType);
    // The menu finds this window through its owner reference as soon as it
    // initialises, so the reference is given before the window exists.
    m_configMenu->SetOwnerReference(Handle());
    if (!m_configMenu->Create(this)) {
        m_configMenu.reset();
        return;
    }
    DockSatellites();
}

void CHaldenDlg::DestroyStatusPanel() {
    if (!m_statusPanel) return;
    m_statusPanel->DestroyWindow();
    m_statusPanel.reset();
    DockSatellites();  // the menu moves back under this window's left edge
}

void CHaldenDlg::DestroyConfigMenu() {
    if (!m_configMenu) return;
    m_configMenu->Close();
    // A button handler of the menu may still be returning from its dialog
    // further down the stack: the object goes once it has.
    if (m_configMenu->InButtonHandler()) m_retiredMenus.push_back(std::move(m_configMenu));
    m_configMenu.reset();
}

void CHaldenDlg::FreeRetiredMenus() {
    std::erase_if(m_retiredMenus, [](const auto& menu) { return !menu->InButtonHandler(); });
}

void CHaldenDlg::TrackApply(const std::shared_ptr<ApplyJob>& job) {
    std::erase_if(m_applies, [](const auto& each) { return !each->running; });
    m_applies.push_back(job);
    TrackWorker(std::shared_ptr<const std::atomic<bool>>(job, &job->running));
}

std::shared_ptr<ApplyJob> CHaldenDlg::RunningApply() const {
    for (const auto& job : m_applies)
        if (job->running) return job;
    return nullptr;
}

void CHaldenDlg::TrackWorker(std::shared_ptr<const std::atomic<bool>> running) {
    if (!running) return;
    std::erase_if(m_workers, [](const auto& each) { return !each->load(); });
    m_workers.push_back(std::move(running));
}

void CHaldenDlg::OnHideToTray() {
    if (m_statusPanel) m_statusPanel->ShowWindow(window::SW_HIDE);
    if (m_historyPanel) m_historyPanel->ShowWindow(window::SW_HIDE);
    DestroyConfigMenu();
    ShowWindow(window::SW_HIDE);
    // Nobody sees the logo now; discovery and polling go on.
    KillTimer(TIMER_LOGO);
}

std::intptr_t CHaldenDlg::OnTrayNotify(window::Message& message) {
    const auto mouse = static_cast<unsigned>(message.lParam & 0xFFFF);
    if (mouse == window::WM_LBUTTONDBLCLK) RestoreFromTray();
    if (mouse == window::WM_RBUTTONUP) ShowTrayMenu();
    return 0;
}

void CHaldenDlg::RestoreFromTray() {
    ShowWindow(window::SW_SHOW);
    if (!HasTimer(TIMER_LOGO) && !m_shutDown) SetTimer(TIMER_LOGO, LOGO_PERIOD_MS);
    if (m_statusPanel) m_statusPanel->ShowWindow(window::SW_SHOW);
    DockSatellites();  // shows the other satellites with this window
}

// ---- Docking -------------------------------------------------------------------

void CHaldenDlg::DockSatellites() {
    const window::Rect main = GetWindowRect();
    const bool panel = m_statusPanel && m_statusPanel->HasWindow();
    if (panel) {
        m_statusPanel->MoveTo(main.left, main.bottom);
        m_statusPanel->PlaceBehind(this);
        if (IsWindowVisible()) m_statusPanel->ShowWindow(window::SW_SHOWNA);
    }
    if (m_configMenu && m_configMenu->HasWindow()) {
        // Beside the panel, its right edge at this window's left edge.
        const int width = m_configMenu->GetWindowRect().Width();
        m_configMenu->MoveTo(panel ? main.left - width : main.left, main.bottom);
        m_configMenu->PlaceBehind(this);
        if (IsWindowVisible()) m_configMenu->ShowWindow(window::SW_SHOWNA);
    }
    DockHistoryPanel(main);
}

void CHaldenDlg::OnMove(int x, int y) {
    window::Dialog::OnMove(x, y);
    DockSatellites();
}

// ---- Shut-down ------------------------------------------------------------------

void CHaldenDlg::OnClose() {
    DestroyHistoryPanel();
    DestroyStatusPanel();
    DestroyConfigMenu();
    window::Dialog::OnClose();
}

void CHaldenDlg::OnCancel() {
    if (m_shutDown) return;
    m_shutDown = true;
    DestroyHistoryPanel();
    DestroyStatusPanel();
    DestroyConfigMenu();
    // The load/save dialog ends as cancelled; an apply it started is waited
    // for below.
    if (m_fileDialog != nullptr) {
        TrackWorker(m_fileDialog->ApplyRunning());
        m_fileDialog->Close();
    }
    SuspendPolling();
    // No new workers from here on; the running ones are waited for while
    // the window keeps handling what they post.
    KillTimer(TIMER_DISCOVERY);
    KillTimer(TIMER_STATUS_POLL);
    while (WorkersRunning()) {
        window::PumpMessages(20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_lastStatus.reset();
    m_deviceState.reset();
    m_device.reset();  // the open device is closed
    EndDialog(window::IDOK);
}

bool CHaldenDlg::WorkersRunning() const {
    const bool tracked = std::any_of(m_workers.begin(), m_workers.end(),
                                     [](const auto& running) { return running->load(); });
    return m_pollBusy || m_discoveryRunning || m_opensRunning > 0 || tracked;
}

void CHaldenDlg::OnDestroy() {
    m_trayIcon.Delete();
    m_scaler.Restore();
    window::Dialog::OnDestroy();
}

}  // namespace console
