// r40ctl finding a receiver by its address, and the command line around
// it: where --json may stand, --timeout, the watch as a health check, the
// parser's errors in r40ctl's words, and r40-discover as discover's alias.
#include <algorithm>
#include <sstream>

#include "tests/tools/r40ctl_fixture.h"

namespace tools_test {
namespace {

using CommandLine = R40ctlTest;

TEST_F(CommandLine, AnAddressIsFoundByItsOwnStatusOnThePortAsked) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::T22CA, 20);
    rx.SetStatusPort(8309);
    ASSERT_TRUE(rx.WaitForNewStatuses(2, 2s));
    const std::string address = ReceiverAddress(20);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string message;  // in the failure's message
    };
    std::vector<Case> cases{
        {{"status", address, "--json"}, 0, ""},
        {{"--json", "status", address}, 0, ""},
        {{"--json", "status", address, "--port", "8309", "--timeout", "2"}, 0, ""},
        {{"status", address, "--port", "6516", "--timeout", "0.5", "--json"},
         EXIT_NOT_FOUND,
         "no receiver " + address +
             " answered on status port 6516 (no status from it within 0.5 s)"},
    };
#ifndef _WIN32
    // Under Wine every receiver stands at 127.0.0.1.
    cases.push_back({{"--json", "tune", "127.0.0.21", "--frequency", "1100", "--symbol-rate", "20",
                      "--timeout", "0.3"},
                     EXIT_NOT_FOUND,
                     "no receiver 127.0.0.21 answered (no status from it within 0.3 s)"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const RunResult run = Run(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << Shown(run);
        const Json document = Document(run);
        EXPECT_EQ(document.value("ok", true), c.exitCode == 0) << run.out;
        if (c.exitCode == 0) {
            EXPECT_EQ(document["receiver"]["status_port"], 8309) << run.out;
            EXPECT_EQ(document["receiver"]["mac"], "02-5C-C1-00-00-14") << run.out;
            EXPECT_EQ(document["receiver"]["model"], "T22CA") << run.out;
            EXPECT_EQ(document["status"]["status_port"], 8309) << run.out;
            EXPECT_FALSE(document["status"]["pids"].empty()) << run.out;
        } else {
            EXPECT_EQ(document["error"]["exit_code"], c.exitCode) << run.out;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
            ExpectOneMessage(run);
        }
    }
    EXPECT_TRUE(rx.CommandsOnPort(sim::TUNE_PORT).empty());
}

TEST_F(CommandLine, AWatchWhoseEveryLineFailedExitsOne) {
    // The R40V's status lines need its PID table too: a receiver that
    // answers table reads wrongly misses every line while it sends status.
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40V, 20);
    const std::string address = ReceiverAddress(20);
    struct Case {
        bool tableFault;
        int exitCode;
        bool linesOk;
    };
    for (const Case& c : {Case{false, 0, true}, Case{true, EXIT_REFUSED, false}}) {
        SCOPED_TRACE(c.tableFault ? "table replies cut short" : "healthy");
        rx.SetFault(sim::Fault::ShortTableReply, c.tableFault);
        const RunResult run =
            Run({"status", address, "--watch", "--count", "2", "--interval", "0.1", "--json"});
        EXPECT_EQ(run.exitCode, c.exitCode) << Shown(run);
        std::istringstream lines(run.out);
        int count = 0;
        for (std::string line; std::getline(lines, line); ++count)
            EXPECT_EQ(Json::parse(line).value("ok", !c.linesOk), c.linesOk) << line;
        EXPECT_EQ(count, 2) << run.out;
    }
}

