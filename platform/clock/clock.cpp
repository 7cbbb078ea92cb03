#include "platform/clock/clock.h"

namespace platform::clock {

const Clock& SystemClock() {
    struct Monotonic final : Clock {
        std::uint32_t Seconds() const override { return NowSeconds(); }
    };
    static const Monotonic clock;
    return clock;
}

}  // namespace platform::clock
