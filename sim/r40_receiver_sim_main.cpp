// r40-receiver-sim: emulated receivers on the network until interrupted.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/address_text.h"
#include "sim/emulated_receiver.h"
#include "sim/program_options.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
// The lock switch: 0 nothing asked, 1 lose lock, 2 lock again.
volatile std::sig_atomic_t g_lockRequest = 0;

extern "C" void OnStopSignal(int) {
    g_stop = 1;
}

#ifdef SIGUSR1
// Windows has no user signals: there the lock switch is not offered.
extern "C" void OnLockSignal(int signal) {
    g_lockRequest = signal == SIGUSR1 ? 1 : 2;
}
#endif

std::mutex g_outputMutex;

void PrintLine(const std::string& line) {
    std::lock_guard lock(g_outputMutex);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string Percent(double p) {
    char text[16];
    std::snprintf(text, sizeof text, "%g %%", p * 100);
    return text;
}

// A few PIDs so that a console has a list to show: PAT, PMT, video, audio.
void GiveDemoPids(sim::Model model, sim::ReceiverState& state) {
    const bool forwarding =
        model == sim::Model::R40V || model == sim::Model::T22CA || model == sim::Model::Trevan;
    const std::uint16_t pids[] = {0x0000, 0x0030, 0x0031, 0x0034};
    for (std::size_t i = 0; i < std::size(pids); ++i) {
        if (forwarding && pids[i] == 0x0031) {
            // The video PID is forwarded to a UDP destination.
            state.pids[i] = sim::PidEntry::Make(pids[i], 5, {239, 1, 1, 1}, 1234);
        } else {
            state.pids[i] = sim::PidEntry::Make(pids[i], 1);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    sim::ProgramOptions options;
    std::string error;
    if (!sim::ParseProgramOptions(args, &options, &error)) {
        std::fprintf(stderr, "r40-receiver-sim: %s\n%s", error.c_str(), sim::UsageLine().c_str());
        return 2;
    }
    if (options.help) {
        std::printf("%s", sim::UsageText().c_str());
        return 0;
    }
    if (options.version) {
        std::printf("r40-receiver-sim %s\n", R40_SIM_VERSION);
        return 0;
    }

    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#ifdef SIGUSR1
    std::signal(SIGUSR1, OnLockSignal);
    std::signal(SIGUSR2, OnLockSignal);
#endif

    std::vector<std::unique_ptr<sim::EmulatedReceiver>> receivers;
    for (const sim::ReceiverRequest& request : options.receivers) {
        sim::ReceiverConfig config =
            sim::ReceiverConfig::For(request.model, request.address, request.statusPort);
        config.initial.modelCode = request.modelCode;
        config.initial.unicastStatusAddress = options.unicast;
        GiveDemoPids(request.model, config.initial);
        config.broadcastAddress = options.broadcast;
        config.statusInterval = std::chrono::milliseconds(options.intervalMs);
        config.resetPause = std::chrono::milliseconds(options.resetPauseMs);
        config.animateSignal = true;
        config.loss = options.loss;
        config.vanish = options.vanish;
        const std::string name = std::string(sim::TraitsOf(request.model).displayName) + " " +
                                 sim::FormatIpv4(request.address);
        if (!options.quiet)
            config.log = [name](const std::string& event) { PrintLine(name + ": " + event); };

        auto receiver = std::make_unique<sim::EmulatedReceiver>(config);
        if (!receiver->Start(&error)) {
            std::fprintf(stderr, "r40-receiver-sim: %s: %s\n", name.c_str(), error.c_str());
            return 1;  // the receivers already started stop as they go out of scope
        }
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", request.modelCode);
        PrintLine(std::string(sim::TraitsOf(request.model).displayName) + " (model code " + code +
                  ") at " + sim::FormatIpv4(request.address) + ", MAC " +
                  sim::FormatMac(config.initial.mac) + ": status every " +
                  std::to_string(options.intervalMs) + " ms to " +
                  sim::FormatIpv4(options.broadcast) + ":" + std::to_string(request.statusPort));
        receivers.push_back(std::move(receiver));
    }
    if (options.loss.echoes > 0 || options.loss.tableReplies > 0 || options.loss.statuses > 0)
        PrintLine("Losing echoes " + Percent(options.loss.echoes) + ", table replies " +
                  Percent(options.loss.tableReplies) + ", status datagrams " +
                  Percent(options.loss.statuses) + ".");
    if (options.vanish)
        PrintLine("Each receiver is there for " + std::to_string(options.vanish->present.count()) +
                  " ms, then gone for " + std::to_string(options.vanish->absent.count()) +
                  " ms, over and over.");
    PrintLine(std::to_string(receivers.size()) +
              (receivers.size() == 1 ? " receiver" : " receivers") +
              " running; press Ctrl+C to stop.");

    while (!g_stop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (const std::sig_atomic_t request = g_lockRequest) {
            g_lockRequest = 0;
            for (auto& receiver : receivers) receiver->SetLocked(request == 2);
            PrintLine(request == 2 ? "Lock switched on." : "Lock switched off.");
        }
    }

    for (auto& receiver : receivers) receiver->Stop();
    PrintLine("Stopped.");
    return 0;
}
