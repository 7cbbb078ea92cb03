#include "tools/r40ctl/exporter/expected_receivers.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace r40ctl::exporter {
namespace {

constexpr std::uint8_t MAKER[3] = {0x02, 0x5C, 0xC1};

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

bool AddExpected(std::string_view text, std::vector<Mac>& macs, std::string* why) {
    const std::optional<Mac> mac = ParseMac(text);
    if (!mac) {
        *why = "not a MAC address: " + std::string(text);
        return false;
    }
    if (!std::equal(std::begin(MAKER), std::end(MAKER), mac->begin())) {
        *why = FormatMac(mac->data()) + " is no receiver's MAC address (they begin 02-5C-C1)";
        return false;
    }
    if (std::find(macs.begin(), macs.end(), *mac) == macs.end()) macs.push_back(*mac);
    return true;
}

bool AddExpectedLines(std::string_view text, std::vector<Mac>& macs, std::string* why) {
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        line = Trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        std::string reason;
        if (!AddExpected(line, macs, &reason)) {
            *why = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    return true;
}

bool AddExpectedFile(const std::string& path, std::vector<Mac>& macs, std::string* why) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *why = path + ": " + std::strerror(errno);
        return false;
    }
    std::string text(MOST_EXPECT_FILE_BYTES + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad()) {
        *why = path + ": cannot be read";
        return false;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    if (text.size() > MOST_EXPECT_FILE_BYTES) {
        *why = path + ": longer than " + std::to_string(MOST_EXPECT_FILE_BYTES) + " bytes";
        return false;
    }
    std::string reason;
    if (!AddExpectedLines(text, macs, &reason)) {
        *why = path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace r40ctl::exporter
