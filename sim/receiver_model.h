// The six receiver models the emulator plays, with what differs between them
// on the wire: model code, status datagram length, PID table size, where the
// DVB MAC address sits, and the few behaviours that are model-specific.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sim {

enum class Model {
    R40,     // ATSC receiver, model code 'C'
    R40V,    // ATSC receiver that forwards PIDs, model code 'D'
    T22V3,   // satellite receiver, firmware 3.x, model code '3'
    T22V2,   // satellite receiver, firmware 2.x, model code '2'
    T22CA,   // satellite receiver with conditional access, model code 'T' (or '4')
    Trevan,  // satellite receiver that forwards PIDs, model code '4'
};

enum class Family { Atsc, Satellite };

inline constexpr std::array<Model, 6> ALL_MODELS{Model::R40,   Model::R40V,  Model::T22V3,
                                                 Model::T22V2, Model::T22CA, Model::Trevan};

// Command ports every receiver listens on, on its own address.
inline constexpr std::uint16_t RESET_PORT = 39321;
inline constexpr std::uint16_t NETWORK_PORT = 6517;
inline constexpr std::uint16_t TABLE_PORT = 6519;
inline constexpr std::uint16_t TUNE_PORT = 6531;
inline constexpr std::array<std::uint16_t, 4> COMMAND_PORTS{RESET_PORT, NETWORK_PORT, TABLE_PORT,
                                                            TUNE_PORT};

// The status port a receiver sends to unless told otherwise.
inline constexpr std::uint16_t RECEIVER_DEFAULT_STATUS_PORT = 6516;

// The only datagram on the reset port that restarts a receiver.
inline constexpr std::array<std::uint8_t, 4> RESET_CODE{0x4B, 0x2E, 0x90, 0x61};

// The maker's MAC prefix; consoles manage nothing else.
inline constexpr std::array<std::uint8_t, 3> RECEIVER_MAC_PREFIX{0x02, 0x5C, 0xC1};

// Table command words on the table port (big-endian on the wire).
inline constexpr std::uint16_t TABLE_READ_COMMAND = 0x0001;
inline constexpr std::uint16_t PID_TABLE_WRITE_COMMAND = 0x0002;
inline constexpr std::uint16_t CA_TABLE_WRITE_COMMAND = 0x0003;

// Table layout: a 2-byte command word, then 8-byte entries.
inline constexpr std::size_t TABLE_HEADER_SIZE = 2;
inline constexpr std::size_t TABLE_ENTRY_SIZE = 8;
inline constexpr std::size_t CA_TABLE_SLOTS = 16;

// Lengths of the network settings and tuning commands.
inline constexpr std::size_t NETWORK_COMMAND_SIZE = 22;
inline constexpr std::size_t TUNE_COMMAND_SIZE = 6;

// The model code a T22CA may carry instead of 'T'.
inline constexpr std::uint8_t T22_CA_ALTERNATE_MODEL_CODE = 0x34;

struct ModelTraits {
    Model model;
    std::string_view key;          // command-line name: "r40", "t22v3", ...
    std::string_view displayName;  // "R40", "T22 (3.x)", ...
    Family family;
    std::uint8_t modelCode;        // status byte 0x20
    std::size_t statusLength;      // bytes per status datagram
    std::size_t pidEntries;        // 16 or 32
    std::size_t dvbMacOffset;      // 0x84 or 0xA4; 0 when the model sends none
    bool echoesReset;              // every model but the T22CA echoes its reset
    bool hasCaTable;               // only the T22CA takes the conditional-access table
    bool networkFlagsConfirmBit0;  // the T22 2.x shows its network flags byte 1 in option bit 0
};

const ModelTraits& TraitsOf(Model model);

// Looks a model up by its command-line name ("r40", "r40v", "t22v2", "t22v3",
// "t22ca", "trevan"); case-insensitive.
std::optional<Model> ModelFromKey(std::string_view key);

// Bytes of a PID table write command and of the table read reply.
inline std::size_t PidTableMessageSize(Model model) {
    return TABLE_HEADER_SIZE + TABLE_ENTRY_SIZE * TraitsOf(model).pidEntries;
}

// Bytes of a conditional-access table write command.
inline constexpr std::size_t CA_TABLE_MESSAGE_SIZE =
    TABLE_HEADER_SIZE + TABLE_ENTRY_SIZE * CA_TABLE_SLOTS;

}  // namespace sim
