#include "platform/window/ip_address_control.h"

namespace platform::window {

int IpAddressControl::GetAddress(std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3,
                                 std::uint8_t& b4) const {
    std::uint32_t address = 0;
    const int filled = GetAddress(address);
    b1 = static_cast<std::uint8_t>(address >> 24);
    b2 = static_cast<std::uint8_t>(address >> 16);
    b3 = static_cast<std::uint8_t>(address >> 8);
    b4 = static_cast<std::uint8_t>(address);
    return filled;
}

}  // namespace platform::window
