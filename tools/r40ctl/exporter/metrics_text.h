// The scrape: a table snapshot in the Prometheus text exposition format
// (version 0.0.4). One series per receiver, labelled by its MAC address;
// address, model and status port only on r40_receiver_info (an expected
// receiver never heard has none of them). While a receiver is down its
// readings are left out (a stale lock is no lock); info, up, counters and
// the time of its last status stay. Then the exporter's own figures and
// the process_* metrics every Prometheus client library exports.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/r40ctl/exporter/process_figures.h"
#include "tools/r40ctl/exporter/receiver_table.h"

namespace r40ctl::exporter {

inline constexpr const char* METRICS_CONTENT_TYPE = "text/plain; version=0.0.4; charset=utf-8";

struct ExporterFacts {
    int statusPortsListening = 0;  // status ports at least one socket hears on
    std::string version;           // r40_exporter_build_info; none when empty
    std::optional<ProcessFigures> process;
};

std::string MetricsText(const TableSnapshot& snapshot, const ExporterFacts& facts);
// The receivers and the exporter's table alone.
inline std::string MetricsText(const TableSnapshot& snapshot, int statusPortsListening) {
    ExporterFacts facts;
    facts.statusPortsListening = statusPortsListening;
    return MetricsText(snapshot, facts);
}

// A sample value as the format writes it: integers without a point, floats
// in their shortest exact form, +Inf, -Inf and NaN.
std::string SampleValue(double value);

// A label value between its quotes: backslash, quote and line feed escaped.
std::string EscapeLabelValue(const std::string& value);
// HELP text: backslash and line feed escaped (a quote stays as it is).
std::string EscapeHelp(std::string_view help);

}  // namespace r40ctl::exporter
