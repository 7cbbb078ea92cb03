// CConfigSubMenue: the configuration menu docked under the main window. Four
// picture buttons open the network, channel, content (PID list) and reset
// dialogs, starting them with the values of a configuration file. A
// confirmed change is written to the last-used file first and then sent to
// the selected receiver by an apply worker, while the menu shows
// "Configuring Device\nPlease Wait" with a spinning indicator, then
// "SUCCESS" or "Failed To Configure" for 1.5 seconds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "console/apply_job.h"
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

namespace console {

class CHaldenDlg;

class CConfigSubMenue : public platform::window::Dialog {
    Q_OBJECT

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
    bool ResultShown() const { return m_resultShown; }
    int ApplyKind() const { return m_applyKind; }
    // The file the dialogs start with.
    const std::string& ConfigSource() const { return m_configSource; }
    // The message label's text, and whether it is shown.
    QString MessageText() const;
    bool MessageShown() const;
    // The job of the latest apply (null before the first).
    std::shared_ptr<const ApplyJob> LastJob() const { return m_job; }
    // The dialog a button has open, or null.
    platform::window::Dialog* ActiveDialog() const { return m_activeDialog; }

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
    bool PreTranslateMessage(QObject* target, QEvent* event) override;
    void OnTimer(int id) override;

  private:
    void SetUpToolTips();

    // ---- The four buttons ---------------------------------------------------
    void OnNetwork();
    void OnChannel();
    void OnContent();
    void OnReset();
    // A click while an apply runs or its result is shown does nothing.
    bool Busy() const;

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

    void ShowMessage(const QString& text);
    void HideMessage();

    // ---- Applying ---------------------------------------------------------
    // Starts the worker for a job whose record is filled in.
    void StartApply(std::shared_ptr<ApplyJob> job);
    std::intptr_t OnApplyStarted(platform::window::Message& message);
    std::intptr_t OnApplyFinished(platform::window::Message& message);
    platform::window::ButtonControl* ButtonOfKind(int kind) const;

    std::uint16_t m_deviceType = TYPE_R40;
    std::string m_configSource;
    CHaldenDlg* m_mainWindow = nullptr;
    int m_applyKind = 0;
    bool m_resultShown = false;
    bool m_progressRunning = false;
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
