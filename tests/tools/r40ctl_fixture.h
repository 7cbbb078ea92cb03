// r40ctl against emulated receivers in the test process's own network
// namespace (the child inherits it). Receivers stand for ones at 127.0.0.20
// and up, their MAC addresses 02-5C-C1-00-00-14 and up. Under Wine they all
// stand at 127.0.0.1 and r40ctl reaches only the first one a test starts
// (tests/support/wine_loopback.h); tests name them by ReceiverAddress.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "sim/emulated_receiver.h"
#include "tests/tools/r40ctl_runner.h"

namespace tools_test {

using namespace std::chrono_literals;
using Json = nlohmann::json;

inline constexpr int EXIT_REFUSED = 1;
inline constexpr int EXIT_USAGE = 2;
inline constexpr int EXIT_NOT_FOUND = 3;
inline constexpr int EXIT_FILE = 4;

const char* ModelName(sim::Model model);  // as r40ctl names it
int TypeCode(sim::Model model);
bool Forwards(sim::Model model);  // R40V, T22CA, Trevan
bool IsAtsc(sim::Model model);

// The PIDs every emulated receiver starts with: PAT, PMT, video, audio; the
// forwarding models send the video PID 0x31 to 239.1.1.1:1234 (control 5).
std::vector<sim::PidEntry> StartPids(sim::Model model);

class R40ctlTest : public ::testing::Test {
  protected:
    void TearDown() override;

    // A started receiver of `model` standing for one at 127.0.0.`lastOctet`,
    // with StartPids.
    sim::EmulatedReceiver& StartReceiver(sim::Model model, int lastOctet = 20,
                                         std::chrono::milliseconds interval = 50ms);

    // Where the receiver that stands for 127.0.0.`lastOctet` really is, and
    // so what r40ctl is given and reports: that address, or under Wine
    // 127.0.0.1.
    static sim::Ipv4 ReceiverIp(int lastOctet);
    static std::string ReceiverAddress(int lastOctet);

    // Runs r40ctl; the result must not have timed out.
    RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {});

    // The one JSON document of a run (fails the test when there is not
    // exactly one line of valid JSON).
    static Json Document(const RunResult& result);
    // Stderr is one line beginning "r40ctl: ".
    static void ExpectOneMessage(const RunResult& result);

    // A directory of this test's own, removed at the end.
    std::string TempDir();

    std::vector<std::unique_ptr<sim::EmulatedReceiver>> m_receivers;
    std::string m_tempDir;
};

// What a run printed, for failure messages.
std::string Shown(const RunResult& result);

}  // namespace tools_test
