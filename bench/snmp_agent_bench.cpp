// How fast r40-snmp-agent answers a walk of 64 receivers' table through a
// real snmpd (GETBULK with snmpbulkwalk, GETNEXT with snmpwalk; each run
// includes starting the net-snmp tool), and how much CPU the agent takes
// when nobody asks, while it hears 64 receivers sending once a second.
// In a network namespace of its own; figures only, nothing passes or fails.
//   snmp_agent_bench [R40_SNMP_AGENT]   (default: the one built beside it)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/emulated_receiver.h"
#include "tests/support/private_network.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int RECEIVERS = 64;
constexpr int WALKS = 10;
constexpr auto IDLE = 10s;

pid_t Spawn(const std::vector<std::string>& args, const std::string& log) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

// Output lines of a command, and how long it took.
std::pair<int, double> Lines(const std::string& command) {
    const auto start = Clock::now();
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    int lines = 0;
    char buffer[1024];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) ++lines;
    if (pipe != nullptr) ::pclose(pipe);
    return {lines, std::chrono::duration<double>(Clock::now() - start).count()};
}

// User and system clock ticks the process has used.
long CpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) {
            stime = std::stol(field);
            break;
        }
    }
    return utime + stime;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string agentPath = argc > 1 ? argv[1] : R40_SNMP_AGENT;
    std::string why;
    if (!test_support::EnterPrivateNetwork(&why)) {
        std::fprintf(stderr, "snmp_agent_bench needs a network namespace (root): %s\n",
                     why.c_str());
        return 1;
    }
    char pattern[] = "/tmp/snmp-agent-bench-XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    ::setenv("SNMP_PERSISTENT_DIR", (dir + "/persist").c_str(), 1);
    ::setenv("MIBS", "", 1);
    std::ofstream(dir + "/snmpd.conf") << "agentaddress udp:127.0.0.1:1161\nmaster agentx\n"
                                       << "agentXSocket " << dir << "/agentx\n"
                                       << "rocommunity public 127.0.0.1\n";
    const pid_t snmpd =
        Spawn({"/usr/sbin/snmpd", "-f", "-C", "-c", dir + "/snmpd.conf", "-Lf", dir + "/snmpd.log"},
              dir + "/snmpd.out");
    for (int i = 0; i < 200 && ::access((dir + "/agentx").c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(20ms);

    std::vector<std::unique_ptr<sim::EmulatedReceiver>> receivers;
    for (int i = 0; i < RECEIVERS; ++i) {
        sim::ReceiverConfig config =
            sim::ReceiverConfig::For(sim::ALL_MODELS[i % sim::ALL_MODELS.size()],
                                     {127, 0, 0, static_cast<std::uint8_t>(10 + i)});
        config.statusInterval = 1000ms;
        receivers.push_back(std::make_unique<sim::EmulatedReceiver>(config));
        receivers.back()->Start();
    }
    const pid_t agent = Spawn({agentPath, "--agentx-socket", dir + "/agentx"}, dir + "/agent.log");

    const std::string mibs = " -M " R40_SOURCE_DIR "/tests/tools/snmp_base_mibs:" R40_SOURCE_DIR
                             "/tools/snmp -m R40-RECEIVER-MIB ";
    const std::string table = " 127.0.0.1:1161 R40-RECEIVER-MIB::r40ReceiverTable";
    const std::string bulk = "snmpbulkwalk -v2c -c public -Cr50" + mibs + table;
    const std::string next = "snmpwalk -v2c -c public" + mibs + table;
    int rows = 0;
    for (int i = 0; i < 100 && rows < RECEIVERS; ++i) {
        std::this_thread::sleep_for(100ms);
        rows = Lines("snmpwalk -v2c -c public" + mibs +
                     " 127.0.0.1:1161 R40-RECEIVER-MIB::r40ReceiverUp")
                   .first;
    }
    std::printf("receivers in the table: %d of %d\n", rows, RECEIVERS);

    for (const auto& [name, command] :
         {std::pair{"GETBULK (snmpbulkwalk)", bulk}, std::pair{"GETNEXT (snmpwalk)", next}}) {
        std::vector<double> took;
        int values = 0;
        for (int i = 0; i < WALKS; ++i) {
            const auto [lines, seconds] = Lines(command);
            values = lines;
            took.push_back(seconds);
        }
        std::sort(took.begin(), took.end());
        std::printf("walk of the table, %s: %d values, median %.1f ms, slowest %.1f ms of %d\n",
                    name, values, took[took.size() / 2] * 1000, took.back() * 1000, WALKS);
    }

    const long before = CpuTicks(agent);
    std::this_thread::sleep_for(IDLE);
    const long used = CpuTicks(agent) - before;
    const double seconds = static_cast<double>(used) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    std::printf("idle with %d receivers heard: %.2f s of CPU in %lld s (%.2f %% of one core)\n",
                RECEIVERS, seconds, static_cast<long long>(IDLE.count()),
                100 * seconds / static_cast<double>(IDLE.count()));

    Stop(agent);
    for (auto& rx : receivers) rx->Stop();
    Stop(snmpd);
    std::filesystem::remove_all(dir);
    return 0;
}
