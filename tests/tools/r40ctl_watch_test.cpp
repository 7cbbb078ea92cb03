// status --watch --json: one parseable document per line, through a receiver
// that falls silent and comes back, until SIGINT or SIGTERM ends it cleanly.
#include <algorithm>
#include <csignal>
#include <sstream>

#include "tests/tools/r40ctl_fixture.h"

namespace tools_test {
namespace {

Json ParseLine(const std::optional<std::string>& line) {
    if (!line) {
        ADD_FAILURE() << "no watch line in time";
        return Json();
    }
    try {
        return Json::parse(*line);
    } catch (const Json::exception& e) {
        ADD_FAILURE() << "not JSON (" << e.what() << "): " << *line;
        return Json();
    }
}

class Watch : public R40ctlTest {
  protected:
    void StopsCleanlyOn(int signal);
};

void Watch::StopsCleanlyOn(int signal) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40);
    RunningR40ctl watch({"status", ReceiverAddress(20), "--watch", "--interval", "0.2", "--json"});
    for (int i = 0; i < 3; ++i) {
        const Json line = ParseLine(watch.ReadLine(10s));
        EXPECT_EQ(line["ok"], true) << line;
        EXPECT_EQ(line["status"]["channel"], 30);
    }
    // Silence: the watch reports the missing status and goes on.
    rx.SetFault(sim::Fault::Silence, true);
    Json missed;
    for (int i = 0; i < 5 && missed.is_null(); ++i) {
        const Json line = ParseLine(watch.ReadLine(10s));
        if (line["ok"] == false) missed = line;
    }
    ASSERT_FALSE(missed.is_null()) << "no line told of the missing status";
    EXPECT_EQ(missed["error"]["result"], -1);
    EXPECT_EQ(missed["receiver"]["address"], ReceiverAddress(20));
    rx.SetFault(sim::Fault::Silence, false);
    rx.SetChannel(31);
    Json back;
    for (int i = 0; i < 10 && back.is_null(); ++i) {
        const Json line = ParseLine(watch.ReadLine(10s));
        if (line["ok"] == true && line["status"]["channel"] == 31) back = line;
    }
    EXPECT_FALSE(back.is_null()) << "the watch did not pick the receiver up again";

    watch.Signal(signal);
    const RunResult end = watch.Wait(5s);
    EXPECT_FALSE(end.timedOut) << "the watch did not stop on signal " << signal;
    EXPECT_EQ(end.signal, 0);
    EXPECT_EQ(end.exitCode, 0) << Shown(end);
    // Whatever came after the last line read is whole lines of JSON too.
    std::istringstream rest(end.out);
    std::string line;
    while (std::getline(rest, line)) EXPECT_NO_THROW(Json::parse(line)) << line;
    EXPECT_TRUE(end.out.empty() || end.out.back() == '\n') << "a line was cut short";
}

TEST_F(Watch, StopsCleanlyOnSigint) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows sends a Ctrl+C to a whole console, not to one process group";
#endif
    StopsCleanlyOn(SIGINT);
}

TEST_F(Watch, StopsCleanlyOnSigterm) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine refuses console control events from a program run without a "
                    "terminal (GenerateConsoleCtrlEvent fails): no Ctrl+Break reaches r40ctl";
#endif
    StopsCleanlyOn(SIGTERM);
}

TEST_F(Watch, CountEndsTheWatchAsText) {
    StartReceiver(sim::Model::T22V3);
    const RunResult run =
        Run({"status", ReceiverAddress(20), "--watch", "--interval", "0.1", "--count", "3"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
    EXPECT_NE(run.out.find("1234.5 MHz"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tools_test
