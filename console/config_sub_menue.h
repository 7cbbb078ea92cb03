// CConfigSubMenue: the configuration menu docked under the main window. Four
// picture buttons open the network, channel (or, for a satellite receiver,
// satellite tuning), content (PID list) and reset dialogs. A confirmed
// change is written to the last-used file first and then sent to the
// selected receiver by an apply worker, while the menu shows
// "Configuring Device\nPlease Wait" with a spinning indicator, then
// "SUCCESS" or "Failed To Configure" for 1.5 seconds.
//
// Start values: a dialog starts with the configuration source's values
// only where the source speaks for the selected receiver: the last-used
// file where it describes that receiver (config/file_owner.h), a file the
// operator chose for the menu for everything but another receiver's
// network settings. Otherwise it starts with the receiver's own values:
// those of its last status, or, when the console has none (or for the PID
// list), read from the receiver on a worker first, with the progress shown.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "config/file_owner.h"
#include "console/apply_job.h"
#include "console/receiver_state.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"
#include "platform/window/geometry.h"

namespace platform::window {
class ButtonControl;
}  // namespace platform::window
namespace skin {
class CMYCircleProgress;
class CTransparentStatic;
}  // namespace skin

class CR40SettingsToXmlDoc;

namespace console {

class CHaldenDlg;
struct StartValuesRead;

class CConfigSubMenue : public platform::window::Dialog {
  public:
    CConfigSubMenue();
    ~CConfigSubMenue() override;

    // The selected device's type code; set by the main window before the
    // menu is created and again when another device is opened.
    void SetDeviceType(std::uint16_t type) { m_deviceType = type; }
    std::uint16_t DeviceType() const { return m_deviceType; }

    // ---- State, for the main window and tests ---------------------------
    // An apply worker is running.
    bool WorkerRunning() const { return m_job && m_job->running; }
    // The receiver's values are being read before a dialog opens.
    bool Reading() const { return m_reading; }
    bool ResultShown() const { return m_resultShown; }
    int ApplyKind() const { return m_applyKind; }
    // The file the dialogs start with.
    const std::string& ConfigSource() const { return m_configSource; }
    // The message label's text, and whether it is shown.
    std::string MessageText() const;
    bool MessageShown() const;
    // The job of the latest apply (null before the first), or of the apply
    // still running when the menu was made.
    std::shared_ptr<const ApplyJob> LastJob() const { return m_job; }
    // The dialog a button has open, or null.
    platform::window::Dialog* ActiveDialog() const { return m_activeDialog; }
    const platform::window::BalloonToolTip& ToolTip() const { return m_toolTip; }

    // Ends a dialog the menu runs (as cancelled) and destroys the window.
    // The object must outlive the button handler that runs the dialog:
    // while InButtonHandler(), the owner keeps it and frees it later.
    void Close();
    bool InButtonHandler() const { return m_handlerDepth > 0; }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    // Escape does not close the menu; only the main window does.
    void OnCancel() override {}
    void OnOK() override {}
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;
    void OnTimer(int id) override;

  private:
    void SetUpToolTips();

    // ---- The four buttons ---------------------------------------------------
    void OnNetwork();
    void OnChannel();
    void OnContent();
    void OnReset();
    // A click while an apply runs anywhere in the console, while a read
    // runs or while a result is shown does nothing.
    bool Busy() const;

    // ---- Start values -------------------------------------------------------
    // The selected receiver, as the main window knows it; false when none.
    bool SelectedReceiver(config::ReceiverKey& key, std::array<std::uint8_t, 4>& address) const;
    // Whether the loaded source's values may start a dialog of the selected
    // receiver; `identity`: the receiver's network settings.
    bool SourceSpeaksFor(const CR40SettingsToXmlDoc& source, bool identity) const;
    // The receiver's state from its last status, when the console has one.
    std::optional<ReceiverState> KnownState() const;
    // Reads what a dialog needs from the receiver on a worker; the dialog
    // opens when WM_START_VALUES_READ comes. False when no device is open.
    bool ReadThenOpen(int kind, bool wantStatus, bool wantPidList);
    std::intptr_t OnStartValuesRead(platform::window::Message& message);
    // Opens the last-used file for a change of the selected receiver: a
    // file that describes another receiver starts afresh, and the
    // receiver's MAC bytes are written first.
    bool OpenLastUsed(CR40SettingsToXmlDoc& lastUsed) const;

    // ---- The dialogs, once their start values are known ---------------------
    void OpenNetworkDialog(const std::optional<ReceiverState>& start);
    void OpenChannelDialog(std::optional<std::int32_t> start);
    void OpenSatelliteDialog(const std::optional<SatelliteTuning>& start);
    void OpenContentDialog(config::AnyPidList list);

    // ---- Button places ---------------------------------------------------
    void IsolateButton(platform::window::ButtonControl* button);
    void MoveButtonToTopSlot(platform::window::ButtonControl* button);
    void RestoreButton(platform::window::ButtonControl* button);
    void ShowAllButtons();
    // Back to the four buttons after a cancelled dialog.
    void BackToIdle(platform::window::ButtonControl* moved);

    // Runs a button's dialog modally; false when the menu was closed
    // meanwhile (the handler must then return at once).
    bool RunDialog(platform::window::Dialog& dialog, int* result = nullptr);
    // Shows a result text for 1.5 s with the button of `kind` alone, then
    // the four buttons again.
    void ShowResult(int kind, std::string_view text);
    void StartProgress();
    void StopProgress();

    void ShowMessage(std::string_view text);
    void HideMessage();

    // ---- Applying ---------------------------------------------------------
    // Starts the worker for a job whose record is filled in.
    void StartApply(std::shared_ptr<ApplyJob> job);
    // A menu made while an apply still runs shows it and gets its result.
    void TakeOverRunningApply();
    std::intptr_t OnApplyStarted(platform::window::Message& message);
    std::intptr_t OnApplyFinished(platform::window::Message& message);
    platform::window::ButtonControl* ButtonOfKind(int kind) const;

    std::uint16_t m_deviceType = TYPE_R40;
    std::string m_configSource;
    bool m_sourceChosen = false;  // a file the operator chose, not the last-used file
    CHaldenDlg* m_mainWindow = nullptr;
    int m_applyKind = 0;
    bool m_resultShown = false;
    bool m_progressRunning = false;
    bool m_reading = false;
    platform::window::Rect m_savedButtonPlace{};
    std::shared_ptr<ApplyJob> m_job;
    platform::window::Dialog* m_activeDialog = nullptr;
    int m_handlerDepth = 0;

    platform::window::BalloonToolTip m_toolTip;

    platform::window::ButtonControl* m_networkButton = nullptr;
    platform::window::ButtonControl* m_channelButton = nullptr;
    platform::window::ButtonControl* m_contentButton = nullptr;
    platform::window::ButtonControl* m_resetButton = nullptr;
    skin::CTransparentStatic* m_message = nullptr;
    skin::CMYCircleProgress* m_progress = nullptr;
};

}  // namespace console
