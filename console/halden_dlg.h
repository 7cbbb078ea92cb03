// CHaldenDlg: the main console window. A small skinned window with the
// device list, lock and data indicators, the message line, the animated logo
// and the buttons that open the status panel, the configuration menu and the
// file operations. It finds receivers every four seconds, opens the one the
// operator selects and polls its status every 600 ms, all on worker threads
// that report back by posted messages; the window itself never waits on the
// network.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/device_session.h"
#include "console/lock_alarms.h"
#include "console/receiver_state.h"
#include "console/signal_history.h"
#include "devicelib/devicelib.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"
#include "platform/window/icon.h"
#include "platform/window/popup_menu.h"
#include "platform/window/tray_icon.h"
#include "skin/dialog_layout_scaler.h"

namespace platform::window {
class ButtonControl;
class ComboBoxControl;
}  // namespace platform::window
namespace dialogs {
class CLoadSaveConfiguration;
}  // namespace dialogs
namespace skin {
class CAniLogo;
class CHoverButton;
class CTransparentStatic;
}  // namespace skin

namespace console {

class CConfigSubMenue;
class CSignalHistoryPanel;
class CR40DressedStatusBasic;
struct ApplyJob;
struct StatusReport;

class CHaldenDlg : public platform::window::Dialog {
  public:
    CHaldenDlg();
    ~CHaldenDlg() override;

    // ---- What the other windows use ---------------------------------------
    // Sets the message line (repainting the background under it); UTF-8.
    void ShowMessage(const std::string& text);
    // Sets the message line and keeps the text there for MESSAGE_HOLD_MS
    // (or while a file operation runs) before the device description may
    // take the line back.
    void ShowHeldMessage(const std::string& text);
    std::string MessageText() const { return m_messageText; }
    void SuspendPolling();
    // Enables polling, but only while a device is open.
    void ResumePolling();
    SharedDevice GetOpenDevice() const { return m_device; }
    // The selected device's last three MAC bytes; false when none is selected.
    bool GetSelectedKeyBytes(std::uint8_t bytes[3]) const;
    // The selected device's entry of the device list; false when none.
    bool GetSelectedEntry(DeviceInfo& entry) const;
    // The open device's configuration from its last status; nullopt before
    // its first status, and for the models that are not polled.
    std::optional<ReceiverState> OpenDeviceState() const;
    bool GetChosenConfigFile(std::string& file) const;
    std::uint16_t StatusPort() const { return m_statusPort; }
    // The last status of an R40 or R40V, or null.
    const R40StatusRecord* LastStatus() const { return m_lastStatus.get(); }
    // An apply the configuration menu started; shut-down waits for it even
    // when the menu is gone, and a menu made meanwhile takes it over.
    void TrackApply(const std::shared_ptr<ApplyJob>& job);
    // The menu's apply still running, or null.
    std::shared_ptr<ApplyJob> RunningApply() const;
    // A change is being sent to a receiver: no other may start.
    bool ChangeRunning() const { return RunningApply() != nullptr; }
    // Any worker whose flag is set while it runs; shut-down waits for it.
    void TrackWorker(std::shared_ptr<const std::atomic<bool>> running);

    // ---- State, for tests and the satellites --------------------------------
    std::int32_t SelectedKey() const { return m_selectedKey; }
    std::int32_t SelectedIndex() const { return m_selectedIndex; }
    const DeviceList& Devices() const { return m_deviceList; }
    bool PollingEnabled() const { return m_pollEnabled; }
    bool DiscoveryRunning() const { return m_discoveryRunning; }
    // Discovery passes whose list reached the window.
    int DiscoveryPasses() const { return m_discoveryPasses; }
    CR40DressedStatusBasic* StatusPanel() const { return m_statusPanel.get(); }
    CConfigSubMenue* ConfigMenu() const { return m_configMenu.get(); }
    // A device is being opened for the latest selection.
    bool OpenPending() const { return m_openPending; }
    platform::window::TrayIcon& Tray() { return m_trayIcon; }
    platform::window::BalloonToolTip& ToolTip() { return m_toolTip; }
    // True once the shut-down has run (the dialog has ended).
    bool ShutDownDone() const { return m_shutDown; }
    // The file operations' remembered file and whether the configuration
    // menu is to use it.
    const std::string& ConfigFile() const { return m_configFile; }
    bool ConfigFileChosen() const { return m_configFileChosen; }
    // The load/save dialog while it runs, else null.
    dialogs::CLoadSaveConfiguration* FileDialog() const { return m_fileDialog; }
    // A configuration file is being created from the device status.
    bool StatusFileRunning() const { return m_statusFileRunning && *m_statusFileRunning; }

