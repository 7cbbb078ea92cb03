// How the history chart writes its numbers: the header's values with a
// fixed count of places, halves rounded away from zero, and the scale's
// labels without trailing zeros.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "console/chart_numbers.h"

namespace console {
namespace {

TEST(ChartNumbers, FixedPlacesRoundHalvesAwayFromZeroAndEverythingElseToNearest) {
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        // Exact halves in binary: round-to-even would give 12.2, 20.2, 18, -6.2.
        {12.25, 1, "12.3"},
        {20.25, 1, "20.3"},
        {18.5, 0, "19"},
        {0.5, 0, "1"},
        {-6.25, 1, "-6.3"},
        {-34.5, 0, "-35"},
        // Near halves that are not exact in binary go to the nearer side.
        {12.35, 1, "12.3"},  // 12.3499999...
        {0.15, 1, "0.1"},    // 0.1499999...
        {2.675, 2, "2.67"},  // 2.67499999...
        {12.75, 1, "12.8"},
        // Plain values keep their places.
        {7.0, 1, "7.0"},
        {100.0, 0, "100"},
        {75.0, 0, "75"},
        {-0.04, 1, "-0.0"},
        {24.96, 1, "25.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedText(c.value, c.decimals), c.text) << c.value << " to " << c.decimals;
}

TEST(ChartNumbers, FixedPlacesOfNoNumberAreDashes) {
    EXPECT_EQ(FixedText(std::numeric_limits<double>::quiet_NaN(), 1), "--");
    EXPECT_EQ(FixedText(std::numeric_limits<double>::infinity(), 1), "--");
}

TEST(ChartNumbers, ScaleLabelsHaveNoTrailingZeros) {
    EXPECT_EQ(ScaleText(0), "0");
    EXPECT_EQ(ScaleText(25), "25");
    EXPECT_EQ(ScaleText(-5), "-5");
    EXPECT_EQ(ScaleText(12.5), "12.5");
    EXPECT_EQ(ScaleText(100), "100");
}

}  // namespace
}  // namespace console