TEST_F(CommandLine, AWatchFasterThanTheReceiverSaysItFollowsTheReceiver) {
    StartReceiver(sim::Model::R40, 20, 400ms);
    const RunResult slow =
        Run({"status", ReceiverAddress(20), "--watch", "--count", "3", "--interval", "0.1"});
    EXPECT_EQ(slow.exitCode, 0) << Shown(slow);
    EXPECT_EQ(std::count(slow.out.begin(), slow.out.end(), '\n'), 3) << slow.out;
    EXPECT_NE(slow.err.find("one line per status, not every 0.1 s"), std::string::npos) << slow.err;
    ExpectOneMessage(slow);
    // Asked less often than it sends: nothing to say.
    const RunResult calm =
        Run({"status", ReceiverAddress(20), "--watch", "--count", "2", "--interval", "1.2"});
    EXPECT_EQ(calm.exitCode, 0) << Shown(calm);
    EXPECT_EQ(calm.err, "");
}

TEST_F(CommandLine, ParserErrorsNameTheArgumentInTheToolsWords) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"frobnicate", "127.0.0.20"},
         "unknown command \"frobnicate\" (commands: discover, status, tune, pids, network, reset, "
         "apply, save"},
        {{"--json", "stauts", "127.0.0.20"}, "unknown command \"stauts\""},
        {{}, "missing command (see r40ctl --help)"},
        {{"status"}, "missing RECEIVER (see r40ctl status --help)"},
        {{"status", "127.0.0.20", "--bogus"}, "unknown option --bogus (see r40ctl status --help)"},
        {{"status", "127.0.0.20", "--watch", "--interval", "0.01"},
         "--interval: 0.01 is outside 0.1 to 86400"},
        {{"status", "127.0.0.20", "--timeout", "0"}, "--timeout: 0 is outside 0.1 to 3600"},
        {{"status", "127.0.0.20", "--timeout", "inf"}, "--timeout: inf is not a finite number"},
        {{"tune", "127.0.0.20", "--frequency", "abc"}, "--frequency: \"abc\" is not a number"},
        {{"pids", "127.0.0.20", "--port"}, "--port needs a value (see r40ctl pids --help)"},
        {{"discover", "extra"}, "unexpected argument: extra (see r40ctl discover --help)"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(message);
        const RunResult run = Run(args);
        EXPECT_EQ(run.exitCode, EXIT_USAGE) << Shown(run);
        EXPECT_EQ(run.out, "");
        ExpectOneMessage(run);
        EXPECT_NE(run.err.find("r40ctl: " + message), std::string::npos) << run.err;
    }
}

TEST_F(CommandLine, R40DiscoverIsDiscoverUnderItsOwnName) {
    RunOptions alias;
    alias.program = "r40-discover";
    const std::vector<std::pair<std::vector<std::string>, RunOptions>> programs{
        {{"discover"}, RunOptions{}}, {{}, alias}};
#ifndef _WIN32
    // Nobody there (Wine's loopback is shared with other tests): both say so
    // and end with 3.
    for (const auto& [args, options] : programs) {
        const RunResult none = Run(args, options);
        EXPECT_EQ(none.exitCode, EXIT_NOT_FOUND) << Shown(none);
        EXPECT_NE(none.err.find("no receiver answered"), std::string::npos) << none.err;
        EXPECT_EQ(none.out, "");
    }
#endif
    StartReceiver(sim::Model::R40, 20);
#ifndef _WIN32
    StartReceiver(sim::Model::T22V3, 21);
#endif
    // The same rows, whatever order each pass heard them in.
    auto rows = [](const std::string& out) {
        std::vector<std::string> all;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) all.push_back(line);
        std::sort(all.begin(), all.end());
        return all;
    };
    std::vector<std::vector<std::string>> shown;
    for (const auto& [args, options] : programs) {
        const RunResult run = Run(args, options);
        EXPECT_EQ(run.exitCode, 0) << Shown(run);
        EXPECT_NE(run.out.find(ReceiverAddress(20) + "  02-5C-C1-00-00-14  R40"), std::string::npos)
            << run.out;
        shown.push_back(rows(run.out));
    }
    EXPECT_EQ(shown.front(), shown.back());
    const RunResult refused = Run({"--frobnicate"}, alias);
    EXPECT_EQ(refused.exitCode, EXIT_USAGE) << Shown(refused);
    EXPECT_NE(refused.err.find("usage: r40-discover"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace tools_test
