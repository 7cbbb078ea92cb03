#include "console/lock_alarms.h"

#include <algorithm>

namespace console {

namespace {

QString ChangesText(int count) {
    return count == 1 ? QStringLiteral("1 lock change")
                      : QStringLiteral("%1 lock changes").arg(count);
}

}  // namespace

QString OutageText(std::int64_t milliseconds) {
    const std::int64_t seconds = std::max<std::int64_t>(1, (milliseconds + 500) / 1000);
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const std::int64_t rest = seconds % 60;
    if (hours > 0) return QStringLiteral("%1 h %2 min %3 s").arg(hours).arg(minutes).arg(rest);
    if (minutes > 0) return QStringLiteral("%1 min %2 s").arg(minutes).arg(rest);
    return QStringLiteral("%1 s").arg(rest);
}

void LockAlarms::Follow(const QString& receiverName) {
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
    if (m_name.isEmpty()) return outcome;
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
        alarm = {m_name + QStringLiteral(" lost lock"), true};
    } else if (m_lossSeen) {
        alarm = {m_name + QStringLiteral(" locked again after ") + OutageText(nowMs - m_lostAtMs),
                 false};
    } else {
        alarm = {m_name + QStringLiteral(" is locked now (without lock for at least ") +
                     OutageText(nowMs - m_lostAtMs) + QStringLiteral(")"),
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
    Alarm alarm{m_name + QStringLiteral(" is flapping: %1 in %2 s, %3")
                             .arg(ChangesText(m_held))
                             .arg((nowMs - *m_lastBalloonMs + 500) / 1000)
                             .arg(locked ? QStringLiteral("locked now")
                                         : QStringLiteral("without lock now")),
                !locked};
    m_held = 0;
    m_lastBalloonMs = nowMs;
    m_lossShown = !locked;
    return alarm;
}

AlarmOutcome LockAlarms::OnRemoved() {
    AlarmOutcome outcome;
    if (m_name.isEmpty()) return outcome;
    QString text = m_name + QStringLiteral(" was removed: it is no longer heard");
    if (m_held > 0) text += QStringLiteral(" (after %1)").arg(ChangesText(m_held));
    outcome.message = outcome.balloon = Alarm{text, true};
    Follow(QString());
    return outcome;
}

}  // namespace console
