#include "console/lock_alarms.h"

#include <algorithm>

namespace console {

namespace {

std::string ChangesText(int count) {
    return count == 1 ? std::string("1 lock change") : std::to_string(count) + " lock changes";
}

}  // namespace

std::string OutageText(std::int64_t milliseconds) {
    const std::int64_t seconds = std::max<std::int64_t>(1, (milliseconds + 500) / 1000);
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const std::int64_t rest = seconds % 60;
    const std::string secondsText = std::to_string(rest) + " s";
    if (hours > 0)
        return std::to_string(hours) + " h " + std::to_string(minutes) + " min " + secondsText;
    if (minutes > 0) return std::to_string(minutes) + " min " + secondsText;
    return secondsText;
}

void LockAlarms::Follow(const std::string& receiverName) {
    m_name = receiverName;
    m_locked.reset();
    m_lostAtMs = 0;
    m_lastBalloonMs.reset();
    m_held = 0;
    m_lossShown = false;
}

bool LockAlarms::BalloonAllowed(std::int64_t nowMs) const {
    return !m_lastBalloonMs || nowMs - *m_lastBalloonMs >= m_rateLimitMs;
}

AlarmOutcome LockAlarms::OnStatus(bool locked, std::int64_t nowMs) {
    AlarmOutcome outcome;
    if (m_name.empty()) return outcome;
    const std::optional<bool> before = m_locked;
    m_locked = locked;
    if (!before) {
        // Found without lock: the outage is known from now on.
        m_lostAtMs = nowMs;
        m_lossSeen = false;
    }
    if (!before || *before == locked) return outcome;

    Alarm alarm;
    if (!locked) {
        m_lostAtMs = nowMs;
        m_lossSeen = true;
        alarm = {m_name + " lost lock", true};
    } else if (m_lossSeen) {
        alarm = {m_name + " locked again after " + OutageText(nowMs - m_lostAtMs), false};
    } else {
        alarm = {m_name + " is locked now (without lock for at least " +
                     OutageText(nowMs - m_lostAtMs) + ")",
                 false};
    }
    outcome.message = alarm;
    // The return of lock after a loss that had its balloon is told at once:
    // the operator who saw the loss must not wait for the period to learn
    // it is over.
    const bool answer = locked && m_lossShown;
    m_lossShown = false;
    if (m_held == 0 && (answer || BalloonAllowed(nowMs))) {
        outcome.balloon = alarm;
        m_lastBalloonMs = nowMs;
        m_lossShown = !locked;
    } else {
        ++m_held;
    }
    return outcome;
}

std::optional<std::int64_t> LockAlarms::SummaryDueAt() const {
    if (m_held == 0 || !m_lastBalloonMs) return std::nullopt;
    return *m_lastBalloonMs + m_rateLimitMs;
}

std::optional<Alarm> LockAlarms::OnSummaryDue(std::int64_t nowMs) {
    const std::optional<std::int64_t> due = SummaryDueAt();
    if (!due || nowMs < *due) return std::nullopt;
    const bool locked = m_locked.value_or(false);
    Alarm alarm{m_name + " is flapping: " + ChangesText(m_held) + " in " +
                    std::to_string((nowMs - *m_lastBalloonMs + 500) / 1000) + " s, " +
                    (locked ? "locked now" : "without lock now"),
                !locked};
    m_held = 0;
    m_lastBalloonMs = nowMs;
    m_lossShown = !locked;
    return alarm;
}

AlarmOutcome LockAlarms::OnRemoved() {
    AlarmOutcome outcome;
    if (m_name.empty()) return outcome;
    std::string text = m_name + " was removed: it is no longer heard";
    if (m_held > 0) text += " (after " + ChangesText(m_held) + ")";
    outcome.message = outcome.balloon = Alarm{text, true};
    Follow(std::string());
    return outcome;
}

}  // namespace console
