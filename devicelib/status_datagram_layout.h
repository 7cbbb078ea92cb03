// Where the fields of a receiver's status datagram lie: byte offsets from
// the start of the datagram, as the device objects and the decoder read it.
// Multi-byte fields are big-endian on the wire; AcceptStatus converts the
// words listed here to host order in place before anything reads them, so
// the readers take them in host order. Fields not converted are bytes or
// addresses, read as they came.
//
// The emulator (sim/status_datagram.cpp) writes the same layout from its own
// table on purpose: each checks the other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace devicelib::status_datagram {

// ---- Model codes, the byte at MODEL_CODE ---------------------------------------
inline constexpr std::uint8_t MODEL_T22_V2 = 0x32;  // opened, any code whose low four bits are 2
inline constexpr std::uint8_t MODEL_T22_V3 = 0x33;
inline constexpr std::uint8_t MODEL_TREVAN = 0x34;  // a T22CA may send it too
inline constexpr std::uint8_t MODEL_R40 = 0x43;
inline constexpr std::uint8_t MODEL_R40_TREVAN = 0x44;  // the R40V
inline constexpr std::uint8_t MODEL_T22CA = 0x54;

// ---- Common part, every model ------------------------------------------------
inline constexpr std::size_t HEAD_BLOCK = 0x00;  // 32 bytes; the T22CA's: 16 CA words
inline constexpr std::size_t HEAD_BLOCK_LENGTH = 32;
// One word once converted: the model code in the high byte, the version
// (major in the high four bits, minor in the low four) in the low byte.
// Before conversion, the byte at MODEL_CODE is the model code.
inline constexpr std::size_t MODEL_AND_VERSION = 0x20;
inline constexpr std::size_t MODEL_CODE = 0x20;
inline constexpr std::size_t UNICAST_STATUS_ADDRESS = 0x22;  // 4 bytes
inline constexpr std::size_t SUBNET_MASK = 0x26;             // 4 bytes
inline constexpr std::size_t DEFAULT_GATEWAY = 0x2A;         // 4 bytes
inline constexpr std::size_t STATUS_PORT = 0x2E;             // word
inline constexpr std::size_t MAC = 0x30;                     // 6 bytes
inline constexpr std::size_t MODE_WORD = 0x36;
inline constexpr std::uint16_t MODE_SET = 0x0400;  // the one value that sets the mode flag
inline constexpr std::size_t WORD_38 = 0x38;
inline constexpr std::size_t DATA_ACTIVITY = 0x52;  // above 0 while data flows
inline constexpr std::size_t WORD_54 = 0x54;
inline constexpr std::size_t WORD_56 = 0x56;
inline constexpr std::size_t WORD_58 = 0x58;
inline constexpr std::size_t WORD_5A = 0x5A;
inline constexpr std::size_t WORD_5C = 0x5C;
inline constexpr std::size_t WORD_5E = 0x5E;
inline constexpr std::size_t WORD_60 = 0x60;
inline constexpr std::size_t OPTION_FLAGS = 0x62;  // byte
inline constexpr int OPTION_IGMP_BIT = 2;          // set while the receiver uses IGMP
inline constexpr std::size_t BYTE_63 = 0x63;
// The PID table: 16 words on the R40 and T22 (3.x), 32 on the others; bits
// 0 to 12 the PID, 13 to 15 the control value.
inline constexpr std::size_t PID_TABLE = 0x64;
inline constexpr std::uint16_t PID_BITS = 0x1FFF;
inline constexpr int CONTROL_SHIFT = 13;
// The DVB MAC address follows the PID table (not sent by the T22 (2.x)).
inline constexpr std::size_t DVB_MAC_AFTER_SHORT_TABLE = 0x84;
inline constexpr std::size_t DVB_MAC_AFTER_LONG_TABLE = 0xA4;
// The fewest bytes that hold the MAC address.
inline constexpr std::size_t THROUGH_MAC = MAC + 6;

// Words every model converts.
inline constexpr std::uint16_t COMMON_WORDS[] = {
    MODEL_AND_VERSION, STATUS_PORT, MODE_WORD, WORD_38, DATA_ACTIVITY, WORD_54,
    WORD_56,           WORD_58,     WORD_5A,   WORD_5C, WORD_5E,       WORD_60};

// ---- ATSC family part (R40, R40V) ---------------------------------------------
namespace atsc {
inline constexpr std::size_t CHANNEL = 0x3A;         // word
inline constexpr std::size_t RECEIVER_FLAGS = 0x3C;  // byte
inline constexpr int LOCK_BIT = 0;
inline constexpr int SNR_LOW_BIT = 4;            // error level A reads 3 dB low
inline constexpr std::size_t MODULATION = 0x3D;  // byte: 6 or 5
inline constexpr std::size_t BYTE_3E = 0x3E;
inline constexpr std::size_t BYTE_3F = 0x3F;
inline constexpr std::size_t ERROR_LEVEL_A = 0x40;   // word, the SNR's source
inline constexpr std::size_t ERROR_LEVEL_B = 0x42;   // word, a second SNR source
inline constexpr std::size_t CARRIER_OFFSET = 0x44;  // signed word, 1/65535 of 10.76 MHz
inline constexpr std::size_t VALUE_46 = 0x46;        // word, 1/1024 units
inline constexpr std::size_t VALUE_48 = 0x48;        // word, 1/1024 units
inline constexpr std::size_t WORD_4A = 0x4A;
inline constexpr std::size_t WORD_4C = 0x4C;
inline constexpr std::size_t WORD_4E = 0x4E;

inline constexpr std::uint16_t FAMILY_WORDS[] = {CHANNEL,        ERROR_LEVEL_A, ERROR_LEVEL_B,
                                                 CARRIER_OFFSET, VALUE_46,      VALUE_48,
                                                 WORD_4A,        WORD_4C,       WORD_4E};
}  // namespace atsc

// ---- Satellite family part (T22 (2.x), T22 (3.x), T22CA, Trevan) --------------
namespace satellite {
inline constexpr std::size_t SYMBOL_RATE = 0x3A;   // word, thousandths of the tuning unit
inline constexpr std::size_t FREQUENCY = 0x3C;     // word, tenths of the tuning unit
inline constexpr std::size_t TUNING_FLAGS = 0x3E;  // byte: option bits 0 to 4 as tuned
inline constexpr std::size_t CODE_3F = 0x3F;
inline constexpr std::size_t SIGNAL_LEVEL = 0x40;    // byte; 0xFF: none
inline constexpr std::size_t RECEIVER_FLAGS = 0x41;  // byte
inline constexpr int LOCK_BIT = 1;
inline constexpr std::size_t MANTISSA = 0x42;  // 3 bytes, big-endian
inline constexpr std::size_t EXPONENT = 0x45;  // byte
inline constexpr std::size_t BYTE_46 = 0x46;
inline constexpr std::size_t BLOCK_48 = 0x48;  // 8 bytes
inline constexpr std::size_t BLOCK_48_LENGTH = 8;
inline constexpr std::size_t BYTE_4E = 0x4E;  // the T22CA's: bits 4-5 and 0-3

inline constexpr std::uint16_t FAMILY_WORDS[] = {SYMBOL_RATE, FREQUENCY};
}  // namespace satellite

}  // namespace devicelib::status_datagram
