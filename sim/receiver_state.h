// Everything an emulated receiver holds: its identity, its network
// configuration, its tuning, its PID and conditional-access tables and its
// signal. The status datagram is built from this state alone, and commands
// change it. Integers are in host order; addresses first octet first.
#pragma once

#include <array>
#include <cstdint>

#include "platform/net/udp_socket.h"
#include "sim/receiver_model.h"

namespace sim {

using Ipv4 = platform::net::Ipv4;
using MacAddress = std::array<std::uint8_t, 6>;

inline constexpr std::uint16_t UNUSED_PID = 0x1FFF;
inline constexpr Ipv4 NO_UNICAST_ADDRESS{255, 255, 255, 255};

// One PID table entry as it travels on the wire: forwarding destination
// (zero for the standard-form models) and the PID word, bits 0-12 the PID,
// bits 13-15 the control value.
struct PidEntry {
    Ipv4 destination{};
    std::uint16_t port = 0;
    std::uint16_t word = UNUSED_PID;

    std::uint16_t Pid() const { return word & 0x1FFF; }
    std::uint8_t Control() const { return static_cast<std::uint8_t>(word >> 13); }
    static PidEntry Make(std::uint16_t pid, std::uint8_t control, Ipv4 destination = {},
                         std::uint16_t port = 0) {
        return {destination, port,
                static_cast<std::uint16_t>((pid & 0x1FFF) | ((control & 7u) << 13))};
    }
    bool operator==(const PidEntry&) const = default;
};

using PidTable = std::array<PidEntry, 32>;

// One conditional-access entry (T22CA). The port is kept as the two bytes
// came on the wire, read big-endian; the console sends it unconverted.
struct CaEntry {
    Ipv4 destination{};
    std::uint16_t port = 0;
    std::uint16_t value = 0;
    bool operator==(const CaEntry&) const = default;
};

using CaTable = std::array<CaEntry, CA_TABLE_SLOTS>;

// Satellite tuning as carried in the tuning command and the status.
struct SatelliteTuning {
    std::uint16_t symbolRate = 27500;  // thousandths (27.5)
    std::uint16_t frequency = 12345;   // tenths (1234.5)
    std::uint8_t flags = 0;            // status byte 0x3E, as last tuned
    bool operator==(const SatelliteTuning&) const = default;
};

// Signal fields of the ATSC family (status 0x3C..0x4F).
struct AtscSignal {
    bool locked = true;               // receiver flags bit 0
    std::uint8_t receiverFlags = 0;   // the other bits of byte 0x3C (bit 4: SNR reported 3 dB low)
    std::uint8_t modulationCode = 6;  // byte 0x3D: 6 or 5
    std::uint8_t byte3E = 0;
    std::uint8_t byte3F = 0;
    std::uint16_t errorLevelA = 3000;  // about 20 dB
    std::uint16_t errorLevelB = 3100;
    std::int16_t carrierOffset = 6;  // 1/65535 of 10.76 MHz
    std::uint16_t value46 = 1024;    // 1/1024 units
    std::uint16_t value48 = 512;
    std::uint16_t word4A = 0;
    std::uint16_t word4C = 0;
    std::uint16_t word4E = 0;
};

// Signal fields of the satellite family (status 0x3F..0x4F).
struct SatelliteSignal {
    bool locked = true;         // flags bit 1
    std::uint8_t flags = 0x01;  // the other bits of byte 0x41
    std::uint8_t code3F = 2;
    std::uint8_t level = 100;     // byte 0x40; 0xFF means no signal
    std::uint32_t mantissa = 25;  // 24 bits, bytes 0x42..0x44
    std::uint8_t exponent = 6;    // byte 0x45
    std::uint8_t byte46 = 0;
    std::array<std::uint8_t, 8> block48{};  // bytes 0x48..0x4F
};

struct ReceiverState {
    // Identity.
    Ipv4 address{127, 0, 0, 20};  // its own address: commands arrive here, status leaves from here
    MacAddress mac{0x02, 0x5C, 0xC1, 0x00, 0x00, 0x14};
    MacAddress dvbMac{0x02, 0x5C, 0xC1, 0x80, 0x00, 0x14};
    std::uint8_t modelCode = 0x43;  // byte 0x20
    std::uint8_t version = 0x21;    // byte 0x21: major in the high four bits

    // Network configuration.
    Ipv4 unicastStatusAddress = NO_UNICAST_ADDRESS;  // 255.255.255.255 or 0.0.0.0: no unicast copy
    Ipv4 subnetMask{255, 255, 255, 0};
    Ipv4 gateway{127, 0, 0, 1};
    std::uint16_t reportedStatusPort = RECEIVER_DEFAULT_STATUS_PORT;  // shown at status 0x2E
    std::uint16_t statusDestinationPort =
        RECEIVER_DEFAULT_STATUS_PORT;  // where status datagrams go
    std::uint8_t optionFlags = 0;      // byte 0x62: bit 2 IGMP, bit 0 T22 2.x flags applied
    std::uint8_t byte63 = 0;

    // Common words.
    std::uint16_t modeWord = 0x0400;  // 0x36
    std::uint16_t word38 = 0;
    std::array<std::uint16_t, 7> words54to60{};  // 0x54, 0x56, ... 0x60
    bool dataFlowing = true;                     // counter grows while locked and data flows
    std::uint16_t dataCounter = 0;               // 0x52: 0 while no data passes

    // Tuning.
    std::uint16_t channel = 30;  // ATSC: word 0x3A
    SatelliteTuning tuning;      // satellite: 0x3A, 0x3C, 0x3E

    AtscSignal atsc;
    SatelliteSignal satellite;

    PidTable pids{};    // 16 entries used by the R40 and T22 (3.x), 32 by the others
    CaTable caTable{};  // T22CA: its values are the status head block
    std::array<std::uint8_t, 32> headBlock{};  // 0x00..0x1F of the other models

    bool Locked(Family family) const {
        return family == Family::Atsc ? atsc.locked : satellite.locked;
    }
};

// A fresh state for a model at an address: the model's code, a MAC address
// 02-5C-C1-b-c-d made of the address's last three octets, the given status
// port for both reporting and sending, a locked signal and an empty PID table.
ReceiverState DefaultState(Model model, Ipv4 address,
                           std::uint16_t statusPort = RECEIVER_DEFAULT_STATUS_PORT);

// The MAC address an emulated receiver at `address` gets by default.
MacAddress MacForAddress(Ipv4 address);

}  // namespace sim
