// A clock that stands still until a test moves it, for checking what a
// device object makes of a status's age without waiting seconds.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock/clock.h"

namespace platform::clock {

class FakeClock final : public Clock {
  public:
    std::uint32_t Seconds() const override { return m_seconds.load(); }
    void AdvanceSeconds(std::uint32_t seconds) { m_seconds += seconds; }

  private:
    // Far from 0, as the system clock: 0 means "never" to the device objects.
    std::atomic<std::uint32_t> m_seconds{1000000};
};

}  // namespace platform::clock
