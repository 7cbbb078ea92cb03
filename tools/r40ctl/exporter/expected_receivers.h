// The receivers an operator expects the exporter to hear, by MAC address:
// from --expect and from a file of one address a line. They are reported
// down until heard and never forgotten, so a receiver that died before the
// exporter started, or long ago, still raises its alert.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/r40ctl/text_values.h"

namespace r40ctl::exporter {

// The most bytes an expect file may hold: thousands of receivers' lines.
inline constexpr std::size_t MOST_EXPECT_FILE_BYTES = 1024 * 1024;

// Adds the MAC address in `text` to `macs` unless it is there already.
// False with the reason in `why` when it is no MAC address or not one of
// the maker's receivers (their addresses begin 02-5C-C1; no other device's
// status is ever accepted, so another would be down for ever).
bool AddExpected(std::string_view text, std::vector<Mac>& macs, std::string* why);

// The addresses of an expect file's text: one a line; blank lines and
// everything from '#' to the end of a line ignored. False with the line
// number and the reason in `why`.
bool AddExpectedLines(std::string_view text, std::vector<Mac>& macs, std::string* why);

// Reads `path` (at most MOST_EXPECT_FILE_BYTES) into `macs`.
bool AddExpectedFile(const std::string& path, std::vector<Mac>& macs, std::string* why);

}  // namespace r40ctl::exporter
