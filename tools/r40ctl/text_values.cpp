#include "tools/r40ctl/text_values.h"

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace r40ctl {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::optional<std::uint32_t> ParseDigits(std::string_view text, int base, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Hex groups of one or two digits, as many as `bytes` has room for.
template <std::size_t N>
bool ParseHexGroups(const std::vector<std::string_view>& groups,
                    std::array<std::uint8_t, N>& bytes) {
    if (groups.size() != N) return false;
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = ParseDigits(groups[i], 16, 2);
        if (!value) return false;
        bytes[i] = static_cast<std::uint8_t>(*value);
    }
    return true;
}

// A run of hex digits, two per byte.
template <std::size_t N>
bool ParseHexRun(std::string_view text, std::array<std::uint8_t, N>& bytes) {
    if (text.size() != 2 * N) return false;
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = ParseDigits(text.substr(2 * i, 2), 16, 2);
        if (!value) return false;
        bytes[i] = static_cast<std::uint8_t>(*value);
    }
    return true;
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> ParseMacLike(std::string_view text) {
    std::array<std::uint8_t, N> bytes{};
    for (char separator : {'-', ':'})
        if (text.find(separator) != std::string_view::npos)
            return ParseHexGroups(Split(text, separator), bytes) ? std::optional(bytes)
                                                                 : std::nullopt;
    if (N == 6 && text.find('.') != std::string_view::npos) {
        // Three groups of four digits, as switches print them.
        const auto groups = Split(text, '.');
        if (groups.size() != 3) return std::nullopt;
        std::string run;
        for (std::string_view g : groups) {
            if (g.size() != 4) return std::nullopt;
            run += g;
        }
        return ParseHexRun(run, bytes) ? std::optional(bytes) : std::nullopt;
    }
    return ParseHexRun(text, bytes) ? std::optional(bytes) : std::nullopt;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

std::optional<Ipv4> ParseIpv4(std::string_view text) {
    const auto parts = Split(text, '.');
    if (parts.size() != 4) return std::nullopt;
    Ipv4 address{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto value = ParseDigits(parts[i], 10, 3);
        if (!value || *value > 255) return std::nullopt;
        address[i] = static_cast<std::uint8_t>(*value);
    }
    return address;
}

std::optional<Ipv4> ParseSubnetMask(std::string_view text) {
    const auto mask = ParseIpv4(text);
    if (!mask) return std::nullopt;
    const std::uint32_t bits = (std::uint32_t{(*mask)[0]} << 24) |
                               (std::uint32_t{(*mask)[1]} << 16) |
                               (std::uint32_t{(*mask)[2]} << 8) | (*mask)[3];
    const std::uint32_t hostBits = ~bits;
    if (bits == 0 || (hostBits & (hostBits + 1)) != 0) return std::nullopt;
    return mask;
}

std::optional<Mac> ParseMac(std::string_view text) {
    return ParseMacLike<6>(text);
}

std::optional<std::array<std::uint8_t, 3>> ParseMacTail(std::string_view text) {
    return ParseMacLike<3>(text);
}

std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t max) {
    std::optional<std::uint32_t> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        value = ParseDigits(text.substr(2), 16, 8);
    else
        value = ParseDigits(text, 10, 9);
    if (!value || *value > max) return std::nullopt;
    return value;
}

std::optional<bool> ParseSwitch(std::string_view text) {
    const std::string word = Lower(text);
    if (word == "on" || word == "yes" || word == "true" || word == "1") return true;
    if (word == "off" || word == "no" || word == "false" || word == "0") return false;
    return std::nullopt;
}

std::optional<PidRequest> ParsePidRequest(std::string_view text, std::string* why) {
    const std::size_t equals = text.find('=');
    const std::string_view pidText = text.substr(0, equals);
    const auto pid = ParseNumber(pidText, 0xFFFF);
    if (!pid) {
        *why = "\"" + std::string(pidText) + "\" is not a PID (decimal or 0x hexadecimal)";
        return std::nullopt;
    }
    if (*pid == NULL_PID) {
        *why = "PID 8191 (0x1FFF) marks an empty entry and cannot be passed";
        return std::nullopt;
    }
    if (*pid < LOWEST_PID || *pid > HIGHEST_PID) {
        *why = "PID " + std::to_string(*pid) + " is outside 32 to 8190 (0x0020 to 0x1FFE)";
        return std::nullopt;
    }
    PidRequest request;
    request.pid = static_cast<std::uint16_t>(*pid);
    if (equals == std::string_view::npos) return request;

    const std::string_view destination = text.substr(equals + 1);
    const std::size_t colon = destination.rfind(':');
    const auto address = ParseIpv4(destination.substr(0, colon));
    const auto port = colon == std::string_view::npos
                          ? std::nullopt
                          : ParseNumber(destination.substr(colon + 1), 65535);
    if (!address || !port || *port == 0) {
        *why = "\"" + std::string(destination) +
               "\" is not a forwarding destination ADDRESS:PORT (port 1 to 65535)";
        return std::nullopt;
    }
    PidDestination d{};
    for (std::size_t i = 0; i < 4; ++i) d.address[i] = (*address)[i];
    d.port = static_cast<std::uint16_t>(*port);
    request.destination = d;
    return request;
}

std::optional<ListenAddress> ParseListenAddress(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view portText = text.substr(colon + 1);
    // A port is written in decimal digits.
    if (portText.empty() || portText.size() > 5 ||
        !std::all_of(portText.begin(), portText.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    const auto port = ParseNumber(portText, 0xFFFF);
    if (!port) return std::nullopt;
    ListenAddress listen;
    listen.port = static_cast<std::uint16_t>(*port);
    const std::string_view host = text.substr(0, colon);
    if (host.empty()) {
        listen.host = "0.0.0.0";
    } else if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        const std::string inner(host.substr(1, host.size() - 2));
        in6_addr address{};
        if (::inet_pton(AF_INET6, inner.c_str(), &address) != 1) return std::nullopt;
        listen.host = inner;
    } else if (const auto v4 = ParseIpv4(host)) {
        listen.host = FormatIpv4(v4->data());
    } else if (IsHostName(host)) {
        listen.host = std::string(host);  // resolved when bound
    } else {
        return std::nullopt;
    }
    return listen;
}

bool IsHostName(std::string_view text) {
    if (text.empty() || text.size() > 253) return false;
    if (text.back() == '.') text.remove_suffix(1);  // the root
    const std::vector<std::string_view> labels = Split(text, '.');
    for (std::string_view label : labels) {
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
        for (char c : label)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') return false;
    }
    // A last label of digits only is an address (127.1, 127.0.0.256), which
    // the resolver would take in forms no one means.
    const std::string_view last = labels.back();
    return !std::all_of(last.begin(), last.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::optional<std::chrono::seconds> ParseDuration(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint32_t unit = 1;
    switch (text.back()) {
        case 's':
            break;
        case 'm':
            unit = 60;
            break;
        case 'h':
            unit = 3600;
            break;
        case 'd':
            unit = 24 * 3600;
            break;
        default:
            unit = 0;
    }
    if (unit != 0)
        text.remove_suffix(1);
    else
        unit = 1;
    const auto count = ParseDigits(text, 10, 9);
    if (!count) return std::nullopt;
    return std::chrono::seconds(std::int64_t{*count} * unit);
}

std::string FormatIpv4(const std::uint8_t* address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address[0], address[1], address[2], address[3]);
    return text;
}

std::string FormatMac(const std::uint8_t* mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::string FormatPid(std::uint16_t pid) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", pid);
    return text;
}

}  // namespace r40ctl
