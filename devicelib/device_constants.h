// Addresses, ports and sizes shared by the device objects.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace devicelib {

using Ipv4 = std::array<std::uint8_t, 4>;  // first octet first
using MacAddress = std::array<std::uint8_t, 6>;

// UDP ports on the receiver.
inline constexpr std::uint16_t PORT_RESET = 39321;
inline constexpr std::uint16_t PORT_NETWORK = 6517;
inline constexpr std::uint16_t PORT_TABLE = 6519;
inline constexpr std::uint16_t PORT_TUNE = 6531;

// Only receivers whose MAC address begins with this are managed.
inline constexpr std::array<std::uint8_t, 3> MAC_PREFIX{0x02, 0x5C, 0xC1};

// The status buffer holds the longest status datagram (170 bytes) and more.
inline constexpr std::size_t STATUS_BUFFER_SIZE = 172;
using StatusBuffer = std::array<std::uint8_t, STATUS_BUFFER_SIZE>;

// Status datagram lengths per model.
inline constexpr std::uint32_t STATUS_LENGTH_R40 = 138;
inline constexpr std::uint32_t STATUS_LENGTH_T22 = 164;
inline constexpr std::uint32_t STATUS_LENGTH_LONG = 170;

// Default status port of a device object: the first of the status ports.
inline constexpr std::uint16_t DEFAULT_STATUS_PORT = 6516;

// Commands are echoed within this time; each exchange tries this often.
inline constexpr int ECHO_TIMEOUT_MS = 1000;
inline constexpr int COMMAND_ATTEMPTS = 4;
// Pause between sending a command and looking for its answer.
inline constexpr int REPLY_DELAY_MS = 30;

// Age after which a status no longer counts.
inline constexpr std::uint32_t STATUS_STALE_AFTER_MS = 4000;

bool IsStatusPort(std::uint16_t port);

}  // namespace devicelib
