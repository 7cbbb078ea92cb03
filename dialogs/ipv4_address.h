// IPv4 addresses as the dialogs hold them: 4 bytes, first number of the
// dotted form first, as in the device library's records. The address
// control is set and read as one 32-bit value with the first number in its
// most significant byte.
#pragma once

#include <array>
#include <cstdint>

namespace dialogs {

using Ipv4Address = std::array<std::uint8_t, 4>;

constexpr std::uint32_t ToControlValue(const Ipv4Address& address) {
    return (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) |
           (std::uint32_t{address[2]} << 8) | std::uint32_t{address[3]};
}

constexpr Ipv4Address FromControlValue(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

}  // namespace dialogs
