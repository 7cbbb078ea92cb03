// The scrape: a table snapshot in the Prometheus text exposition format
// (version 0.0.4). One series per receiver, labelled by its MAC address;
// address, model and status port only on r40_receiver_info. While a
// receiver is down its readings are left out (a stale lock is no lock);
// info, up, counters and the time of its last status stay.
#pragma once

#include <string>

#include "tools/r40ctl/exporter/receiver_table.h"

namespace r40ctl::exporter {

inline constexpr const char* METRICS_CONTENT_TYPE = "text/plain; version=0.0.4; charset=utf-8";

// `statusPortsListening`: the status ports at least one socket hears on.
std::string MetricsText(const TableSnapshot& snapshot, int statusPortsListening);

// A sample value as the format writes it: integers without a point, floats
// in their shortest exact form, +Inf, -Inf and NaN.
std::string SampleValue(double value);

// A label value between its quotes: backslash, quote and line feed escaped.
std::string EscapeLabelValue(const std::string& value);

}  // namespace r40ctl::exporter
