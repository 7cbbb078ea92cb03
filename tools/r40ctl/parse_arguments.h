// Parsing a program's command line the same way in every tool: --help and
// --version answered, an argument error said in UsageText's words and
// followed by the program's usage line, exit code EXIT_USAGE.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdio>
#include <optional>
#include <string>

#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/usage_text.h"

namespace r40ctl {

// Nothing when the program goes on, else the exit code it ends with.
inline std::optional<int> ParseArguments(CLI::App& app, int argc, char** argv,
                                         const std::string& usageLine) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        Message(UsageText(e.what()));
        std::fputs((usageLine + "\n").c_str(), stderr);
        return EXIT_USAGE;
    }
    return std::nullopt;
}

}  // namespace r40ctl
