// The signal history as CSV: a header line "time,lock,data,snr_db,
// signal_percent", then one line per sample, oldest first. Time is UTC in
// ISO 8601 with milliseconds ("2026-12-09T14:33:40.123Z"); lock and data
// are 0 or 1; a value the model does not give is left empty. Numbers never
// follow the desktop's locale, so a comma is always a separator.
#pragma once

#include <string>
#include <vector>

#include "console/signal_history.h"

namespace console {

std::string HistoryCsv(const std::vector<SignalSample>& samples);

// Writes the CSV to `path`, replacing the file whole or not at all. Blocks
// on the disk: call it from a worker.
bool SaveHistoryCsv(const std::string& path, const std::vector<SignalSample>& samples);

}  // namespace console
