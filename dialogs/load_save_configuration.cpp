#include "dialogs/load_save_configuration.h"

#include "dialogs/dialog_look.h"
#include "platform/window/button_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/edit_control.h"
#include "platform/window/file_dialog.h"
#include "platform/window/images.h"
#include "platform/window/worker_thread.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/circle_progress.h"
#include "skin/red_check_box.h"
#include "skin/skin_palette.h"
#include "skin/transparent_static.h"

namespace dialogs {

namespace window = platform::window;

namespace {

// The operation boxes top to bottom, with their labels and operations.
struct OperationRow {
    int box;
    int label;
    int operation;
    const char* description;
};

constexpr OperationRow ROWS[4] = {
    {res::IDC_FILE_SAVE_LAST_USED, res::IDC_FILE_SAVE_LAST_USED_LABEL, FILE_OP_SAVE_LAST_USED,
     "The configuration parameters that were used last time you applied a configuration will "
     "be saved to the file."},
    {res::IDC_FILE_FROM_STATUS, res::IDC_FILE_FROM_STATUS_LABEL, FILE_OP_FROM_STATUS,
     "The status of the current device will be used to create a configuration file that can be "
     "applied to other devices."},
    {res::IDC_FILE_LOAD_APPLY_ALL, res::IDC_FILE_LOAD_APPLY_ALL_LABEL, FILE_OP_LOAD_APPLY_ALL,
     "The Configuration file will be loaded. \n The configuration will be applied to the "
     "current device (Network, Channel, and Content)"},
    {res::IDC_FILE_LOAD_INDIVIDUALLY, res::IDC_FILE_LOAD_INDIVIDUALLY_LABEL,
     FILE_OP_LOAD_INDIVIDUALLY,
     "The configuration file will be loaded and used to initialize the configuration "
     "fields.\n You need to apply Network, Channel and Content configurations individually."},
};

constexpr std::string_view FILE_FILTER = "Xml Configuration File(*.xml)|*.xml|All Files(*.*)|*.*||";
constexpr char HEADING_CHOSEN[] = "Select File Name ";
constexpr char SENDING_NETWORK[] = "Sending Network Configuration \n Please Wait ... ";

// The dialog's own text colour for every control that asks.
constexpr window::ColorRef TEXT_COLOR = window::Rgb(204, 48, 45);
constexpr window::ColorRef PROGRESS_DISC = window::Rgb(204, 45, 48);
constexpr window::ColorRef PROGRESS_WEDGE = window::Rgb(255, 0, 0);

constexpr int STAGE_FILE = static_cast<int>(config::ApplyStage::File);
constexpr int STAGE_NETWORK = static_cast<int>(config::ApplyStage::Network);
constexpr int STAGE_CHANNEL = static_cast<int>(config::ApplyStage::Channel);
constexpr int STAGE_PID_LIST = static_cast<int>(config::ApplyStage::PidList);

// While the close timer finds the worker still at its last acts, it looks
// again this often, the window handling messages meanwhile.
constexpr int WORKER_END_POLL_MS = 20;

// `detail` is `Element "value": why`; the text names the element and value.
std::string InvalidValueText(int stage, const std::string& detail) {
    const std::size_t end = detail.find("\": ");
    const std::string named = end == std::string::npos ? detail : detail.substr(0, end + 1);
    std::string text = "Invalid value in the file, nothing was sent: \n " + named;
    if (stage == STAGE_FILE || stage == STAGE_NETWORK)
        text += " \n Click on the X button to close this window ";
    return text;
}

std::string FailureText(int stage, std::intptr_t reason) {
    const bool notInFile = reason == config::REASON_NOT_IN_FILE;
    if (stage == STAGE_NETWORK && reason == config::REASON_OTHER_RECEIVER)
        return "Network Configuration Not Applied \n The file was made from "
               "receiver ";  // the receiver's key follows
    switch (stage) {
        case STAGE_FILE:
            return "Failed to Load Configuration File \n Configuration File may be Invalid \n "
                   "Click "
                   "on the X button to close this window ";
        case STAGE_NETWORK:
            return notInFile ? "Can't Find Network Configuration in the file \n Configuration "
                               "File may be Invalid \n Click on the X button to close this "
                               "window "
                             : "Failed to apply network configuration\n Further configuration "
                               "isn't possible \n Click on the X button to close this window ";
        case STAGE_CHANNEL:
            // A satellite receiver is tuned by frequency: no RF channel is
            // ever sent to it.
            if (reason == config::REASON_NOT_FOR_MODEL)
                return "Channel Configuration Not Applied \n The selected device is tuned by "
                       "frequency, not by channel ";
            return notInFile ? "Can't Find Channel Configuration in the file \n Configuration "
                               "File may be Invalid "
                             : "Failed to apply channel configuration\n The device's network "
                               "configuration may make it unreachable. \n Please review the "
                               "network configuration";
        case STAGE_PID_LIST:
            return notInFile ? "Can't Find Content Configuration in the file \n Configuration "
                               "File may be Invalid "
                             : "Failed to apply Content configuration\n The device's network "
                               "configuration may make it unreachable. \n Please review the "
                               "network configuration";
        default:
            return std::string();
    }
}

std::string SuccessText(int stage) {
    switch (stage) {
        case STAGE_NETWORK:
            return "Network Configuration Applied Successfully ";
        case STAGE_CHANNEL:
            return "Channel Configuration Applied Successfully ";
        case STAGE_PID_LIST:
            return "Content Configuration Applied Successfully ";
        default:
            return std::string();
    }
}

int StageOf(const window::Message& message) {
    return static_cast<int>(static_cast<std::intptr_t>(message.wParam));
}

}  // namespace

CLoadSaveConfiguration::CLoadSaveConfiguration()
    : window::Dialog(res::FindDialogTemplate(res::IDD_LOAD_SAVE)) {
    SetPaintsItself();  // the tiled pattern behind the controls
    for (const OperationRow& row : ROWS)
        MapCommand(row.box, window::BN_CLICKED, [this, id = row.box] { OnOperationBox(id); });
    MapCommand(res::IDC_FILE_BROWSE, window::BN_CLICKED, [this] { OnBrowse(); });
    MapMessage(WM_LOADAPPLY_FAILED, [this](window::Message& m) { return OnStageFailed(m); });
    MapMessage(WM_LOADAPPLY_SUCCEEDED, [this](window::Message& m) { return OnStageSucceeded(m); });
}

CLoadSaveConfiguration::~CLoadSaveConfiguration() {
    // A running apply goes on with its own job; its posts to this window are
    // dropped once the window is gone.
    DestroyWindow();
}

void CLoadSaveConfiguration::SetDevice(config::DeviceCaller device, std::uint16_t statusPort) {
    m_device = std::move(device);
    m_statusPort = statusPort;
}

void CLoadSaveConfiguration::Close() {
    KillTimer(TIMER_LOADAPPLY_PROGRESS);
    KillTimer(TIMER_LOADAPPLY_CLOSE);
    if (IsModalRunning()) EndDialog(window::IDCANCEL);
}

std::string CLoadSaveConfiguration::DescriptionText() const {
    return m_description != nullptr ? m_description->Text() : std::string();
}

bool CLoadSaveConfiguration::DescriptionShown() const {
    return m_description != nullptr && m_description->IsWindowVisible();
}

std::shared_ptr<const std::atomic<bool>> CLoadSaveConfiguration::ApplyRunning() const {
    if (!m_job) return nullptr;
    return std::shared_ptr<const std::atomic<bool>>(m_job, &m_job->applyStarted);
}

void CLoadSaveConfiguration::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_FILE_HEADING, m_heading);
    for (int i = 0; i < 4; ++i) {
        window::DDX_Control(dx, ROWS[i].box, m_boxes[i]);
        window::DDX_Control(dx, ROWS[i].label, m_labels[i]);
    }
    window::DDX_Control(dx, res::IDC_FILE_DESCRIPTION, m_description);
    window::DDX_Control(dx, res::IDC_FILE_PROGRESS, m_progress);
    window::DDX_Control(dx, res::IDC_FILE_PATH, m_pathEdit);
    window::DDX_Control(dx, res::IDC_FILE_BROWSE, m_browse);
    window::DDX_Control(dx, window::IDOK, m_ok);
    window::DDX_Control(dx, window::IDCANCEL, m_cancel);
}

