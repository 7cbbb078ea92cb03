#include "platform/clock/clock.h"

#include <time.h>

namespace platform::clock {
namespace {

// Seconds are counted from one second before the first use, so NowSeconds()
// is never 0 (0 means "never" in the device objects) and stays small.
timespec Now() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

const std::int64_t kOriginSeconds = Now().tv_sec - 1;

}  // namespace

std::uint32_t NowSeconds() {
    return static_cast<std::uint32_t>(Now().tv_sec - kOriginSeconds);
}

std::int64_t NowMilliseconds() {
    timespec ts = Now();
    return (static_cast<std::int64_t>(ts.tv_sec) - kOriginSeconds) * 1000 + ts.tv_nsec / 1000000;
}

void SleepMilliseconds(std::int64_t ms) {
    if (ms <= 0) return;
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>((ms % 1000) * 1000000)};
    while (::nanosleep(&ts, &ts) != 0) {
    }
}

}  // namespace platform::clock
