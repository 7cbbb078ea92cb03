#include "tools/r40ctl/exporter/hearing_options.h"

namespace r40ctl::exporter {

void AddHearingOptions(CLI::App& command, HearingOptions& options, const std::string& forgetHelp) {
    command.add_option("--port", options.ports, "hear only these status ports (default all ten)")
        ->type_name("PORT");
    command.add_flag("--unicast", options.unicast,
                     "also take status sent to this host's own address (only where no console "
                     "runs)");
    command
        .add_option("--max-receivers", options.maxReceivers,
                    "most receivers tracked; datagrams of more are counted and dropped (default "
                    "256)")
        ->type_name("N")
        ->check(CLI::Range(1L, 4096L));
    command.add_option("--forget-after", options.forgetAfter, forgetHelp)->type_name("DURATION");
    command
        .add_option("--expect", options.expect,
                    "MAC addresses of receivers that must be heard: each is reported down until "
                    "it is, and never forgotten")
        ->type_name("MAC");
    command
        .add_option("--expect-file", options.expectFile,
                    "file of such MAC addresses, one a line ('#' begins a comment)")
        ->type_name("FILE");
}

}  // namespace r40ctl::exporter
