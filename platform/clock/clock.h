// Monotonic time for freshness, listening time and waits. A wall-clock jump
// never makes an old status look fresh.
#pragma once

#include <cstdint>

namespace platform::clock {

// Whole seconds on a monotonic clock. The origin is arbitrary but the value is
// always positive, so 0 can stand for "never".
std::uint32_t NowSeconds();

// Milliseconds on the same clock.
std::int64_t NowMilliseconds();

void SleepMilliseconds(std::int64_t ms);

}  // namespace platform::clock
