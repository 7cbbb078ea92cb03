#include "console/history_csv.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "platform/file/atomic_file.h"

namespace console {

namespace {

void AppendTime(std::string& out, std::int64_t wallMs) {
    std::int64_t seconds = wallMs / 1000;
    std::int64_t millis = wallMs % 1000;
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char text[64];
    if (gmtime_r(&time, &utc) == nullptr) {
        out += "invalid";
        return;
    }
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(millis));
    out += text;
}

}  // namespace

std::string HistoryCsv(const std::vector<SignalSample>& samples) {
    std::string out = "time,lock,data,snr_db,signal_percent\n";
    out.reserve(out.size() + samples.size() * 44);
    for (const SignalSample& sample : samples) {
        AppendTime(out, sample.wallMs);
        out += sample.locked != 0 ? ",1" : ",0";
        out += sample.data != 0 ? ",1," : ",0,";
        if (sample.HasSnr()) {
            char number[32];
            const auto written =
                std::to_chars(number, number + sizeof number, static_cast<double>(sample.snrDb),
                              std::chars_format::fixed, 2);
            out.append(number, written.ptr);
        }
        out += ',';
        if (sample.HasSignalPercent()) out += std::to_string(sample.signalPercent);
        out += '\n';
    }
    return out;
}

bool SaveHistoryCsv(const std::string& path, const std::vector<SignalSample>& samples) {
    return platform::file::ReplaceFile(path, HistoryCsv(samples));
}

}  // namespace console