bool CLoadSaveConfiguration::OnInitDialog() {
    window::Dialog::OnInitDialog();
    const std::pair<window::ButtonControl*, int> pictures[] = {
        {m_ok, res::IDB_GREEN_LIGHT},
        {m_cancel, res::IDB_RED_LIGHT},
        {m_browse, res::IDB_BROWSE},
    };
    for (const auto& [button, id] : pictures) {
        const window::Image picture = window::LoadBitmap(id);
        if (button != nullptr && !picture.IsNull()) button->SetBitmap(picture);
    }
    m_pattern = window::LoadBitmap(res::IDB_MENU_BACKGROUND);
    // The boxes stand on the dialog's own pattern, not on a tile of their own.
    for (skin::CRedCheckBox* box : m_boxes)
        if (box != nullptr) box->SetBackgroundTile(window::Image());
    UseSkinHighlight(*this);

    m_operation = FILE_OP_NONE;
    m_state = State::Choosing;
    if (m_cancel != nullptr) m_cancel->ShowWindow(window::SW_SHOW);
    SetUpToolTips();
    // It stays above the console it covers.
    if (GetOwnerWindow() != nullptr) SetTopMost(true);
    return true;
}

void CLoadSaveConfiguration::SetUpToolTips() {
    dialogs::SetUpToolTips(
        m_toolTip, *this, "Load Save Dialog", 5000,
        {
            {this,
             "Select the operation that you want \n Select the file name and \n click on the "
             "check mark to perform the operation \n Note: If you press 'ESC' the dialog will "
             "close and the operation will be canceled "},
            {m_browse, "Open a file selection dialog"},
            {m_cancel, "Discard the selection and close this dialog box"},
            {m_ok, "Perform the selected operation \n on the specified file name"},
        });
}

