// Command line of r40-receiver-sim:
//   r40-receiver-sim [options] MODEL@ADDRESS[:STATUSPORT] ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/network_faults.h"
#include "sim/receiver_model.h"
#include "sim/receiver_state.h"

namespace sim {

struct ReceiverRequest {
    Model model = Model::R40;
    std::uint8_t modelCode = 0;  // the model's own unless a variant was named (t22ca-34)
    Ipv4 address{};
    std::uint16_t statusPort = RECEIVER_DEFAULT_STATUS_PORT;
};

struct ProgramOptions {
    bool help = false;
    bool version = false;
    bool quiet = false;           // no line per command
    long long intervalMs = 1000;  // between status datagrams
    long long resetPauseMs = 1000;
    Ipv4 unicast = NO_UNICAST_ADDRESS;
    Ipv4 broadcast{127, 255, 255, 255};
    LossRates loss;                     // every receiver's
    std::optional<VanishCycle> vanish;  // every receiver's
    std::vector<ReceiverRequest> receivers;
};

// Parses the arguments after the program name. False with a message on any
// error; `--help` or `--version` alone is not an error and needs no receivers.
bool ParseProgramOptions(const std::vector<std::string_view>& args, ProgramOptions* options,
                         std::string* error);

// One receiver argument, e.g. "r40v@127.0.0.21:8309".
bool ParseReceiverRequest(std::string_view text, ReceiverRequest* request, std::string* error);

std::string UsageText();
// One line, for a refused command line: "usage: r40-receiver-sim ...".
std::string UsageLine();

}  // namespace sim
