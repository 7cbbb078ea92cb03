// r40ctl status: the decoded status once, or one line per interval.
#include <chrono>
#include <cstdio>
#include <ctime>

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

int Watch(Context& context, const OpenReceiver& receiver, const StatusOptions& options) {
    const std::uint16_t type = receiver.entry.deviceType;
    for (long lines = 0; !StopRequested();) {
        const auto started = std::chrono::steady_clock::now();
        std::int32_t result = 0;
        const auto status = ReadStatus(receiver.get(), type, &result);
        if (StopRequested()) break;
        const double time = EpochSeconds();
        if (context.json) {
            PrintJson(status ? StatusDocument(receiver.entry, time, *status)
                             : MissedDocument(receiver.entry, time, result));
        } else if (status) {
            std::printf("%s\n", WatchLine(time, *status).c_str());
            std::fflush(stdout);
        } else {
            std::printf("%s  no status: %s\n", UtcTime(time).c_str(),
                        DescribeResult(result).c_str());
            std::fflush(stdout);
        }
        if (options.count > 0 && ++lines >= options.count) break;
        const double spent =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (spent < options.interval) SleepUnlessStopped(options.interval - spent);
    }
    return 0;
}

}  // namespace

int RunStatus(Context& context, const StatusOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    if (!options.watch && options.count != 0)
        throw Failure(EXIT_USAGE, "--count goes with --watch");
    const OpenReceiver receiver = FindAndOpen(context, query);
    if (options.watch) return Watch(context, receiver, options);

    std::int32_t result = 0;
    const auto status = ReadStatus(receiver.get(), receiver.entry.deviceType, &result);
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
