// What every backend's screen functions must answer, checked the same way
// on each: the work area holds its point, and a point off every monitor
// falls back to the primary one.
#pragma once

#include <gtest/gtest.h>

#include "platform/window/screen.h"

namespace screen_checks {

inline void ExpectWorkAreaFallsBackToThePrimaryMonitor() {
    using namespace platform::window;
    const Rect primary = GetMonitorWorkArea(Point{0, 0});
    ASSERT_FALSE(primary.IsEmpty());
    EXPECT_EQ(GetMonitorWorkArea(Point{-100000, -100000}), primary) << "off every monitor";
    const Point centre{(primary.left + primary.right) / 2, (primary.top + primary.bottom) / 2};
    EXPECT_EQ(GetMonitorWorkArea(centre), primary);
}

}  // namespace screen_checks