bool CLoadSaveConfiguration::PreTranslateMessage(const window::InputMessage& message) {
    m_toolTip.RelayEvent(message);
    return window::Dialog::PreTranslateMessage(message);
}

void CLoadSaveConfiguration::OnCtlColor(window::Window*, window::ControlColors& colors) {
    colors.text = TEXT_COLOR;
}

void CLoadSaveConfiguration::OnShowWindow(bool show) {
    window::Dialog::OnShowWindow(show);
    if (show) PlaceAtOwnerCorner(*this, OwnerCorner::TopLeft);
}

void CLoadSaveConfiguration::OnPaint(window::DeviceContext& dc) {
    if (m_pattern.IsNull()) return;
    dc.TileImage(GetClientRect(), m_pattern);
}

// ---- Choosing ------------------------------------------------------------------

void CLoadSaveConfiguration::OnOperationBox(int boxId) {
    int row = 0;
    while (row < 4 && ROWS[row].box != boxId) ++row;
    if (row == 4 || m_boxes[row] == nullptr) return;
    skin::CRedCheckBox* chosen = m_boxes[row];
    // The choice is made once: the box stays checked.
    if (m_operation != FILE_OP_NONE) {
        chosen->SetChecked(true);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        if (m_boxes[i] != nullptr) m_boxes[i]->ShowWindow(window::SW_HIDE);
        if (m_labels[i] != nullptr) m_labels[i]->ShowWindow(window::SW_HIDE);
    }
    if (m_heading != nullptr) m_heading->SetText(HEADING_CHOSEN);
    chosen->ShowWindow(window::SW_SHOW);
    if (m_labels[row] != nullptr) m_labels[row]->ShowWindow(window::SW_SHOW);
    m_toolTip.DelTool(this);
    // Into the top row.
    if (row != 0 && m_boxes[0] != nullptr && m_labels[0] != nullptr && m_labels[row] != nullptr) {
        const window::Rect topBox = m_boxes[0]->GetPlacement();
        chosen->MoveTo(topBox.left, topBox.top);
        const window::Rect topLabel = m_labels[0]->GetPlacement();
        m_labels[row]->MoveTo(topLabel.left, topLabel.top);
    }
    ShowFileControls(true);
    m_operation = ROWS[row].operation;
    m_state = State::Chosen;
    ShowDescription(ROWS[row].description);
    if (m_pathEdit != nullptr) m_pathEdit->SetFocus();
}