    // ---- Signal history and lock alarms (history_tracking.cpp) ---------------
    const SignalHistory& History() const { return m_history; }
    CSignalHistoryPanel* HistoryPanel() const { return m_historyPanel.get(); }
    LockAlarms& Alarms() { return m_alarms; }
    // Opens the history panel, or closes it when open (needs a selected
    // device, as the other satellites do).
    void ToggleHistoryPanel();
    // The notification-area icon's menu (null until first shown).
    platform::window::PopupMenu* TrayMenu() const { return m_trayMenu.get(); }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    // The shut-down: button 1027, Escape and closing all end up here.
    void OnCancel() override;
    // Enter must not end the console: only the shut-down does.
    void OnOK() override {}
    void OnTimer(int id) override;
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;
    void OnMove(int x, int y) override;
    // Once the shut-down has begun, buttons and the device list do nothing.
    bool OnCommand(int id, int code) override;
    void OnClose() override;
    void OnDestroy() override;

  private:
    // ---- Start-up and buttons (main_window.cpp) ------------------------------
    void SetUpToolTips();
    bool DeviceGuard();
    void OnStatusPanelButton();
    void OnConfigMenuButton();
    void OnHideToTray();
    std::intptr_t OnTrayNotify(platform::window::Message& message);
    void RestoreFromTray();
    void DockSatellites();
    void DestroyStatusPanel();
    void DestroyConfigMenu();
    // Frees menus closed while one of their dialogs was still returning.
    void FreeRetiredMenus();

    // ---- File operations (file_operations.cpp) ----------------------------------
    void OnFileOperationsButton();
    void RunFileOperation(int operation, const std::string& path);
    void LoadIndividually();
    void SaveLastUsed();
    void CreateFromStatus();
    std::intptr_t OnStatusFileDone(platform::window::Message& message);
    // A file operation's message or an alarm holds the message line.
    bool MessageHeld() const;

    // ---- Device tracking (device_tracking.cpp) --------------------------------
    void StartDiscoveryWorker();
    void StartStatusPollWorker();
    std::intptr_t OnDiscoveryDone(platform::window::Message& message);
    std::intptr_t OnStatusReady(platform::window::Message& message);
    std::intptr_t OnDeviceOpened(platform::window::Message& message);
    // The receivers a discovery pass is to keep in the list.
    DeviceList KnownDevices() const;
    // A selected receiver whose status arrived since the last pass stays in
    // the list, heard by the pass or not.
    void KeepSelectedWhileItAnswers();
    void RefillDeviceList();
    void SizeDropDownList();
    void OnSelectedDeviceRemoved();
    void OnDeviceSelected();
    void ShowIndicators(bool show);
    void SetIndicators(bool locked, bool data);
    bool WorkersRunning() const;

    // ---- Signal history and lock alarms (history_tracking.cpp) ---------------
    void DockHistoryPanel(const platform::window::Rect& main);
    void DestroyHistoryPanel();
    // A new selection: its history starts empty, its alarms from its first status.
    void FollowSelection(const DeviceInfo& entry);
    // One polled status of the open device.
    void RecordStatus(bool locked, bool data, float snrDb, int signalPercent);
    void RaiseRemovalAlarm();
    void ShowAlarm(const AlarmOutcome& outcome);
    void ShowAlarmBalloon(const Alarm& alarm);
    void ScheduleAlarmSummary();
    void OnAlarmSummaryTimer();
    // An alarm holds the message line for a while before the device's
    // description comes back.
    bool AlarmHoldsMessageLine() const;
    void ShowTrayMenu();
    // The menu's Signal History item.
    void OnTrayHistory();

