#include "platform/clock/clock.h"

#include <time.h>

namespace platform::clock {
namespace {

// Seconds start at one million at the first use: never 0 (0 means "never" in
// the device objects), and a few seconds subtracted from now never reach 0.
timespec Now() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

const std::int64_t ORIGIN_SECONDS = Now().tv_sec - 1000000;

}  // namespace

std::uint32_t NowSeconds() {
    return static_cast<std::uint32_t>(Now().tv_sec - ORIGIN_SECONDS);
}

std::int64_t NowMilliseconds() {
    timespec ts = Now();
    return (static_cast<std::int64_t>(ts.tv_sec) - ORIGIN_SECONDS) * 1000 + ts.tv_nsec / 1000000;
}

void SleepMilliseconds(std::int64_t ms) {
    if (ms <= 0) return;
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>((ms % 1000) * 1000000)};
    while (::nanosleep(&ts, &ts) != 0) {
    }
}

}  // namespace platform::clock
