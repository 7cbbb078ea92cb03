// The file operations of the main window (button 1005): the load/save
// dialog picks the operation and the file; loading a file as the dialogs'
// start values, saving the last-used file and creating a file from the
// device status are carried out here, loading and applying a whole file by
// the dialog itself. Creating a file reads the receiver's PID table, so it
// runs on a worker that reports back by a posted message.
#include <chrono>
#include <string>

#include "config/configuration_apply.h"
#include "config/r40_settings_to_xml_doc.h"
#include "console/console_messages.h"
#include "console/device_text.h"
#include "console/halden_dlg.h"
#include "console/worker_reports.h"
#include "dialogs/load_save_configuration.h"
#include "platform/file/file_name.h"
#include "platform/window/worker_thread.h"

namespace console {

namespace window = platform::window;
using config::CreateFromStatusError;
using dialogs::CLoadSaveConfiguration;

namespace {

const std::string LOAD_FAILED =
    "Failed To Load Configuration File \n File doesn't Exist or Invalid Configuration File";
const std::string NO_LAST_USED =
    "Can't find Last used settings \n Please configure the device first before saving the "
    "Configuration";
const std::string CANNOT_CREATE =
    "Can't Create New File \n Make sure there is enough disk space, and the file name is valid";
const std::string NO_STATUS =
    "Can't Create New File \n No status has been received from the selected receiver";
const std::string NO_PID_TABLE =
    "Can't Create New File \n The selected receiver did not send its PID list";
const std::string CREATING = "Creating Configuration File \n Reading the PID list from the device";
const std::string LOADED = "Configuration File Loaded \n ";
const std::string SAVED = "Last Used Configuration Saved to File \n ";
const std::string CREATED = "Configuration File Created From The Device Status \n ";

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Each library call on the device runs under the session's lock, so no
// status poll or menu apply overlaps it on the same handle.
config::DeviceCaller CallerOf(const SharedDevice& device) {
    if (!device) return {};
    return [device](const config::DeviceCall& call) { return device->Use(call); };
}

// Clears a worker's flag however the worker ends.
struct FlagClearedAtEnd {
    std::atomic<bool>& flag;
    ~FlagClearedAtEnd() { flag = false; }
};

}  // namespace

void CHaldenDlg::ShowHeldMessage(const std::string& text) {
    ShowMessage(text);
    m_messageHeldUntilMs = NowMs() + MESSAGE_HOLD_MS;
}

bool CHaldenDlg::MessageHeld() const {
    return StatusFileRunning() || NowMs() < m_messageHeldUntilMs || AlarmHoldsMessageLine();
}

void CHaldenDlg::OnFileOperationsButton() {
    if (!DeviceGuard()) return;
    // One file operation at a time: a file being created from the status
    // keeps its message on the line meanwhile.
    if (m_fileDialog != nullptr || StatusFileRunning()) return;
    // One change of a receiver at a time: the menu's apply finishes first.
    if (ChangeRunning()) return;

    CLoadSaveConfiguration dialog;
    dialog.SetOwnerReference(Handle());
    dialog.SetDevice(CallerOf(m_device), m_statusPort);
    if (DeviceInfo entry{}; GetSelectedEntry(entry))
        dialog.SetReceiver(config::KeyOfMac(entry.mac));
    m_fileDialog = &dialog;
    // The indicators and the description stand still while the dialog runs.
    SuspendPolling();
    const int result = dialog.DoModal();
    m_fileDialog = nullptr;
    TrackWorker(dialog.ApplyRunning());
    if (m_shutDown) return;
    // Not for a device that went from the list meanwhile.
    if (m_selectedKey != NO_DEVICE_KEY) ResumePolling();
    if (result != window::IDOK) return;
    RunFileOperation(dialog.GetOperation(), dialog.GetPath());
}

void CHaldenDlg::RunFileOperation(int operation, const std::string& path) {
    switch (operation) {
        case dialogs::FILE_OP_LOAD_INDIVIDUALLY:
            m_configFileChosen = true;
            m_configFile = path;
            LoadIndividually();
            break;
        case dialogs::FILE_OP_SAVE_LAST_USED:
            m_configFileChosen = true;
            m_configFile = path;
            SaveLastUsed();
            break;
        case dialogs::FILE_OP_LOAD_APPLY_ALL:
            // The dialog has applied it; the menu goes back to the last-used file.
            m_configFileChosen = false;
            break;
        case dialogs::FILE_OP_FROM_STATUS:
            m_configFileChosen = true;
            m_configFile = path;
            CreateFromStatus();
            break;
        default:
            m_configFileChosen = false;
            break;
    }
}

void CHaldenDlg::LoadIndividually() {
    // The file stays chosen even when it does not load: the menu's dialogs
    // then start without values from it.
    CR40SettingsToXmlDoc file;
    if (!file.Load(m_configFile)) {
        ShowHeldMessage(LOAD_FAILED);
        return;
    }
    ShowHeldMessage(LOADED + platform::file::FileNameOf(m_configFile));
}

void CHaldenDlg::SaveLastUsed() {
    CR40SettingsToXmlDoc lastUsed;
    if (!lastUsed.Load(LAST_USED_CONFIG_FILE)) {
        ShowHeldMessage(NO_LAST_USED);
        return;
    }
    if (!lastUsed.SaveAs(m_configFile)) {
        ShowHeldMessage(CANNOT_CREATE);
        return;
    }
    ShowHeldMessage(SAVED + platform::file::FileNameOf(m_configFile));
}

void CHaldenDlg::CreateFromStatus() {
    // Only an R40 or R40V status has what the file holds; a T22's is never
    // kept.
    if (!m_lastStatus || !m_device) {
        ShowHeldMessage(NO_STATUS);
        return;
    }
    auto running = std::make_shared<std::atomic<bool>>(true);
    m_statusFileRunning = running;
    TrackWorker(running);
    ShowMessage(CREATING);  // held while the worker runs
    const bool started = window::BeginWorkerThread(
        [running, device = m_device, status = *m_lastStatus,
         path = m_configFile](window::WindowHandle handle) {
            FlagClearedAtEnd clear{*running};
            auto report = std::make_unique<StatusFileReport>();
            report->path = path;
            report->result = config::CreateConfigurationFromStatus(CallerOf(device), status, path);
            window::PostMessage(handle, WM_STATUS_FILE_DONE, 0, 0, std::move(report));
        },
        Handle());
    if (!started) {
        *running = false;
        ShowHeldMessage(CANNOT_CREATE);
    }
}

std::intptr_t CHaldenDlg::OnStatusFileDone(window::Message& message) {
    std::unique_ptr<StatusFileReport> report = message.payload.Take<StatusFileReport>();
    if (!report || m_shutDown) return 0;
    switch (report->result.error) {
        case CreateFromStatusError::None:
            ShowHeldMessage(CREATED + platform::file::FileNameOf(report->path));
            break;
        case CreateFromStatusError::NotAnR40:
            ShowHeldMessage(NO_STATUS);
            break;
        case CreateFromStatusError::PidListUnreadable:
            ShowHeldMessage(NO_PID_TABLE);
            break;
        case CreateFromStatusError::FileNotCreated:
        case CreateFromStatusError::FileNotWritten:
            ShowHeldMessage(CANNOT_CREATE);
            break;
    }
    return 0;
}

}  // namespace console
