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
inline constexpr std::size_t HEAD_BLOCK = 0x00;  // 32 bytes; T22CA: 16 CA values
inline constexpr std::size_t MODEL_CODE = 0x20;
inline constexpr std::size_t VERSION = 0x21;
inline constexpr std::size_t UNICAST_STATUS_ADDRESS = 0x22;
inline constexpr std::size_t SUBNET_MASK = 0x26;
inline constexpr std::size_t GATEWAY = 0x2A;
inline constexpr std::size_t STATUS_PORT = 0x2E;
inline constexpr std::size_t MAC = 0x30;
inline constexpr std::size_t MODE_WORD = 0x36;
inline constexpr std::size_t WORD_38 = 0x38;
inline constexpr std::size_t DATA_COUNTER = 0x52;
inline constexpr std::size_t WORDS_54 = 0x54;  // seven words, 0x54..0x60
inline constexpr std::size_t OPTION_FLAGS = 0x62;
inline constexpr std::size_t BYTE_63 = 0x63;
inline constexpr std::size_t PID_TABLE = 0x64;

// ATSC family.
inline constexpr std::size_t CHANNEL = 0x3A;
inline constexpr std::size_t RECEIVER_FLAGS = 0x3C;
inline constexpr std::size_t MODULATION = 0x3D;
inline constexpr std::size_t BYTE_3E = 0x3E;
inline constexpr std::size_t BYTE_3F = 0x3F;
inline constexpr std::size_t ERROR_LEVEL_A = 0x40;
inline constexpr std::size_t ERROR_LEVEL_B = 0x42;
inline constexpr std::size_t CARRIER_OFFSET = 0x44;
inline constexpr std::size_t VALUE_46 = 0x46;
inline constexpr std::size_t VALUE_48 = 0x48;
inline constexpr std::size_t WORD_4A = 0x4A;
inline constexpr std::size_t WORD_4C = 0x4C;
inline constexpr std::size_t WORD_4E = 0x4E;

// Satellite family.
inline constexpr std::size_t SYMBOL_RATE = 0x3A;
inline constexpr std::size_t FREQUENCY = 0x3C;
inline constexpr std::size_t TUNING_FLAGS = 0x3E;
inline constexpr std::size_t CODE_3F = 0x3F;
inline constexpr std::size_t LEVEL = 0x40;
inline constexpr std::size_t SATELLITE_FLAGS = 0x41;
inline constexpr std::size_t MANTISSA = 0x42;  // 24 bits
inline constexpr std::size_t EXPONENT = 0x45;
inline constexpr std::size_t BYTE_46 = 0x46;
inline constexpr std::size_t BLOCK_48 = 0x48;  // 8 bytes
}  // namespace status_offset

// Receiver flag bits.
inline constexpr std::uint8_t ATSC_LOCK_BIT = 0x01;       // ATSC byte 0x3C
inline constexpr std::uint8_t SATELLITE_LOCK_BIT = 0x02;  // satellite byte 0x41
inline constexpr std::uint8_t OPTION_IGMP_BIT = 0x04;     // byte 0x62
inline constexpr std::uint8_t OPTION_T22V2_FLAGS_BIT = 0x01;

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
