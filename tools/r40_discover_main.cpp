// r40-discover: `r40ctl discover` under a name of its own, for those who
// know the program by it: the same passes, columns, JSON and exit codes
// (0 when a receiver answered, 3 when none did, 2 for a usage error).
#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/commands.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/parse_arguments.h"
#include "tools/r40ctl/stop_signal.h"

#ifndef R40CTL_VERSION
#define R40CTL_VERSION "0"
#endif

int main(int argc, char** argv) {
    using namespace r40ctl;
    SetProgramName("r40-discover");
    CLI::App app{
        "Lists the R40 and T22 receivers on the network: address, MAC address, model and "
        "status port, one per line (as r40ctl discover).",
        "r40-discover"};
    app.set_version_flag("--version", std::string("r40-discover ") + R40CTL_VERSION);
    Context context;
    std::string port;
    app.add_flag("--json", context.json, "one JSON document on stdout (keys in r40ctl(1))");
    app.add_option("--port", port, "list only receivers heard on this status port")
        ->type_name("PORT");
    app.add_option_function<double>(
           "--timeout", [&](double seconds) { context.timeout = seconds; },
           "listen this many seconds, pass after pass (default: one pass, about 2)")
        ->type_name("SECONDS")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                double value = 0;
                if (!CLI::detail::lexical_cast(text, value) || !std::isfinite(value) ||
                    value < 0.1 || value > 3600)
                    return text + " is not 0.1 to 3600";
                return {};
            },
            "SECONDS"));
    app.footer("Exit codes: 0 a receiver answered, 2 usage error, 3 none answered.");
    if (const auto ended = ParseArguments(
            app, argc, argv, "usage: r40-discover [--json] [--port PORT] [--timeout SECONDS]"))
        return *ended;
    InstallStopHandlers();
    try {
        if (!port.empty()) context.port = RequireStatusPort(port, "--port");
        return RunDiscover(context);
    } catch (const Failure& failure) {
        Message(failure.what());
        return failure.ExitCode();
    }
}
