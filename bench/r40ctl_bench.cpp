// How long r40ctl takes from start to exit against an emulated receiver that
// sends its status once a second, beside what the library itself needs for
// the same work (OpenDevice and SetChannel on an entry already in hand).
// In a network namespace of its own; figures only, nothing passes or fails.
//   r40ctl_bench [R40CTL]   (default: the r40ctl built beside it)
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "devicelib/devicelib.h"
#include "sim/address_text.h"
#include "sim/emulated_receiver.h"
#include "tests/support/private_network.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto INTERVAL = 1000ms;
constexpr int ROUNDS = 10;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Each measurement starts at a random point of the receiver's rhythm:
// started right after the previous one, which ended on a status, every run
// would wait the same part of an interval.
void RandomPhase() {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> ms(0, static_cast<int>(INTERVAL.count()) - 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms(random)));
}

// Seconds from start to exit of one run; -1 when it failed.
double Run(const std::string& program, std::vector<std::string> args) {
    RandomPhase();
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double took = Seconds(Clock::now() - start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took : -1;
}

struct Figure {
    double total = 0, worst = 0;
    int runs = 0, failed = 0;
    void Add(double s) {
        if (s < 0) {
            ++failed;
            return;
        }
        total += s;
        worst = std::max(worst, s);
        ++runs;
    }
    double Mean() const { return runs > 0 ? total / runs : 0; }
};

void Print(const char* what, const Figure& f) {
    std::printf("%-44s %6.2f s mean  %6.2f s worst  (%d runs%s)\n", what, f.Mean(), f.worst, f.runs,
                f.failed > 0 ? (", " + std::to_string(f.failed) + " failed").c_str() : "");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string r40ctl = argc > 1 ? argv[1] : R40CTL_PATH;
    std::string why;
    if (!test_support::EnterPrivateNetwork(&why)) {
        std::fprintf(stderr, "r40ctl_bench needs a network namespace (root): %s\n", why.c_str());
        return 1;
    }
    auto config = sim::ReceiverConfig::For(sim::Model::R40, {127, 0, 0, 20}, 6516);
    config.statusInterval = INTERVAL;
    sim::EmulatedReceiver receiver(config);
    if (!receiver.Start(&why)) {
        std::fprintf(stderr, "receiver: %s\n", why.c_str());
        return 1;
    }
    receiver.WaitForNewStatuses(1, 3s);
    const std::string address = sim::FormatIpv4(receiver.Address());
    std::printf("%s, one R40 at %s sending its status every %lld ms\n", r40ctl.c_str(),
                address.c_str(), static_cast<long long>(INTERVAL.count()));

    Figure status, statusMac, tune, tuneMac, libraryOpen, libraryTune;
    for (int round = 0; round < ROUNDS; ++round) {
        const std::string channel = std::to_string(20 + round);
        status.Add(Run(r40ctl, {"status", address}));
        statusMac.Add(Run(r40ctl, {"status", "00-00-14"}));
        tune.Add(Run(r40ctl, {"tune", address, "--channel", channel}));
        tuneMac.Add(Run(r40ctl, {"tune", "00-00-14", "--channel", channel}));
    }

    // The library's own time for a tune: the entry in hand, open, tune.
    DeviceList list{};
    DiscoverDevices(&list);
    if (list.count < 1) {
        std::fprintf(stderr, "the receiver was not discovered\n");
        return 1;
    }
    for (int round = 0; round < ROUNDS; ++round) {
        RandomPhase();
        const auto start = Clock::now();
        std::int32_t result = 0;
        DeviceHandle device = OpenDevice(&list.entries[0], 3000, &result);
        const auto opened = Clock::now();
        const std::uint16_t channel = static_cast<std::uint16_t>(40 + round);
        const bool tuned = device != nullptr && SetChannel(device, &channel) == 0;
        const auto done = Clock::now();
        CloseDevice(device);
        libraryOpen.Add(device != nullptr ? Seconds(opened - start) : -1);
        libraryTune.Add(tuned ? Seconds(done - start) : -1);
    }

    Print("r40ctl status ADDRESS", status);
    Print("r40ctl status MAC-TAIL (discovery pass)", statusMac);
    Print("r40ctl tune ADDRESS --channel N", tune);
    Print("r40ctl tune MAC-TAIL --channel N", tuneMac);
    Print("library: OpenDevice", libraryOpen);
    Print("library: OpenDevice + SetChannel", libraryTune);
    std::printf("status ADDRESS in status intervals: %.2f mean, %.2f worst\n",
                status.Mean() / Seconds(INTERVAL), status.worst / Seconds(INTERVAL));
    if (libraryTune.Mean() > 0)
        std::printf("tune ADDRESS / library's own time: %.2f\n", tune.Mean() / libraryTune.Mean());
    return 0;
}
