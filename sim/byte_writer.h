// Big-endian field writing and reading on datagram buffers, bounds-checked:
// a field that would not fit is left out rather than written past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace sim {

inline void PutU8(std::span<std::uint8_t> buffer, std::size_t offset, std::uint8_t value) {
    if (offset < buffer.size()) buffer[offset] = value;
}

inline void PutU16(std::span<std::uint8_t> buffer, std::size_t offset, std::uint16_t value) {
    if (offset + 2 > buffer.size()) return;
    buffer[offset] = static_cast<std::uint8_t>(value >> 8);
    buffer[offset + 1] = static_cast<std::uint8_t>(value);
}

inline void PutBytes(std::span<std::uint8_t> buffer, std::size_t offset,
                     std::span<const std::uint8_t> bytes) {
    if (offset > buffer.size() || bytes.size() > buffer.size() - offset) return;
    for (std::size_t i = 0; i < bytes.size(); ++i) buffer[offset + i] = bytes[i];
}

// Reads a big-endian word; 0 when it does not fit.
inline std::uint16_t GetU16(std::span<const std::uint8_t> buffer, std::size_t offset) {
    if (offset + 2 > buffer.size()) return 0;
    return static_cast<std::uint16_t>((buffer[offset] << 8) | buffer[offset + 1]);
}

}  // namespace sim
