// LockAlarms: turns the selected receiver's polled lock state into alarms.
// Every change from locked to unlocked and back is an alarm for the message
// line. Balloons are rate-limited: no two within the period, except that
// the return of lock after a loss the operator was shown is told at once.
// The changes a flapping receiver makes meanwhile are held and told in one
// summary with their count when the period is over. The removal of the
// receiver is always told at once. Times are the caller's monotonic
// milliseconds; the object never reads a clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace console {

struct Alarm {
    std::string text;  // UTF-8
    // The receiver is without lock (or gone) after it: a warning, else news.
    bool warning = false;
};

// What one observation gives: a line for the message line and, when the
// rate limit allows, a balloon.
struct AlarmOutcome {
    std::optional<Alarm> message;
    std::optional<Alarm> balloon;
};

class LockAlarms {
  public:
    static constexpr std::int64_t RATE_LIMIT_MS = 30000;

    void SetRateLimit(std::int64_t milliseconds) { m_rateLimitMs = milliseconds; }
    std::int64_t RateLimit() const { return m_rateLimitMs; }

    // Follows another receiver ("R40 at 192.168.0.50"); its first status
    // sets the lock state without an alarm. An empty name follows none.
    void Follow(const std::string& receiverName);
    const std::string& Following() const { return m_name; }

    // One polled lock state.
    AlarmOutcome OnStatus(bool locked, std::int64_t nowMs);
    // The receiver was removed from the device list; it is then followed
    // no longer.
    AlarmOutcome OnRemoved();
    // The summary of held changes, once their period is over.
    std::optional<Alarm> OnSummaryDue(std::int64_t nowMs);

    // When the summary of held changes is due (none when nothing is held).
    std::optional<std::int64_t> SummaryDueAt() const;
    int HeldChanges() const { return m_held; }

  private:
    bool BalloonAllowed(std::int64_t nowMs) const;

    std::string m_name;
    std::int64_t m_rateLimitMs = RATE_LIMIT_MS;
    std::optional<bool> m_locked;  // none before the first status
    std::int64_t m_lostAtMs = 0;
    bool m_lossSeen = false;  // the loss was seen, not found at the first status
    std::optional<std::int64_t> m_lastBalloonMs;
    int m_held = 0;
    // The last balloon told of a loss (or a summary ending without lock).
    bool m_lossShown = false;
};

// "13 s", "2 min 13 s", "1 h 5 min 0 s": whole seconds, at least 1.
std::string OutageText(std::int64_t milliseconds);

}  // namespace console
