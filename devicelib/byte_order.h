// Receivers speak big-endian; records hold host order. These helpers read
// and write 16-bit words at any alignment.
#pragma once

#include <cstdint>
#include <cstring>

namespace devicelib {

inline std::uint16_t LoadBigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline void StoreBigEndian16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline std::uint16_t LoadHost16(const std::uint8_t* p) {
    std::uint16_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline void StoreHost16(std::uint8_t* p, std::uint16_t value) {
    std::memcpy(p, &value, sizeof value);
}

// Big-endian word at p becomes a host-order word at p.
inline void BigEndianToHostInPlace(std::uint8_t* p) {
    StoreHost16(p, LoadBigEndian16(p));
}

// Host-order word at p becomes a big-endian word at p.
inline void HostToBigEndianInPlace(std::uint8_t* p) {
    StoreBigEndian16(p, LoadHost16(p));
}

}  // namespace devicelib