void CLoadSaveConfiguration::ShowFileControls(bool show) {
    const int command = show ? window::SW_SHOW : window::SW_HIDE;
    for (window::Window* control :
         {static_cast<window::Window*>(m_ok), static_cast<window::Window*>(m_cancel)})
        if (control != nullptr) control->ShowWindow(command);
    if (m_pathEdit != nullptr) m_pathEdit->ShowWindow(command);
    if (m_browse != nullptr) m_browse->ShowWindow(command);
}

void CLoadSaveConfiguration::OnBrowse() {
    if (m_state != State::Chosen) return;
    // Files to load must exist; a file to write may, after a question.
    const bool open =
        m_operation == FILE_OP_LOAD_INDIVIDUALLY || m_operation == FILE_OP_LOAD_APPLY_ALL;
    const unsigned flags = window::OFN_PATHMUSTEXIST | window::OFN_ENABLESIZING |
                           (open ? window::OFN_FILEMUSTEXIST : window::OFN_OVERWRITEPROMPT);
    window::FileDialog files(open, "xml", "", flags, FILE_FILTER, Handle());
    if (files.DoModal() == window::IDOK)
        m_path = files.GetPathName();
    else
        m_path.clear();
    if (m_pathEdit != nullptr) m_pathEdit->SetText(m_path);
}

// ---- OK and Cancel ----------------------------------------------------------------

void CLoadSaveConfiguration::OnOK() {
    // Once an apply has started nothing starts another, not even after it
    // failed: the dialog can then only be closed.
    if (m_state == State::Applying || m_state == State::Failed || m_state == State::Closing ||
        ApplyStarted())
        return;
    ShowFileControls(false);
    m_path = m_pathEdit != nullptr ? m_pathEdit->GetText() : "";
    if (m_path.empty()) {
        EndDialog(window::IDCANCEL);
        return;
    }
    if (m_operation != FILE_OP_LOAD_APPLY_ALL) {
        EndDialog(window::IDOK);
        return;
    }
    StartApply();
}

void CLoadSaveConfiguration::OnCancel() {
    // Not while the worker runs, and not while the dialog is closing on its
    // own after the last stage.
    if (ApplyStarted() || m_state == State::Applying || m_state == State::Closing) return;
    EndDialog(window::IDCANCEL);
}

// ---- Applying ----------------------------------------------------------------------

void CLoadSaveConfiguration::StartApply() {
    auto job = std::make_shared<LoadApplyJob>();
    job->path = m_path;
    job->statusPort = m_statusPort;
    job->device = m_device;
    job->receiver = m_receiver;
    job->applyStarted = true;
    m_job = job;
    m_state = State::Applying;
    if (m_progress != nullptr) {
        m_progress->SetCircleColor(PROGRESS_DISC);
        m_progress->SetColor(PROGRESS_WEDGE);
        m_progress->SetStep(2);
        m_progress->SetRange(100);
        m_progress->SetPos(0);
        m_progress->ShowWindow(window::SW_SHOW);
    }
    const bool started = window::BeginWorkerThread(
        [job](window::WindowHandle dialog) { LoadApplyWorker(job, dialog); }, Handle());
    if (!started) {
        // No thread: the file stage fails as the worker would have said.
        job->applyStarted = false;
        window::PostMessage(Handle(), WM_LOADAPPLY_FAILED,
                            static_cast<std::uintptr_t>(static_cast<std::intptr_t>(STAGE_FILE)),
                            config::REASON_SEND_FAILED);
    }
    SetTimer(TIMER_LOADAPPLY_PROGRESS, LOADAPPLY_PROGRESS_MS);
    ShowDescription(SENDING_NETWORK);
}

