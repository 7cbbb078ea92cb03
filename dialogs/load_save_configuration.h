// CLoadSaveConfiguration: the modal dialog in which the operator picks one
// of four file operations and a file. For three of them it only collects the
// choice and the path; the console carries them out after the run. The
// fourth, loading a file and applying all of it to the selected receiver, it
// carries out itself on a worker (load_apply_worker.h), showing each stage's
// success or failure as it ends.
//
//   CLoadSaveConfiguration dialog;
//   dialog.SetOwnerReference(mainWindow.Handle());
//   dialog.SetDevice(caller, statusPort);   // the receiver operation 3 applies to
//   if (dialog.DoModal() == IDOK)
//       ... dialog.GetOperation(), dialog.GetPath() ...
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "config/configuration_apply.h"
#include "dialogs/load_apply_worker.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/dialog.h"

namespace platform::window {
class ButtonControl;
class EditControl;
}  // namespace platform::window
namespace skin {
class CMYCircleProgress;
class CRedCheckBox;
class CTransparentStatic;
}  // namespace skin

namespace dialogs {

// The operations, as GetOperation reports them.
inline constexpr int FILE_OP_NONE = 0;
inline constexpr int FILE_OP_LOAD_INDIVIDUALLY = 1;  // load a file as the dialogs' start values
inline constexpr int FILE_OP_SAVE_LAST_USED = 2;     // save the last-used file to a file
inline constexpr int FILE_OP_LOAD_APPLY_ALL = 3;     // load a file and apply all of it
inline constexpr int FILE_OP_FROM_STATUS = 4;        // create a file from the device status

// Timers of the dialog.
inline constexpr int TIMER_LOADAPPLY_PROGRESS = 1;
inline constexpr int TIMER_LOADAPPLY_CLOSE = 3;
inline constexpr int LOADAPPLY_PROGRESS_MS = 20;
inline constexpr int LOADAPPLY_CLOSE_MS = 2000;

class CLoadSaveConfiguration : public platform::window::Dialog {
  public:
    enum class State {
        Choosing,  // the four operations are offered
        Chosen,    // one chosen: the file is asked for
        Applying,  // operation 3's worker is at work
        Failed,    // the file or network stage failed: only the X button is left
        Closing,   // the PID list stage has ended: the dialog closes 2 s later
    };

    CLoadSaveConfiguration();
    ~CLoadSaveConfiguration() override;

    // The receiver operation 3 applies to, reached through `device` for each
    // library call, and the status port its network settings name. Without
    // it, an apply fails at the network stage.
    void SetDevice(config::DeviceCaller device, std::uint16_t statusPort);
    // The key of that receiver: a file made from another receiver keeps its
    // network settings to itself (said, and the apply goes on). Without it
    // a file applies whole.
    void SetReceiver(const config::ReceiverKey& key) { m_receiver = key; }

    int GetOperation() const { return m_operation; }
    const std::string& GetPath() const { return m_path; }

    // Ends the run (as cancelled) whatever the state: the console is shutting
    // down. A running apply goes on with its own job.
    void Close();

    // ---- State, for the console and tests ---------------------------------
    State CurrentState() const { return m_state; }
    // The text shown in the description box, and whether it is shown.
    std::string DescriptionText() const;
    bool DescriptionShown() const;
    // The apply's flag "started and its worker has not yet ended"; null
    // before operation 3 started.
    std::shared_ptr<const std::atomic<bool>> ApplyRunning() const;
    // The job of operation 3 (null before it started).
    std::shared_ptr<const LoadApplyJob> Job() const { return m_job; }
    platform::window::BalloonToolTip& ToolTip() { return m_toolTip; }

  protected:
    void DoDataExchange(platform::window::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(int id) override;
    void OnShowWindow(bool show) override;
    bool PreTranslateMessage(const platform::window::InputMessage& message) override;
    void OnCtlColor(platform::window::Window* control,
                    platform::window::ControlColors& colors) override;
    void OnPaint(platform::window::DeviceContext& dc) override;

  private:
    void SetUpToolTips();
    void OnOperationBox(int boxId);
    void OnBrowse();
    void StartApply();
    std::intptr_t OnStageFailed(platform::window::Message& message);
    std::intptr_t OnStageSucceeded(platform::window::Message& message);
    void ShowDescription(std::string_view text);
    // The apply has ended for good: the indicator stops and goes, and the
    // dialog closes after LOADAPPLY_CLOSE_MS.
    void BeginClosing();
    void ShowFileControls(bool show);
    bool ApplyStarted() const { return m_job && m_job->applyStarted; }
    bool WorkerRunning() const { return m_job && m_job->workerRunning; }

    int m_operation = FILE_OP_NONE;
    std::string m_path;
    config::DeviceCaller m_device;
    std::uint16_t m_statusPort = 0;
    std::optional<config::ReceiverKey> m_receiver;
    State m_state = State::Choosing;
    std::shared_ptr<LoadApplyJob> m_job;
    platform::window::Image m_pattern;
    platform::window::BalloonToolTip m_toolTip;

    skin::CTransparentStatic* m_heading = nullptr;
    skin::CRedCheckBox* m_boxes[4] = {};  // 1077, 1078, 1079, 1080
    skin::CTransparentStatic* m_labels[4] = {};
    skin::CTransparentStatic* m_description = nullptr;
    skin::CMYCircleProgress* m_progress = nullptr;
    platform::window::EditControl* m_pathEdit = nullptr;
    platform::window::ButtonControl* m_browse = nullptr;
    platform::window::ButtonControl* m_ok = nullptr;
    platform::window::ButtonControl* m_cancel = nullptr;
};

}  // namespace dialogs
