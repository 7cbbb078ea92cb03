// Faults of the network between a receiver and the console, for soak tests
// and for trying the console on a bad LAN.
#pragma once

#include <chrono>
#include <cstdint>

namespace sim {

// Probabilities, 0 to 1, that a datagram of each kind is lost on its way
// back to the console, each datagram decided on its own. The command itself
// arrives and is applied; only what the receiver sends goes missing.
struct LossRates {
    double echoes = 0;        // echoes of commands, table writes included
    double tableReplies = 0;  // answers to table reads
    double statuses = 0;      // status datagrams (all copies of one emission)
};

// What got through and what the loss switches dropped so far.
struct LossCounts {
    std::uint64_t echoesSent = 0;
    std::uint64_t echoesLost = 0;
    std::uint64_t tableRepliesSent = 0;
    std::uint64_t tableRepliesLost = 0;
    std::uint64_t statusesSent = 0;
    std::uint64_t statusesLost = 0;
};

// A receiver that comes and goes: there for `present`, then gone for
// `absent` (no status, no answer; what reaches it meanwhile is dropped
// unread, as by one unplugged), over and over, present first.
struct VanishCycle {
    std::chrono::milliseconds present{0};
    std::chrono::milliseconds absent{0};
};

}  // namespace sim
