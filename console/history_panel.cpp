#include "console/history_panel.h"

#include <memory>
#include <string>
#include <vector>

#include "console/console_messages.h"
#include "console/halden_dlg.h"
#include "console/history_chart.h"
#include "console/history_csv.h"
#include "platform/file/file_name.h"
#include "platform/window/button_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/file_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/styles.h"
#include "platform/window/worker_thread.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/skin_palette.h"
#include "skin/transparent_static.h"

namespace console {

namespace window = platform::window;

namespace {

constexpr std::string_view CSV_FILTER = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";
constexpr window::ColorRef PANEL_BACKGROUND = window::Rgb(236, 237, 240);
// The chart moves on while no status comes, so a silent receiver's gap
// shows as it grows.
constexpr int TIMER_CLOCK = 1;
constexpr int CLOCK_PERIOD_MS = 2000;

// What the save worker hands back.
struct SaveReport {
    bool saved = false;
    std::string path;
    std::size_t samples = 0;
};

}  // namespace

CSignalHistoryPanel::CSignalHistoryPanel()
    : window::Dialog(res::FindDialogTemplate(res::IDD_HISTORY_PANEL)) {
    MapCommand(res::IDC_HISTORY_SAVE, window::BN_CLICKED, [this] { OnSave(); });
    MapMessage(WM_HISTORY_SAVED, [this](window::Message& m) { return OnSaveDone(m); });
}

CSignalHistoryPanel::~CSignalHistoryPanel() {
    // A running save goes on with its own copy; its post is dropped once
    // the window is gone.
    DestroyWindow();
}

void CSignalHistoryPanel::DoDataExchange(window::DataExchange& dx) {
    window::DDX_Control(dx, res::IDC_HISTORY_CHART, m_chart);
    window::DDX_Control(dx, res::IDC_HISTORY_SAVE, m_saveButton);
    window::DDX_Control(dx, res::IDC_HISTORY_TITLE, m_title);
}

bool CSignalHistoryPanel::OnInitDialog() {
    window::Dialog::OnInitDialog();
    SetBackgroundColor(PANEL_BACKGROUND);
    if (m_chart != nullptr) m_chart->SetHistory(m_history);
    SetTimer(TIMER_CLOCK, CLOCK_PERIOD_MS);
    return true;
}

void CSignalHistoryPanel::OnTimer(int id) {
    if (id == TIMER_CLOCK)
        Refresh();
    else
        window::Dialog::OnTimer(id);
}

void CSignalHistoryPanel::SetHistory(const SignalHistory* history) {
    m_history = history;
    if (m_chart != nullptr) m_chart->SetHistory(history);
}

void CSignalHistoryPanel::Refresh() {
    if (m_chart != nullptr) m_chart->Invalidate();
}

bool CSignalHistoryPanel::OnDrawItem(window::DrawItem& item) {
    if (item.controlId != res::IDC_HISTORY_SAVE) return false;
    window::DeviceContext& dc = *item.dc;
    dc.Save();
    dc.SetAntialiasing(true);
    const bool down = (item.state & window::ODS_SELECTED) != 0;
    const bool enabled = (item.state & window::ODS_DISABLED) == 0;
    dc.SetGradientBrush(item.rect, down ? skin::EDGE_LIGHT : window::Rgb(255, 255, 255),
                        down ? window::Rgb(210, 210, 214) : skin::EDGE_LIGHT);
    dc.SetPen(window::Pen{skin::EDGE_DARK_SHADOW});
    dc.RoundedRectangle(item.rect, 3);
    dc.SetTextColor(enabled ? skin::SKIN_COLOR : skin::EDGE_DARK_SHADOW);
    dc.DrawText(down ? item.rect.Offset(1, 1) : item.rect, item.text,
                window::DT_CENTER | window::DT_VCENTER | window::DT_SINGLELINE);
    dc.Restore();
    return true;
}

void CSignalHistoryPanel::OnSave() {
    if (m_saveRunning || m_history == nullptr) return;
    window::FileDialog chooser(
        false, "csv", "signal-history.csv",
        window::OFN_OVERWRITEPROMPT | window::OFN_HIDEREADONLY | window::OFN_PATHMUSTEXIST,
        CSV_FILTER, Handle());
    if (chooser.DoModal() != window::IDOK || !HasWindow()) return;

    // The worker gets a copy: the ring goes on growing meanwhile.
    auto samples = std::make_shared<const std::vector<SignalSample>>(m_history->Snapshot());
    const std::string path = chooser.GetPathName();
    m_saveRunning = true;
    if (m_saveButton != nullptr) m_saveButton->EnableWindow(false);
    const bool started = window::BeginWorkerThread(
        [samples, path](window::WindowHandle handle) {
            auto report = std::make_unique<SaveReport>();
            report->path = path;
            report->samples = samples->size();
            report->saved = SaveHistoryCsv(path, *samples);
            window::PostMessage(handle, WM_HISTORY_SAVED, 0, 0, std::move(report));
        },
        Handle());
    if (!started) {
        m_saveRunning = false;
        if (m_saveButton != nullptr) m_saveButton->EnableWindow(true);
    }
}

std::intptr_t CSignalHistoryPanel::OnSaveDone(window::Message& message) {
    m_saveRunning = false;
    if (m_saveButton != nullptr) m_saveButton->EnableWindow(true);
    std::unique_ptr<SaveReport> report = message.payload.Take<SaveReport>();
    if (!report) return 0;
    if (report->saved) {
        m_lastSaveText = "Signal history saved: " + std::to_string(report->samples) +
                         " samples in " + platform::file::FileNameOf(report->path);
        if (auto* main = dynamic_cast<CHaldenDlg*>(GetOwnerWindow()))
            main->ShowMessage(m_lastSaveText);
    } else {
        m_lastSaveText = "Could not save the signal history to\n" + report->path;
        window::AfxMessageBox(m_lastSaveText, window::MB_OK | window::MB_ICONERROR);
    }
    return 0;
}

}  // namespace console