void CLoadSaveConfiguration::ShowDescription(std::string_view text) {
    if (m_description == nullptr) return;
    m_description->SetText(text);
    m_description->ShowWindow(window::SW_HIDE);
    m_description->ShowWindow(window::SW_SHOW);
}

std::intptr_t CLoadSaveConfiguration::OnStageFailed(window::Message& message) {
    const int stage = StageOf(message);
    std::string text = FailureText(stage, message.lParam);
    // A value in the file no receiver can take is named instead, element and
    // value (the reason behind them is r40ctl's to print: it would not fit).
    if (const std::unique_ptr<std::string> detail = message.payload.Take<std::string>())
        text = InvalidValueText(stage, *detail);
    switch (stage) {
        case STAGE_NETWORK:
            // Another receiver's identity is not sent; the channel and the
            // PID list follow.
            if (message.lParam == config::REASON_OTHER_RECEIVER) {
                const auto key = message.payload.Take<config::ReceiverKey>();
                ShowDescription(text + (key ? config::KeyText(*key) : std::string("?")));
                if (m_progress != nullptr) m_progress->SetPos(0);
                break;
            }
            [[fallthrough]];
        case STAGE_FILE:
            ShowDescription(text);
            KillTimer(TIMER_LOADAPPLY_PROGRESS);  // the indicator stays, still
            if (m_cancel != nullptr) m_cancel->ShowWindow(window::SW_SHOW);
            m_state = State::Failed;
            break;
        case STAGE_CHANNEL:
            ShowDescription(text);  // the PID list follows
            break;
        case STAGE_PID_LIST:
            ShowDescription(text);
            BeginClosing();
            break;
        default:
            break;
    }
    return 0;
}

std::intptr_t CLoadSaveConfiguration::OnStageSucceeded(window::Message& message) {
    const int stage = StageOf(message);
    switch (stage) {
        case STAGE_NETWORK:
        case STAGE_CHANNEL:
            ShowDescription(SuccessText(stage));
            if (m_progress != nullptr) m_progress->SetPos(0);
            break;
        case STAGE_PID_LIST:
            ShowDescription(SuccessText(stage));
            BeginClosing();
            break;
        default:
            break;
    }
    return 0;
}

void CLoadSaveConfiguration::BeginClosing() {
    KillTimer(TIMER_LOADAPPLY_PROGRESS);
    if (m_progress != nullptr) m_progress->ShowWindow(window::SW_HIDE);
    SetTimer(TIMER_LOADAPPLY_CLOSE, LOADAPPLY_CLOSE_MS);
    m_state = State::Closing;
}

void CLoadSaveConfiguration::OnTimer(int id) {
    switch (id) {
        case TIMER_LOADAPPLY_PROGRESS:
            if (m_progress != nullptr) m_progress->StepIt();
            break;
        case TIMER_LOADAPPLY_CLOSE:
            KillTimer(TIMER_LOADAPPLY_CLOSE);
            // The worker may still be at its last acts (replacing the
            // last-used file): look again shortly, handling messages
            // meanwhile, rather than block the window.
            if (ApplyStarted())
                SetTimer(TIMER_LOADAPPLY_CLOSE, WORKER_END_POLL_MS);
            else
                EndDialog(window::IDOK);
            break;
        default:
            window::Dialog::OnTimer(id);
    }
}

}  // namespace dialogs
