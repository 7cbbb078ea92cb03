// r40-receiver-sim as a program: it starts, its receivers send status, and
// SIGINT or SIGTERM stop it cleanly.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "receiver_fixture.h"

extern char** environ;

namespace {

using namespace simtest;
using Clock = std::chrono::steady_clock;

// A child process running the program; killed if the test leaves early.
class Program {
  public:
    explicit Program(std::vector<std::string> args) {
        args.insert(args.begin(), R40_RECEIVER_SIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        m_started = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool started() const { return m_started; }
    void Signal(int number) { ::kill(m_pid, number); }
    // The exit status within `timeout`; -1 if still running (or not exited normally).
    int WaitExit(Ms timeout) {
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            int status = 0;
            const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
            if (r == m_pid) {
                m_reaped = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

  private:
    pid_t m_pid = -1;
    bool m_started = false;
    bool m_reaped = false;
};

class ProgramRun : public ::testing::TestWithParam<int> {};

TEST_P(ProgramRun, SendsStatusAndStopsCleanlyOnSignal) {
    StatusListener listener(6516);
    ASSERT_TRUE(listener.ok());
    Program program({"--interval-ms", "50", "r40@127.0.0.20", "t22v3@127.0.0.22"});
    ASSERT_TRUE(program.started());

    auto r40 = listener.NextFrom({127, 0, 0, 20}, 5s);
    ASSERT_TRUE(r40.has_value()) << "no status from the R40";
    EXPECT_EQ(r40->bytes.size(), 138u);
    EXPECT_EQ(r40->bytes[0x20], 0x43);
    EXPECT_EQ(r40->bytes[0x30], 0x02);
    EXPECT_EQ(r40->bytes[0x35], 20) << "MAC made of its address";
    auto t22 = listener.NextFrom({127, 0, 0, 22}, 2s);
    ASSERT_TRUE(t22.has_value());
    EXPECT_EQ(t22->bytes.size(), 164u);
    // It answers, with the demo PIDs in its table.
    auto table = Exchange({127, 0, 0, 20}, sim::TABLE_PORT, TABLE_READ);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->bytes.size(), 130u);
    EXPECT_NE(Word(table->bytes, 8), 0x1FFF);

    program.Signal(GetParam());
    EXPECT_EQ(program.WaitExit(5s), 0);
    listener.Drain();
    EXPECT_FALSE(listener.Next(200ms).has_value()) << "nothing after it stopped";
}

INSTANTIATE_TEST_SUITE_P(Signals, ProgramRun, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? std::string("Sigint")
                                                         : std::string("Sigterm");
                         });

// SIGUSR1 and SIGUSR2 switch every receiver's lock off and on while it runs
// (what the console's alarm test under Xvfb relies on).
TEST(Program, UserSignalsSwitchTheLock) {
    StatusListener listener(6516);
    ASSERT_TRUE(listener.ok());
    Program program({"--interval-ms", "50", "r40@127.0.0.20", "t22v3@127.0.0.22"});
    ASSERT_TRUE(program.started());
    const auto lockOf = [&](sim::Ipv4 from, std::size_t offset, std::uint8_t bit) {
        auto status = listener.NextFrom(from, 3s);
        return status.has_value() ? std::optional<bool>((status->bytes[offset] & bit) != 0)
                                  : std::nullopt;
    };
    const auto lockBecomes = [&](bool wanted) {
        for (int i = 0; i < 40; ++i) {
            const auto r40 =
                lockOf({127, 0, 0, 20}, sim::status_offset::RECEIVER_FLAGS, sim::ATSC_LOCK_BIT);
            const auto t22 = lockOf({127, 0, 0, 22}, sim::status_offset::SATELLITE_FLAGS,
                                    sim::SATELLITE_LOCK_BIT);
            if (r40 == wanted && t22 == wanted) return true;
        }
        return false;
    };
    ASSERT_TRUE(lockBecomes(true)) << "locked from the start";
    program.Signal(SIGUSR1);
    EXPECT_TRUE(lockBecomes(false));
    program.Signal(SIGUSR2);
    EXPECT_TRUE(lockBecomes(true));
    program.Signal(SIGTERM);
    EXPECT_EQ(program.WaitExit(5s), 0);
}

TEST(Program, RefusesBadArgumentsWithCode2) {
    Program program({"r41@127.0.0.20"});
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.WaitExit(5s), 2);
}

TEST(Program, FailsWhenAReceiverCannotStart) {
    Program program({"r40@192.0.2.1"});  // not an address of this host
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.WaitExit(5s), 1);
}

}  // namespace
