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

// The clock the device objects read when they stamp a status and judge its
// freshness: the system's monotonic clock (NowSeconds) unless a test hands
// them a FakeClock (fake_clock.h) that it moves by hand. Waits on sockets
// always run on real time.
class Clock {
  public:
    virtual ~Clock() = default;
    // Whole seconds, never 0 (0 stands for "never").
    virtual std::uint32_t Seconds() const = 0;
};

const Clock& SystemClock();

}  // namespace platform::clock
