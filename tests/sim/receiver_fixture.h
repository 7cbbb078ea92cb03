// Shared helpers for tests that run emulated receivers on loopback.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/emulated_receiver.h"
#include "sim/receiver_commands.h"
#include "wire_peer.h"

namespace sim {
// Readable test names: "r40" rather than the enumerator's bytes.
inline void PrintTo(Model model, std::ostream* os) {
    *os << TraitsOf(model).key;
}
}  // namespace sim

namespace simtest {

// A fast receiver with fixed signal values: status every 20 ms, no data
// counter running (so consecutive datagrams are identical), a short restart.
inline sim::ReceiverConfig FastConfig(
    sim::Model model, Ipv4 address, std::uint16_t statusPort = sim::RECEIVER_DEFAULT_STATUS_PORT) {
    sim::ReceiverConfig config = sim::ReceiverConfig::For(model, address, statusPort);
    config.statusInterval = 20ms;
    config.resetPause = 300ms;
    config.initial.dataFlowing = false;
    return config;
}

inline std::unique_ptr<sim::EmulatedReceiver> StartReceiver(const sim::ReceiverConfig& config) {
    auto rx = std::make_unique<sim::EmulatedReceiver>(config);
    std::string error;
    EXPECT_TRUE(rx->Start(&error)) << error;
    return rx;
}

inline std::vector<std::uint8_t> AtscTune(std::uint16_t channel) {
    return {
        static_cast<std::uint8_t>(channel >> 8), static_cast<std::uint8_t>(channel), 0, 0, 0, 0};
}

inline std::vector<std::uint8_t> SatelliteTune(std::uint16_t symbolRate, std::uint16_t frequency,
                                               std::uint8_t flags) {
    return {static_cast<std::uint8_t>(symbolRate >> 8),
            static_cast<std::uint8_t>(symbolRate),
            static_cast<std::uint8_t>(frequency >> 8),
            static_cast<std::uint8_t>(frequency),
            flags,
            8};
}

inline std::vector<std::uint8_t> TuneFor(sim::Model model) {
    return sim::TraitsOf(model).family == sim::Family::Atsc ? AtscTune(69)
                                                            : SatelliteTune(27510, 12345, 0x07);
}

// The 22-byte network settings command.
inline std::vector<std::uint8_t> NetworkCommand(Ipv4 unicast, Ipv4 mask, Ipv4 gateway,
                                                std::uint16_t reportedPort, Ipv4 address,
                                                std::uint16_t listenPort, std::uint8_t flags) {
    std::vector<std::uint8_t> c;
    c.insert(c.end(), unicast.begin(), unicast.end());
    c.insert(c.end(), mask.begin(), mask.end());
    c.insert(c.end(), gateway.begin(), gateway.end());
    c.push_back(static_cast<std::uint8_t>(reportedPort >> 8));
    c.push_back(static_cast<std::uint8_t>(reportedPort));
    c.insert(c.end(), address.begin(), address.end());
    c.push_back(static_cast<std::uint8_t>(listenPort >> 8));
    c.push_back(static_cast<std::uint8_t>(listenPort));
    c.push_back(5);
    c.push_back(flags);
    return c;
}

inline const std::vector<std::uint8_t> RESET_BYTES{sim::RESET_CODE.begin(), sim::RESET_CODE.end()};
inline const std::vector<std::uint8_t> TABLE_READ{0x00, 0x01};

inline std::string ModelName(const ::testing::TestParamInfo<sim::Model>& info) {
    return std::string(sim::TraitsOf(info.param).key);
}

}  // namespace simtest
