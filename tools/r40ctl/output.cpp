#include "tools/r40ctl/output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/r40ctl/text_values.h"

namespace r40ctl {

// Fields of the packed records are copied out (static_cast) before they
// reach a template that binds references: they may lie unaligned.
Json ReceiverJson(const DeviceInfo& entry) {
    return Json{{"address", FormatIpv4(entry.address)},
                {"mac", FormatMac(entry.mac)},
                {"model", DeviceTypeName(entry.deviceType)},
                {"type", static_cast<unsigned>(entry.deviceType)},
                {"status_port", static_cast<unsigned>(entry.statusPort)}};
}

Json RefusedJson(const DiscoveryCounts& counts) {
    return Json{{"source_limit", counts.sourceLimit},
                {"list_full", counts.listFull},
                {"displaced", counts.displaced}};
}

Json Rounded(double value, int decimals) {
    if (!std::isfinite(value)) return nullptr;
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

void PrintJson(const Json& document) {
    const std::string text = document.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PrintFields(const Fields& fields) {
    std::size_t width = 0;
    for (const auto& [key, value] : fields) width = std::max(width, key.size());
    for (const auto& [key, value] : fields)
        std::printf("%-*s  %s\n", static_cast<int>(width), key.c_str(), value.c_str());
    std::fflush(stdout);
}

void PrintRows(const std::vector<std::vector<std::string>>& rows, int indent) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    for (const auto& row : rows) {
        std::string line(static_cast<std::size_t>(indent), ' ');
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        std::printf("%s\n", line.c_str());
    }
    std::fflush(stdout);
}

namespace {
const char* programName = "r40ctl";
}  // namespace

void SetProgramName(const char* name) {
    programName = name;
}

void Message(const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", programName, text.c_str());
    std::fflush(stderr);
}

}  // namespace r40ctl
