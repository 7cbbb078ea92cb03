// The status datagram a receiver sends, built from its state. Multi-byte
// fields are big-endian; the offsets below are from the datagram's start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/receiver_model.h"
#include "sim/receiver_state.h"

namespace sim {

namespace status_offset {
// Common part, every model.
inline constexpr std::size_t kHeadBlock = 0x00;  // 32 bytes; T22CA: 16 CA values
inline constexpr std::size_t kModelCode = 0x20;
inline constexpr std::size_t kVersion = 0x21;
inline constexpr std::size_t kUnicastStatusAddress = 0x22;
inline constexpr std::size_t kSubnetMask = 0x26;
inline constexpr std::size_t kGateway = 0x2A;
inline constexpr std::size_t kStatusPort = 0x2E;
inline constexpr std::size_t kMac = 0x30;
inline constexpr std::size_t kModeWord = 0x36;
inline constexpr std::size_t kWord38 = 0x38;
inline constexpr std::size_t kDataCounter = 0x52;
inline constexpr std::size_t kWords54 = 0x54;  // seven words, 0x54..0x60
inline constexpr std::size_t kOptionFlags = 0x62;
inline constexpr std::size_t kByte63 = 0x63;
inline constexpr std::size_t kPidTable = 0x64;

// ATSC family.
inline constexpr std::size_t kChannel = 0x3A;
inline constexpr std::size_t kReceiverFlags = 0x3C;
inline constexpr std::size_t kModulation = 0x3D;
inline constexpr std::size_t kByte3E = 0x3E;
inline constexpr std::size_t kByte3F = 0x3F;
inline constexpr std::size_t kErrorLevelA = 0x40;
inline constexpr std::size_t kErrorLevelB = 0x42;
inline constexpr std::size_t kCarrierOffset = 0x44;
inline constexpr std::size_t kValue46 = 0x46;
inline constexpr std::size_t kValue48 = 0x48;
inline constexpr std::size_t kWord4A = 0x4A;
inline constexpr std::size_t kWord4C = 0x4C;
inline constexpr std::size_t kWord4E = 0x4E;

// Satellite family.
inline constexpr std::size_t kSymbolRate = 0x3A;
inline constexpr std::size_t kFrequency = 0x3C;
inline constexpr std::size_t kTuningFlags = 0x3E;
inline constexpr std::size_t kCode3F = 0x3F;
inline constexpr std::size_t kLevel = 0x40;
inline constexpr std::size_t kSatelliteFlags = 0x41;
inline constexpr std::size_t kMantissa = 0x42;  // 24 bits
inline constexpr std::size_t kExponent = 0x45;
inline constexpr std::size_t kByte46 = 0x46;
inline constexpr std::size_t kBlock48 = 0x48;  // 8 bytes
}  // namespace status_offset

// Receiver flag bits.
inline constexpr std::uint8_t kAtscLockBit = 0x01;       // ATSC byte 0x3C
inline constexpr std::uint8_t kSatelliteLockBit = 0x02;  // satellite byte 0x41
inline constexpr std::uint8_t kOptionIgmpBit = 0x04;     // byte 0x62
inline constexpr std::uint8_t kOptionT22V2FlagsBit = 0x01;

// Deliberate departures from a well-behaved datagram, for tests.
struct StatusOverrides {
    std::optional<std::uint8_t> modelCode;  // replaces byte 0x20
    bool foreignMacPrefix = false;          // MAC starts 00-5C-C1 instead of 02-5C-C1
    std::optional<std::size_t> length;      // truncated, or padded with zero bytes
};

// The status datagram of `model` in `state`, of the model's length unless
// an override says otherwise.
std::vector<std::uint8_t> BuildStatusDatagram(Model model, const ReceiverState& state,
                                              const StatusOverrides& overrides = {});

}  // namespace sim
