// r40ctl status: the decoded status once, or one line per interval.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/receiver_status.h"
#include "tools/r40ctl/stop_signal.h"

namespace r40ctl {

namespace {

double EpochSeconds() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<double>(ms) / 1000.0;
}

std::string UtcTime(double epochSeconds) {
    const std::time_t seconds = static_cast<std::time_t>(epochSeconds);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

Json StatusDocument(const DeviceInfo& entry, double time, const ReceiverStatus& status) {
    Json document = SuccessJson(entry);
    document["time"] = Rounded(time, 3);
    document["status"] = StatusJson(status);
    return document;
}

Json MissedDocument(const DeviceInfo& entry, double time, std::int32_t result) {
    return Json{{"ok", false},
                {"receiver", ReceiverJson(entry)},
                {"time", Rounded(time, 3)},
                {"error",
                 {{"exit_code", EXIT_REFUSED},
                  {"message", "the receiver's status could not be read"},
                  {"result", result},
                  {"result_text", DeviceResultText(result)}}}};
}

// One watch line: time, lock, data, tuning, signal and the PID count.
std::string WatchLine(double time, const ReceiverStatus& s) {
    std::string line = UtcTime(time);
    line += s.locked ? "  lock yes" : "  lock no ";
    line += s.dataActivity > 0 ? "  data yes" : "  data no ";
    char part[96];
    if (s.channel) {
        std::snprintf(part, sizeof part, "  channel %2u", *s.channel);
        line += part;
    }
    if (s.satellite) {
        std::snprintf(part, sizeof part, "  %7.1f MHz  %6.3f Msym/s", s.satellite->frequencyMhz,
                      s.satellite->symbolRateMsps);
        line += part;
    }
    if (s.snrDb) {
        std::snprintf(part, sizeof part, "  snr %6.2f dB", *s.snrDb);
        line += part;
    }
    if (s.carrierOffsetHz) {
        std::snprintf(part, sizeof part, "  offset %8.1f Hz", *s.carrierOffsetHz);
        line += part;
    }
    if (s.signalPercent) {
        std::snprintf(part, sizeof part, "  signal %3u %%", *s.signalPercent);
        line += part;
    }
    line += "  pids " + std::to_string(s.pids.size());
    return line;
}

// The receiver's rhythm bounds the watch: every line is a status the
// receiver sent since the line before, so lines asked for more often than
// it sends come as often as it sends, and that is said once.
class RhythmNotice {
  public:
    explicit RhythmNotice(double interval) : m_interval(interval) {}

    // A status read that ended at `at` and waited `waited` seconds for the
    // receiver. A wait longer than the interval is the receiver's rhythm
    // (the interval's own sleep is not in it).
    void Read(double at, double waited) {
        if (m_previous > 0 && !m_said) {
            const double gap = at - m_previous;
            if (waited > m_interval * 1.25 + 0.05 && gap > m_interval * 1.25 + 0.05) {
                char text[160];
                std::snprintf(text, sizeof text,
                              "the receiver sends its status every %.1f s: one line per status, "
                              "not every %g s",
                              gap, m_interval);
                Message(text);
                m_said = true;
            }
        }
        m_previous = at;
    }
    void Missed() { m_previous = 0; }

  private:
    double m_interval;
    double m_previous = 0;
    bool m_said = false;
};

void PrintWatchLine(const Context& context, const DeviceInfo& entry, double time,
                    const std::optional<ReceiverStatus>& status, std::int32_t result) {
    if (context.json) {
        PrintJson(status ? StatusDocument(entry, time, *status)
                         : MissedDocument(entry, time, result));
    } else if (status) {
        std::printf("%s\n", WatchLine(time, *status).c_str());
        std::fflush(stdout);
    } else {
        std::printf("%s  no status: %s\n", UtcTime(time).c_str(), DescribeResult(result).c_str());
        std::fflush(stdout);
    }
}

// 0 when at least one line showed a status, EXIT_REFUSED when every line
// was a miss (so that `--watch --count 1` is a health check).
int Watch(Context& context, const FoundReceiver& found, const OpenReceiver& receiver,
          const StatusOptions& options) {
    const std::uint16_t type = receiver.entry.deviceType;
    RhythmNotice rhythm(options.interval);
    long lines = 0, shown = 0;
    // The first line is the status the receiver was found by, when it has one.
    bool first = true;
    while (!StopRequested()) {
        const auto started = std::chrono::steady_clock::now();
        std::int32_t result = 0;
        const auto status = first ? CurrentStatus(found, receiver, &result)
                                  : ReadStatus(receiver.get(), type, &result);
        first = false;
        const double waited =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (StopRequested()) break;
        const double time = EpochSeconds();
        PrintWatchLine(context, receiver.entry, time, status, result);
        ++lines;
        if (status) {
            ++shown;
            rhythm.Read(time, waited);
        } else {
            rhythm.Missed();
        }
        if (options.count > 0 && lines >= options.count) break;
        const double spent =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        // The read drains what came during the sleep and waits for the next
        // status: waking a little early keeps a receiver that sends once per
        // interval from being read every second interval.
        const double early = std::min(0.25, options.interval / 4);
        if (spent < options.interval - early) SleepUnlessStopped(options.interval - early - spent);
    }
    return lines > 0 && shown == 0 ? EXIT_REFUSED : 0;
}

}  // namespace

int RunStatus(Context& context, const StatusOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    if (!options.watch && options.count != 0)
        throw Failure(EXIT_USAGE, "--count goes with --watch");
    const FoundReceiver found = Find(context, query);
    const OpenReceiver receiver = Open(context, found);
    if (options.watch) return Watch(context, found, receiver, options);

    std::int32_t result = 0;
    const auto status = CurrentStatus(found, receiver, &result);
    if (!status) throw Refused("no status from the receiver", result);
    if (context.json) {
        PrintJson(StatusDocument(receiver.entry, EpochSeconds(), *status));
    } else {
        Fields fields{{"receiver", DescribeReceiver(receiver.entry)}};
        const Fields more = StatusFields(*status);
        fields.insert(fields.end(), more.begin(), more.end());
        PrintFields(fields);
        PrintRows(PidRows(status->pids), 2);
    }
    return 0;
}

}  // namespace r40ctl
