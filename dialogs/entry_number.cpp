#include "dialogs/entry_number.h"

#include <algorithm>
#include <limits>

namespace dialogs {

namespace {

// The digit's value in `base`, or -1.
int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'z') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') value = c - 'A' + 10;
    return value < base ? value : -1;
}

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::int32_t ParseEntryNumber(std::string_view text, int base) {
    std::size_t i = 0;
    const std::size_t end = text.size();
    while (i < end && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "0x" counts as a prefix only when a hexadecimal digit follows it;
    // otherwise the "0" alone is the number.
    if (base == 16 && i + 2 < end && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2], 16) >= 0)
        i += 2;

    // Digits beyond the range keep the magnitude just past it, then clamp.
    constexpr std::int64_t CAP = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (int digit = 0; i < end && (digit = DigitValue(text[i], base)) >= 0; ++i)
        magnitude = std::min(CAP, magnitude * base + digit);
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace dialogs
