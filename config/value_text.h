// Numbers and IPv4 addresses as they stand in a configuration file.
//
// Every scanner here takes untrusted text, never reads past its terminating
// NUL and never overflows: a number that does not fit 32 bits is no number.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace config {

// Scans a decimal number where `cursor` points, as "%d" does: white space,
// an optional sign and at least one digit. `maxChars` (0 for no limit) bounds
// the sign and digits taken, as a field width does. On success `cursor` is
// left just after the number.
std::optional<std::int32_t> ScanDecimal(const char*& cursor, std::size_t maxChars = 0);

// Converts the decimal number at the start of `text` as strtol does: white
// space and a sign first, conversion stops at the first non-digit, no digits
// give 0. Values beyond 32 bits saturate.
std::int32_t DecimalPrefix(const char* text);

// Scans up to four dotted numbers ("%d.%d.%d.%d", or "%3d..." with
// `maxChars` 3) into the address bytes, first number first. Stops at a missing
// number or dot and at a number above 255, which is not stored; a negative
// number stores its low eight bits (-1 gives 255). Returns how many bytes were
// stored; the others are untouched.
int ScanDottedAddress(const char* text, std::span<std::uint8_t, 4> address,
                      std::size_t maxChars = 0);

// A whole text that is one decimal number with an optional fraction
// ("1234.5", " -0.25 "): white space around it, no exponent, no other
// characters. Null or anything else gives nullopt. Never the desktop's
// locale: the point is always '.'.
std::optional<double> ScanFixedPoint(const char* text);

// `value` with `decimals` digits after the point, in the same form.
std::string FormatFixedPoint(double value, int decimals);

// The whole text as one unsigned decimal number up to `max`: digits only, no
// sign, nothing before or after. What a value must look like to be sent.
std::optional<std::uint32_t> ExactDecimal(const std::string& text, std::uint32_t max);

// The whole text as "a.b.c.d": exactly four such numbers up to 255 and
// nothing else (no sign, no fifth number, no words after it).
std::optional<std::array<std::uint8_t, 4>> ExactDottedAddress(const std::string& text);

// "a.b.c.d" with the four bytes as unsigned decimals.
std::string FormatDottedAddress(std::span<const std::uint8_t, 4> address);

// The text with white space at both ends removed and each run inside made
// one space, as values were always read.
std::string CondensedWhiteSpace(const char* text);

// True when `text` is "Yes" in any mixture of capitals and small letters.
bool IsYes(const char* text);

}  // namespace config
