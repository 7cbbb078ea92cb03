#include "tests/tools/r40ctl_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

#include "sim/address_text.h"
#include "tests/support/wine_loopback.h"

namespace tools_test {

const char* ModelName(sim::Model model) {
    switch (model) {
        case sim::Model::R40:
            return "R40";
        case sim::Model::R40V:
            return "R40V";
        case sim::Model::T22V3:
            return "T22 (3.x)";
        case sim::Model::T22V2:
            return "T22 (2.x)";
        case sim::Model::T22CA:
            return "T22CA";
        case sim::Model::Trevan:
            return "Trevan";
    }
    return "?";
}

int TypeCode(sim::Model model) {
    switch (model) {
        case sim::Model::R40:
            return 5;
        case sim::Model::R40V:
            return 8;
        case sim::Model::T22V3:
            return 4;
        case sim::Model::T22V2:
            return 3;
        case sim::Model::T22CA:
            return 7;
        case sim::Model::Trevan:
            return 6;
    }
    return 1;
}

bool Forwards(sim::Model model) {
    return model == sim::Model::R40V || model == sim::Model::T22CA || model == sim::Model::Trevan;
}

bool IsAtsc(sim::Model model) {
    return sim::TraitsOf(model).family == sim::Family::Atsc;
}

std::vector<sim::PidEntry> StartPids(sim::Model model) {
    std::vector<sim::PidEntry> pids{sim::PidEntry::Make(0x0000, 1), sim::PidEntry::Make(0x0030, 1),
                                    sim::PidEntry::Make(0x0031, 1), sim::PidEntry::Make(0x0034, 1)};
    if (Forwards(model)) pids[2] = sim::PidEntry::Make(0x0031, 5, {239, 1, 1, 1}, 1234);
    return pids;
}

void R40ctlTest::TearDown() {
    for (auto& rx : m_receivers) rx->Stop();
    if (!m_tempDir.empty()) std::filesystem::remove_all(m_tempDir);
}

sim::EmulatedReceiver& R40ctlTest::StartReceiver(sim::Model model, int lastOctet,
                                                 std::chrono::milliseconds interval) {
    const sim::Ipv4 wanted{127, 0, 0, static_cast<std::uint8_t>(lastOctet)};
    sim::ReceiverConfig config = test_support::ConfigFor(model, wanted);
    config.statusInterval = interval;
    config.resetPause = 200ms;
    const auto pids = StartPids(model);
    std::copy(pids.begin(), pids.end(), config.initial.pids.begin());
    std::string error;
    auto rx = test_support::StartOnFreePorts(config, &error);
    // One that did not start stays in the test, stopped, so the failure is
    // this one expectation rather than a crash.
    if (!rx) {
        ADD_FAILURE() << error;
        rx = std::make_unique<sim::EmulatedReceiver>(config);
    } else {
        EXPECT_TRUE(rx->WaitForNewStatuses(1, 2s));
    }
    m_receivers.push_back(std::move(rx));
    return *m_receivers.back();
}

sim::Ipv4 R40ctlTest::ReceiverIp(int lastOctet) {
    return test_support::TestAddress({127, 0, 0, static_cast<std::uint8_t>(lastOctet)});
}

std::string R40ctlTest::ReceiverAddress(int lastOctet) {
    return sim::FormatIpv4(ReceiverIp(lastOctet));
}

RunResult R40ctlTest::Run(const std::vector<std::string>& args, const RunOptions& options) {
    RunResult result = RunR40ctl(args, options);
    EXPECT_FALSE(result.timedOut) << "r40ctl hung: " << Shown(result);
    EXPECT_EQ(result.signal, 0) << "r40ctl crashed: " << Shown(result);
    return result;
}

Json R40ctlTest::Document(const RunResult& result) {
    std::istringstream lines(result.out);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) all.push_back(line);
    EXPECT_EQ(all.size(), 1u) << "one JSON line expected: " << Shown(result);
    if (all.empty()) return Json();
    try {
        return Json::parse(all.front());
    } catch (const Json::exception& e) {
        ADD_FAILURE() << "not JSON (" << e.what() << "): " << all.front();
        return Json();
    }
}

void R40ctlTest::ExpectOneMessage(const RunResult& result) {
    EXPECT_EQ(result.err.rfind("r40ctl: ", 0), 0u) << Shown(result);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << Shown(result);
}

std::string R40ctlTest::TempDir() {
    static std::atomic<unsigned> sequence{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_tempDir.empty(); ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() /
            ("r40ctl-test-" + std::to_string(random()) + "-" + std::to_string(sequence++));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) m_tempDir = candidate.string();
    }
    EXPECT_FALSE(m_tempDir.empty());
    return m_tempDir;
}

std::string Shown(const RunResult& result) {
    return "exit " + std::to_string(result.exitCode) + " signal " + std::to_string(result.signal) +
           "\n--- stdout\n" + result.out + "--- stderr\n" + result.err;
}

}  // namespace tools_test
