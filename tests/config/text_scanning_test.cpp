// The number scanners at their edges and the markup limits at their exact
// bounds: the places where an off-by-one lets hostile text through.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "config/document_text.h"
#include "config/value_text.h"

namespace {

std::optional<std::int32_t> Scan(const char* text, std::size_t width = 0) {
    return config::ScanDecimal(text, width);
}

TEST(ScanDecimal, AcceptsExactlyThe32BitRange) {
    EXPECT_EQ(Scan("2147483647"), 2147483647);
    EXPECT_EQ(Scan("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(Scan("2147483648"), std::nullopt);
    EXPECT_EQ(Scan("-2147483649"), std::nullopt);
    EXPECT_EQ(Scan("000000000000000000000042"), 42);
    EXPECT_EQ(Scan(std::string(5000, '9').c_str()), std::nullopt);
}

TEST(ScanDecimal, NeedsADigitAndLeavesTheCursorAfterTheNumber) {
    EXPECT_EQ(Scan(""), std::nullopt);
    EXPECT_EQ(Scan("   "), std::nullopt);
    EXPECT_EQ(Scan("-"), std::nullopt);
    EXPECT_EQ(Scan("+x"), std::nullopt);
    const char* text = " \t\n-17.5";
    EXPECT_EQ(config::ScanDecimal(text), -17);
    EXPECT_STREQ(text, ".5");
    const char* untouched = "abc";
    EXPECT_EQ(config::ScanDecimal(untouched), std::nullopt);
    EXPECT_STREQ(untouched, "abc");
}

TEST(ScanDecimal, WidthCountsTheSignButNotLeadingSpace) {
    EXPECT_EQ(Scan("  12345", 3), 123);
    EXPECT_EQ(Scan("-12345", 3), -12);
    EXPECT_EQ(Scan("+9", 3), 9);
}

TEST(DecimalPrefix, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(config::DecimalPrefix("99999999999999999999"), 2147483647);
    EXPECT_EQ(config::DecimalPrefix("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(config::DecimalPrefix("  -0012abc"), -12);
    EXPECT_EQ(config::DecimalPrefix(""), 0);
}

TEST(DottedAddress, FormatsEveryByteAsUnsignedDecimal) {
    const std::uint8_t address[4] = {0, 9, 128, 255};
    EXPECT_EQ(config::FormatDottedAddress(address), "0.9.128.255");
}

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(DocumentLimits, HoldAtTheirExactBounds) {
    using config::WithinDocumentLimits;
    EXPECT_TRUE(WithinDocumentLimits(Repeat("<a/>", config::MAX_DOCUMENT_ELEMENTS)));
    EXPECT_FALSE(WithinDocumentLimits(Repeat("<a/>", config::MAX_DOCUMENT_ELEMENTS + 1)));
    // Closing tags, comments and declarations open no element.
    EXPECT_TRUE(WithinDocumentLimits(Repeat("</a><!-- --><?x?>", 5000)));
    EXPECT_TRUE(WithinDocumentLimits(Repeat("=", config::MAX_DOCUMENT_ATTRIBUTES)));
    EXPECT_FALSE(WithinDocumentLimits(Repeat("=", config::MAX_DOCUMENT_ATTRIBUTES + 1)));
    EXPECT_TRUE(WithinDocumentLimits(std::string(config::MAX_DOCUMENT_BYTES, ' ')));
    EXPECT_FALSE(WithinDocumentLimits(std::string(config::MAX_DOCUMENT_BYTES + 1, ' ')));
}

}  // namespace
