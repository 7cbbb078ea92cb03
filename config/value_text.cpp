#include "config/value_text.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace config {
namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::int64_t INT32_LOWEST = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t INT32_HIGHEST = std::numeric_limits<std::int32_t>::max();

// Accumulates digits, keeping the magnitude just beyond the 32-bit range so a
// long run of digits cannot overflow.
struct Digits {
    std::int64_t magnitude = 0;
    std::size_t count = 0;
    void Add(char c) {
        if (magnitude <= INT32_HIGHEST + 1) magnitude = magnitude * 10 + (c - '0');
        ++count;
    }
};

}  // namespace

std::optional<std::int32_t> ScanDecimal(const char*& cursor, std::size_t maxChars) {
    const char* p = cursor;
    while (IsSpace(*p)) ++p;
    const std::size_t limit = maxChars == 0 ? std::numeric_limits<std::size_t>::max() : maxChars;
    std::size_t taken = 0;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
        ++taken;
    }
    Digits digits;
    while (taken < limit && IsDigit(*p)) {
        digits.Add(*p++);
        ++taken;
    }
    if (digits.count == 0) return std::nullopt;
    const std::int64_t value = negative ? -digits.magnitude : digits.magnitude;
    if (value < INT32_LOWEST || value > INT32_HIGHEST) return std::nullopt;
    cursor = p;
    return static_cast<std::int32_t>(value);
}

std::int32_t DecimalPrefix(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '-' || *p == '+') negative = *p++ == '-';
    Digits digits;
    while (IsDigit(*p)) digits.Add(*p++);
    const std::int64_t value = negative ? -digits.magnitude : digits.magnitude;
    if (value < INT32_LOWEST) return static_cast<std::int32_t>(INT32_LOWEST);
    if (value > INT32_HIGHEST) return static_cast<std::int32_t>(INT32_HIGHEST);
    return static_cast<std::int32_t>(value);
}

std::optional<double> ScanFixedPoint(const char* text) {
    if (text == nullptr) return std::nullopt;
    const char* begin = text;
    while (IsSpace(*begin)) ++begin;
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsSpace(end[-1])) --end;
    // Only a sign, digits and one point: from_chars alone would also take
    // "inf", "nan" and exponents.
    const char* p = begin;
    if (p < end && (*p == '-' || *p == '+')) ++p;
    const char* digitsStart = p;
    std::size_t digits = 0;
    bool point = false;
    for (; p < end; ++p) {
        if (IsDigit(*p))
            ++digits;
        else if (*p == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    double value = 0.0;
    const auto [last, error] = std::from_chars(digitsStart, end, value, std::chars_format::fixed);
    if (error != std::errc() || last != end) return std::nullopt;
    return *begin == '-' ? -value : value;
}

std::string FormatFixedPoint(double value, int decimals) {
    char text[64];
    const auto [last, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return "0";
    return std::string(text, last);
}

std::optional<std::uint32_t> ExactDecimal(const std::string& text, std::uint32_t max) {
    // Ten digits hold every 32-bit value; more are too many whatever they say.
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > max) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::array<std::uint8_t, 4>> ExactDottedAddress(const std::string& text) {
    std::array<std::uint8_t, 4> address{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const std::size_t dot = text.find('.', start);
        const bool last = i + 1 == address.size();
        if (last != (dot == std::string::npos)) return std::nullopt;
        const auto number =
            ExactDecimal(text.substr(start, last ? std::string::npos : dot - start), 255);
        if (!number) return std::nullopt;
        address[i] = static_cast<std::uint8_t>(*number);
        start = dot + 1;
    }
    return address;
}

int ScanDottedAddress(const char* text, std::span<std::uint8_t, 4> address, std::size_t maxChars) {
    const char* p = text;
    int stored = 0;
    for (std::uint8_t& byte : address) {
        if (stored > 0) {
            if (*p != '.') break;
            ++p;
        }
        const auto number = ScanDecimal(p, maxChars);
        if (!number || *number > 255) break;
        byte = static_cast<std::uint8_t>(*number & 0xFF);
        ++stored;
    }
    return stored;
}

std::string FormatDottedAddress(std::span<const std::uint8_t, 4> address) {
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
           std::to_string(address[2]) + "." + std::to_string(address[3]);
}

std::string CondensedWhiteSpace(const char* text) {
    std::string out;
    bool pendingSpace = false;
    for (; *text != '\0'; ++text) {
        if (IsSpace(*text)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) out += ' ';
        pendingSpace = false;
        out += *text;
    }
    return out;
}

bool IsYes(const char* text) {
    const char* expected = "yes";
    for (; *expected != '\0'; ++text, ++expected) {
        const char lower = (*text >= 'A' && *text <= 'Z') ? static_cast<char>(*text + 32) : *text;
        if (lower != *expected) return false;
    }
    return *text == '\0';
}

}  // namespace config
