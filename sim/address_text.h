// Dotted-decimal addresses and dashed MAC addresses as text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/receiver_state.h"

namespace sim {

std::string FormatIpv4(const Ipv4& address);   // "127.0.0.20"
std::string FormatMac(const MacAddress& mac);  // "02-5C-C1-00-00-14"
// Strict: four decimal octets 0-255, no spaces, no leading '+'.
std::optional<Ipv4> ParseIpv4(std::string_view text);

}  // namespace sim
