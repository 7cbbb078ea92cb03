#include "dialogs/entry_number.h"

#include <algorithm>
#include <limits>

namespace dialogs {

namespace {

// The digit's value in `base`, or -1.
int DigitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9') value = u - u'0';
    if (u >= u'a' && u <= u'z') value = u - u'a' + 10;
    if (u >= u'A' && u <= u'Z') value = u - u'A' + 10;
    return value < base ? value : -1;
}

bool IsCSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

}  // namespace

std::int32_t ParseEntryNumber(const QString& text, int base) {
    qsizetype i = 0;
    const qsizetype end = text.size();
    while (i < end && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // "0x" counts as a prefix only when a hexadecimal digit follows it;
    // otherwise the "0" alone is the number.
    if (base == 16 && i + 2 < end && text[i] == u'0' &&
        (text[i + 1] == u'x' || text[i + 1] == u'X') && DigitValue(text[i + 2], 16) >= 0)
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
