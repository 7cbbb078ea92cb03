// The exporter's front page: the receivers heard, and the way to /metrics.
#pragma once

#include <string>

#include "tools/r40ctl/exporter/receiver_table.h"

namespace r40ctl::exporter {

inline constexpr const char* INDEX_CONTENT_TYPE = "text/html; charset=utf-8";

std::string IndexPage(const TableSnapshot& snapshot);

// Text safe between HTML tags and inside attribute quotes.
std::string EscapeHtml(const std::string& text);

}  // namespace r40ctl::exporter
