// What r40ctl writes: data to stdout (aligned text, or one JSON document
// per line with --json), messages to stderr, one line each.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devicelib/devicelib.h"

namespace r40ctl {

// Keys stay in the order they were set, so documents read the same each run.
using Json = nlohmann::ordered_json;

// {"address", "mac", "model", "type", "status_port"}
Json ReceiverJson(const DeviceInfo& entry);

// What a discovery pass left out, in datagrams:
// {"source_limit", "list_full", "displaced"}
Json RefusedJson(const DiscoveryCounts& counts);

// A number rounded to `decimals` places; null when not finite (an SNR of
// +infinity has no JSON form).
Json Rounded(double value, int decimals);

// The document on one line, flushed at once (watchers read line by line).
void PrintJson(const Json& document);

// "key   value" lines, values aligned in one column.
using Fields = std::vector<std::pair<std::string, std::string>>;
void PrintFields(const Fields& fields);

// Rows of columns, each column as wide as its widest cell, each row
// indented by `indent` spaces.
void PrintRows(const std::vector<std::vector<std::string>>& rows, int indent = 0);

// "r40ctl: <text>" on stderr.
void Message(const std::string& text);
// The name messages begin with, for a program that runs r40ctl's commands
// under its own name (r40-discover); a static string.
void SetProgramName(const char* name);

}  // namespace r40ctl
