// Emulated receivers on a loopback Wine can share. Under Wine every UDP
// socket bound to a loopback address but 127.0.0.1 is bound to the wildcard
// address, so a receiver elsewhere would answer from 127.0.0.1 and a client
// would not take its replies: there every receiver stands at 127.0.0.1 and
// receivers are told apart by their MAC addresses and command ports. The
// first receiver a test starts is the one a client reaches; the others are
// heard (discovery, status) only. Elsewhere a receiver stands where asked.
#pragma once

#include <memory>
#include <string>

#include "sim/emulated_receiver.h"

namespace test_support {

// Where a receiver that stands for one at `wanted` really is.
inline sim::Ipv4 TestAddress(sim::Ipv4 wanted) {
#ifdef _WIN32
    (void)wanted;
    return {127, 0, 0, 1};
#else
    return wanted;
#endif
}

// A receiver of `model` that stands for one at `wanted`: at TestAddress,
// with the MAC address a receiver at `wanted` has.
inline sim::ReceiverConfig ConfigFor(sim::Model model, sim::Ipv4 wanted,
                                     std::uint16_t statusPort = 6516) {
    sim::ReceiverConfig config = sim::ReceiverConfig::For(model, TestAddress(wanted), statusPort);
    const sim::ReceiverState atWanted = sim::DefaultState(model, wanted, statusPort);
    config.initial.mac = atWanted.mac;
    config.initial.dvbMac = atWanted.dvbMac;
    return config;
}

// Starts a receiver; under Wine on the first command-port shift no running
// receiver holds, so the first receiver a test starts is the one a client
// reaches. Null, with the reason, when it cannot start.
inline std::unique_ptr<sim::EmulatedReceiver> StartOnFreePorts(sim::ReceiverConfig config,
                                                               std::string* error) {
#ifdef _WIN32
    // Steps of 16 keep the four shifted ports clear of each other and, for
    // a hundred receivers, of every status port.
    for (int step = 0; step < 100; ++step) {
        config.commandPortShift = static_cast<std::uint16_t>(16 * step);
        auto rx = std::make_unique<sim::EmulatedReceiver>(config);
        if (rx->Start(error)) return rx;
    }
    return nullptr;
#else
    auto rx = std::make_unique<sim::EmulatedReceiver>(config);
    if (!rx->Start(error)) return nullptr;
    return rx;
#endif
}

}  // namespace test_support