    // The device list and the selection.
    DeviceList m_deviceList{};
    DeviceList m_previousDeviceList{};  // the pass before
    DeviceInfo m_selectedEntry{};       // the selected receiver, as last listed
    bool m_statusSincePass = false;     // a status of it arrived since the last pass
    SharedDevice m_device;
    std::int32_t m_selectedKey = -1;
    std::int32_t m_selectedIndex = -1;
    std::int32_t m_missCount = 2;
    // Opening a device runs on a worker; each selection gets a generation,
    // and only the open of the latest selection counts.
    std::uint64_t m_openGeneration = 0;
    bool m_openPending = false;
    int m_discoveryPasses = 0;

    // Flags shared with the workers.
    std::atomic<bool> m_pollEnabled{false};
    std::atomic<bool> m_pollBusy{false};
    std::atomic<bool> m_discoveryRunning{false};
    // Set while the operator has the device list dropped down or it is being
    // refilled: discovery passes and refills hold off meanwhile.
    std::atomic<bool> m_deviceListInUse{false};
    std::atomic<int> m_opensRunning{0};

    std::unique_ptr<R40StatusRecord> m_lastStatus;
    // The open device's configuration from its last status, any model polled.
    std::optional<ReceiverState> m_deviceState;
    std::string m_configFile;
    bool m_configFileChosen = false;
    std::uint16_t m_statusPort = 0;
    bool m_statusPortInUse = false;
    std::string m_messageText;
    // A held message keeps the line until then (steady clock, ms).
    std::int64_t m_messageHeldUntilMs = 0;
    bool m_shutDown = false;
    dialogs::CLoadSaveConfiguration* m_fileDialog = nullptr;
    std::shared_ptr<std::atomic<bool>> m_statusFileRunning;

    std::unique_ptr<CR40DressedStatusBasic> m_statusPanel;
    std::unique_ptr<CConfigSubMenue> m_configMenu;
    std::vector<std::unique_ptr<CConfigSubMenue>> m_retiredMenus;
    std::vector<std::shared_ptr<const std::atomic<bool>>> m_workers;
    std::vector<std::shared_ptr<ApplyJob>> m_applies;

    SignalHistory m_history;
    LockAlarms m_alarms;
    std::unique_ptr<CSignalHistoryPanel> m_historyPanel;
    std::unique_ptr<platform::window::PopupMenu> m_trayMenu;
    std::int64_t m_alarmMessageUntilMs = 0;  // 0: no alarm on the message line
    std::string m_alarmMessageText;
    std::string m_messageBeforeAlarm;

    platform::window::TrayIcon m_trayIcon;
    platform::window::BalloonToolTip m_toolTip;
    skin::CDialogLayoutScaler m_scaler;
    platform::window::Icon m_appIcon;
    platform::window::Icon m_iconNoData;
    platform::window::Icon m_iconGreen;
    platform::window::Icon m_iconRed;

    // Controls of template 102.
    platform::window::ButtonControl* m_shutDownButton = nullptr;
    platform::window::ButtonControl* m_hideButton = nullptr;
    platform::window::ButtonControl* m_lockIndicator = nullptr;
    platform::window::ButtonControl* m_dataIndicator = nullptr;
    skin::CTransparentStatic* m_lockLabel = nullptr;
    skin::CTransparentStatic* m_dataLabel = nullptr;
    skin::CTransparentStatic* m_deviceListLabel = nullptr;
    platform::window::ButtonControl* m_deviceListButton = nullptr;
    platform::window::ComboBoxControl* m_deviceCombo = nullptr;
    skin::CTransparentStatic* m_message = nullptr;
    skin::CAniLogo* m_logo = nullptr;
    skin::CHoverButton* m_configButton = nullptr;
    skin::CHoverButton* m_fileButton = nullptr;
    skin::CHoverButton* m_statusButton = nullptr;
};

}  // namespace console
