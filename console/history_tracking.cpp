// The main window's part in the signal history and the lock alarms: every
// polled status becomes a sample in the ring and an observation for the
// alarms; the history panel is opened, docked and closed like the other
// satellites; balloons go through the notification-area icon, whose menu
// also opens the panel. Nothing here waits: a sample is appended, the panel
// repainted.

#include <algorithm>
#include <chrono>
#include <climits>

#include "console/console_messages.h"
#include "console/device_text.h"
#include "console/halden_dlg.h"
#include "console/history_panel.h"
#include "console/status_panel.h"
#include "platform/clock/clock.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/screen.h"
#include "resources/ids.h"
#include "skin/skin_palette.h"

namespace console {

namespace window = platform::window;

namespace {

constexpr std::string_view BALLOON_TITLE = "R40 Management Console";
constexpr int BALLOON_MS = 10000;
// An alarm stays on the message line this long before the device's
// description comes back.
constexpr std::int64_t ALARM_MESSAGE_HOLD_MS = 15000;

std::int64_t WallMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

// ---- The panel ----------------------------------------------------------------------

void CHaldenDlg::ToggleHistoryPanel() {
    if (m_shutDown || !DeviceGuard()) return;
    if (m_historyPanel) {
        DestroyHistoryPanel();
        return;
    }
    m_historyPanel = std::make_unique<CSignalHistoryPanel>();
    m_historyPanel->SetHistory(&m_history);
    m_historyPanel->SetOwnerReference(Handle());
    if (!m_historyPanel->Create(this)) {
        m_historyPanel.reset();
        return;
    }
    DockSatellites();
}

void CHaldenDlg::DestroyHistoryPanel() {
    if (!m_historyPanel) return;
    m_historyPanel->DestroyWindow();
    m_historyPanel.reset();
}

void CHaldenDlg::DockHistoryPanel(const window::Rect& main) {
    if (!m_historyPanel || !m_historyPanel->HasWindow()) return;
    // Under the status panel, or under this window when there is none; when
    // the screen has no room below, beside the status panel on the right.
    window::Rect above = main;
    if (m_statusPanel && m_statusPanel->HasWindow()) above = m_statusPanel->GetWindowRect();
    const window::Rect own = m_historyPanel->GetWindowRect();
    const int screenBottom = window::GetMonitorWorkArea({main.left, main.top}).bottom;
    if (above.bottom + own.Height() <= screenBottom)
        m_historyPanel->MoveTo(main.left, above.bottom);
    else
        m_historyPanel->MoveTo(std::max(main.right, above.right), main.bottom);
    m_historyPanel->PlaceBehind(this);
    if (IsWindowVisible()) m_historyPanel->ShowWindow(window::SW_SHOWNA);
}

// ---- Samples and alarms ----------------------------------------------------------------

void CHaldenDlg::FollowSelection(const DeviceInfo& entry) {
    m_history.Clear();
    if (m_historyPanel) m_historyPanel->Refresh();
    std::string name = DisplayName(entry.deviceType);
    while (!name.empty() && name.back() == ' ') name.pop_back();  // the name's own blank
    m_alarms.Follow(name + " at " + FormatAddress(entry.address));
    KillTimer(TIMER_ALARM_SUMMARY);
    m_alarmMessageUntilMs = 0;
}

void CHaldenDlg::RecordStatus(bool locked, bool data, float snrDb, int signalPercent) {
    const std::int64_t now = platform::clock::NowMilliseconds();
    SignalSample sample;
    sample.steadyMs = now;
    sample.wallMs = WallMilliseconds();
    sample.snrDb = snrDb;
    sample.signalPercent = static_cast<std::int16_t>(signalPercent);
    sample.locked = locked ? 1 : 0;
    sample.data = data ? 1 : 0;
    m_history.Append(sample);
    if (m_historyPanel) m_historyPanel->Refresh();
    // The alarm's time on the message line is over: what it said before
    // comes back (the R40 family's description is also rebuilt per status).
    if (m_alarmMessageUntilMs != 0 && !AlarmHoldsMessageLine()) {
        m_alarmMessageUntilMs = 0;
        if (m_messageText == m_alarmMessageText) ShowMessage(m_messageBeforeAlarm);
    }
    ShowAlarm(m_alarms.OnStatus(locked, now));
}

void CHaldenDlg::RaiseRemovalAlarm() {
    KillTimer(TIMER_ALARM_SUMMARY);
    const AlarmOutcome outcome = m_alarms.OnRemoved();
    // The message line says "Selected Device Removed"; the balloon names it.
    if (outcome.balloon) ShowAlarmBalloon(*outcome.balloon);
}

void CHaldenDlg::ShowAlarm(const AlarmOutcome& outcome) {
    if (outcome.message) {
        if (m_alarmMessageUntilMs == 0) m_messageBeforeAlarm = m_messageText;
        m_alarmMessageText = outcome.message->text;
        ShowMessage(m_alarmMessageText);
        m_alarmMessageUntilMs = platform::clock::NowMilliseconds() + ALARM_MESSAGE_HOLD_MS;
    }
    if (outcome.balloon) ShowAlarmBalloon(*outcome.balloon);
    ScheduleAlarmSummary();
}

void CHaldenDlg::ShowAlarmBalloon(const Alarm& alarm) {
    m_trayIcon.ShowBalloon(BALLOON_TITLE, alarm.text,
                           alarm.warning ? window::TTI_WARNING : window::TTI_INFO, BALLOON_MS,
                           skin::SKIN_COLOR);
}

void CHaldenDlg::ScheduleAlarmSummary() {
    const std::optional<std::int64_t> due = m_alarms.SummaryDueAt();
    if (!due) return;
    if (HasTimer(TIMER_ALARM_SUMMARY)) return;
    const std::int64_t wait = *due - platform::clock::NowMilliseconds();
    SetTimer(TIMER_ALARM_SUMMARY, static_cast<int>(std::clamp<std::int64_t>(wait, 1, 3600000)));
}

void CHaldenDlg::OnAlarmSummaryTimer() {
    KillTimer(TIMER_ALARM_SUMMARY);
    if (const std::optional<Alarm> summary =
            m_alarms.OnSummaryDue(platform::clock::NowMilliseconds()))
        ShowAlarmBalloon(*summary);
    ScheduleAlarmSummary();  // a timer that fired early tries again
}

bool CHaldenDlg::AlarmHoldsMessageLine() const {
    return platform::clock::NowMilliseconds() < m_alarmMessageUntilMs;
}

// ---- The notification-area icon's menu -------------------------------------------------

void CHaldenDlg::ShowTrayMenu() {
    if (m_shutDown) return;
    if (!m_trayMenu) {
        m_trayMenu = std::make_unique<window::PopupMenu>();
        m_trayMenu->AppendItem(res::ID_TRAY_SHOW_CONSOLE, "Show Console");
        m_trayMenu->AppendItem(res::ID_TRAY_SIGNAL_HISTORY, "Signal History");
        m_trayMenu->AppendSeparator();
        m_trayMenu->AppendItem(res::IDC_MAIN_SHUT_DOWN, "Shut Down");
    }
    m_trayMenu->CheckItem(res::ID_TRAY_SIGNAL_HISTORY, m_historyPanel != nullptr);
    m_trayMenu->Track(window::GetCursorPos(), Handle());
}

void CHaldenDlg::OnTrayHistory() {
    // From the hidden console the panel opens with the console.
    if (!IsWindowVisible()) {
        RestoreFromTray();
        if (!m_historyPanel) ToggleHistoryPanel();
    } else {
        ToggleHistoryPanel();
    }
}

}  // namespace console
