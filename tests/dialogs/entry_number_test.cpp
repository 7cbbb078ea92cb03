// The number in a PID entry box: read as strtol reads it with a 32-bit long.
#include <gtest/gtest.h>

#include <limits>

#include "dialogs/entry_number.h"

namespace {

using dialogs::ParseEntryNumber;

std::int32_t Dec(const char* text) {
    return ParseEntryNumber(text, 10);
}
std::int32_t Hex(const char* text) {
    return ParseEntryNumber(text, 16);
}

TEST(EntryNumber, HexadecimalTakesAnOptionalPrefixAndEitherCase) {
    EXPECT_EQ(Hex("0x1E1"), 481);
    EXPECT_EQ(Hex("0X1e1"), 481);
    EXPECT_EQ(Hex("1e1"), 481);
    EXPECT_EQ(Hex("1E1"), 481);
    EXPECT_EQ(Hex(" \t-0x10"), -16);
    // A prefix without a digit after it: the "0" alone is the number.
    EXPECT_EQ(Hex("0x"), 0);
    EXPECT_EQ(Hex("0xg1"), 0);
    EXPECT_EQ(Hex("1FFFz"), 0x1FFF);
}

TEST(EntryNumber, DecimalStopsAtTheFirstCharacterThatIsNoDigit) {
    EXPECT_EQ(Dec("481"), 481);
    EXPECT_EQ(Dec("0x20"), 0);
    EXPECT_EQ(Dec("1e1"), 1);
    EXPECT_EQ(Dec("\n\v\f\r +32 PIDs"), 32);
    EXPECT_EQ(Dec("-5"), -5);
    EXPECT_EQ(Dec("007"), 7);
    // Text is UTF-8: a character beyond ASCII is no digit, whatever its bytes.
    EXPECT_EQ(Dec("12\xC2\xB3"), 12);               // 12 and a superscript three
    EXPECT_EQ(Dec("\xEF\xBC\x91\xEF\xBC\x92"), 0);  // full-width "12"
    EXPECT_EQ(Hex("\xC2\xA0"
                  "1F"),
              0);  // a no-break space is no blank
}

TEST(EntryNumber, NoDigitsGiveZeroAndHugeNumbersStopAtTheRangeEnds) {
    EXPECT_EQ(Dec(""), 0);
    EXPECT_EQ(Dec("   "), 0);
    EXPECT_EQ(Dec("-"), 0);
    EXPECT_EQ(Dec("x1"), 0);
    EXPECT_EQ(Hex("+"), 0);
    EXPECT_EQ(Dec("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Dec("-99999999999999999999"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(Hex("0xFFFFFFFB"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Dec("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(Dec("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

}  // namespace
