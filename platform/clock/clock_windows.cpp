#include <windows.h>

#include "platform/clock/clock.h"

namespace platform::clock {
namespace {

// The performance counter: monotonic, and finer than the tick count's
// 10 to 16 ms, which the 400 us status drain would not survive.
std::int64_t Ticks() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t TicksPerSecond() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return frequency;
}

// Seconds start at one million at the first use, as on POSIX: never 0 (0
// means "never" in the device objects), and a few seconds subtracted from
// now never reach 0.
const std::int64_t ORIGIN_SECONDS = Ticks() / TicksPerSecond() - 1000000;

}  // namespace

std::uint32_t NowSeconds() {
    return static_cast<std::uint32_t>(Ticks() / TicksPerSecond() - ORIGIN_SECONDS);
}

std::int64_t NowMilliseconds() {
    const std::int64_t ticks = Ticks();
    const std::int64_t perSecond = TicksPerSecond();
    const std::int64_t seconds = ticks / perSecond;
    return (seconds - ORIGIN_SECONDS) * 1000 + (ticks % perSecond) * 1000 / perSecond;
}

void SleepMilliseconds(std::int64_t ms) {
    if (ms <= 0) return;
    // Sleep may wake a tick early; the rest is slept again.
    const std::int64_t end = NowMilliseconds() + ms;
    for (std::int64_t left = ms; left > 0; left = end - NowMilliseconds())
        ::Sleep(static_cast<DWORD>(left));
}

}  // namespace platform::clock
