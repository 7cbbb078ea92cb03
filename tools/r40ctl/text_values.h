// The values r40ctl takes on its command line and shows in its output.
// Every parser takes the whole text or nothing: trailing characters, signs
// and values out of range are refused (nullopt).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "devicelib/devicelib.h"

namespace r40ctl {

using Ipv4 = std::array<std::uint8_t, 4>;
using Mac = std::array<std::uint8_t, 6>;

// Dotted decimal, four numbers 0 to 255.
std::optional<Ipv4> ParseIpv4(std::string_view text);
// A dotted subnet mask whose one bits are contiguous from the top (0.0.0.0 refused).
std::optional<Ipv4> ParseSubnetMask(std::string_view text);

// A MAC address in any common notation: 02-5C-C1-00-00-14, 02:5c:c1:0:0:14,
// 025cc1000014 or 025c.c100.0014.
std::optional<Mac> ParseMac(std::string_view text);
// The last three MAC bytes: 00-00-14, 00:00:14 or 000014.
std::optional<std::array<std::uint8_t, 3>> ParseMacTail(std::string_view text);

// Decimal or 0x hexadecimal, 0 to `max`.
std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t max);

// on/off, yes/no, true/false, 1/0 in any case.
std::optional<bool> ParseSwitch(std::string_view text);

// One PID of `pids --set`: PID, or PID=ADDRESS:PORT for a forwarded PID.
struct PidRequest {
    std::uint16_t pid = NULL_PID;
    std::optional<PidDestination> destination;
};
// Refuses with a reason in `why` (PIDs outside 32 to 8190, malformed
// destinations, port 0).
std::optional<PidRequest> ParsePidRequest(std::string_view text, std::string* why);

// The PIDs an operator may ask for: below 32 are the transport stream's own
// tables, and 0x1FFF marks an empty entry.
inline constexpr std::uint16_t LOWEST_PID = 32;
inline constexpr std::uint16_t HIGHEST_PID = 0x1FFE;

// HTTP listening address of the exporter: ADDRESS:PORT with an IPv4
// address, a bracketed IPv6 one ([::]:9771) or a host name
// (localhost:9771), or :PORT for every IPv4 interface. Port 0 asks for any
// free port.
struct ListenAddress {
    std::string host;  // as getaddrinfo takes it: 0.0.0.0, ::1, localhost, ...
    std::uint16_t port = 0;
};
std::optional<ListenAddress> ParseListenAddress(std::string_view text);

// A host name as DNS writes them: labels of letters, digits and inner
// hyphens, at most 63 characters each and 253 in all, the last one not all
// digits.
bool IsHostName(std::string_view text);

// A time span: a number of seconds, or a number with s, m, h or d (7d).
std::optional<std::chrono::seconds> ParseDuration(std::string_view text);

std::string FormatIpv4(const std::uint8_t* address);
std::string FormatMac(const std::uint8_t* mac);  // 02-5C-C1-00-00-14
std::string FormatPid(std::uint16_t pid);        // 0x0031

}  // namespace r40ctl
