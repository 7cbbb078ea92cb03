// The command-line options of passive hearing, shared by `r40ctl exporter`
// and `r40-snmp-agent` so that both take the same words with the same
// meaning.
#pragma once

#include <CLI/CLI.hpp>

#include "tools/r40ctl/commands.h"

namespace r40ctl::exporter {

// --port, --unicast, --max-receivers, --forget-after, --expect and
// --expect-file. `forgetHelp` says what forgetting removes for this program.
void AddHearingOptions(CLI::App& command, HearingOptions& options, const std::string& forgetHelp);

}  // namespace r40ctl::exporter
