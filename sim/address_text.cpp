#include "sim/address_text.h"

#include <cstdio>

namespace sim {

std::string FormatIpv4(const Ipv4& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

std::string FormatMac(const MacAddress& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::optional<Ipv4> ParseIpv4(std::string_view text) {
    Ipv4 out{};
    std::size_t octet = 0, pos = 0;
    while (octet < 4) {
        std::size_t digits = 0;
        unsigned value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || value > 255) return std::nullopt;
        out[octet++] = static_cast<std::uint8_t>(value);
        if (octet < 4) {
            if (pos >= text.size() || text[pos] != '.') return std::nullopt;
            ++pos;
        }
    }
    if (pos != text.size()) return std::nullopt;
    return out;
}

}  // namespace sim
