// SignalHistory: what the console saw of the selected receiver, one sample
// per status poll, in a ring of fixed size allocated once. At a poll every
// 600 ms the ring holds the last 72 minutes; the oldest sample gives way to
// each new one. Owned and used by the window's thread only.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace console {

struct SignalSample {
    std::int64_t steadyMs = 0;  // monotonic clock: orders samples, spaces the chart
    std::int64_t wallMs = 0;    // wall clock, UTC milliseconds since 1970, for saved files
    float snrDb = std::numeric_limits<float>::quiet_NaN();  // NaN: the model gives none
    std::int16_t signalPercent = -1;                        // -1: the model gives none
    std::uint8_t locked = 0;
    std::uint8_t data = 0;  // data was flowing

    bool HasSnr() const { return std::isfinite(snrDb); }
    bool HasSignalPercent() const { return signalPercent >= 0; }
};

// The value a chart draws as its line: the SNR where the model gives one
// (R40, R40V), else the signal percentage (the T22 family).
enum class SignalQuantity { SnrDb, SignalPercent };

// The quantity's value in a sample; NaN when the sample has none.
double ValueOf(const SignalSample& sample, SignalQuantity quantity);

// Figures over the samples of a time window.
struct SignalStatistics {
    std::size_t samples = 0;
    std::size_t valueSamples = 0;  // those with a value of the quantity
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
    // Changes from locked to unlocked between samples in the window.
    int lockLosses = 0;
};

class SignalHistory {
  public:
    // 72 minutes of polls every 600 ms.
    static constexpr std::size_t CAPACITY = 7200;
    // Samples further apart than this have a gap between them: polls were
    // missed, the receiver was silent or the console was busy.
    static constexpr std::int64_t GAP_MS = 3000;

    explicit SignalHistory(std::size_t capacity = CAPACITY);

    // A sample older than the newest one is taken at the newest one's time,
    // so the ring stays in time order whatever the caller's clock did.
    void Append(SignalSample sample);
    void Clear();

    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_ring.size(); }
    bool Empty() const { return m_size == 0; }
    // Sample `i`, 0 the oldest; `i` must be below Size().
    const SignalSample& At(std::size_t i) const;
    const SignalSample& Newest() const { return At(m_size - 1); }
    // Index of the first sample at or after `steadyMs` (Size() when none).
    std::size_t FirstAtOrAfter(std::int64_t steadyMs) const;
    // Changes with every Append and Clear.
    std::uint64_t Revision() const { return m_revision; }

    SignalStatistics StatisticsSince(std::int64_t steadyMs, SignalQuantity quantity) const;
    // SNR when any sample in the ring has one, else the signal percentage.
    SignalQuantity LineQuantity() const;
    // The samples oldest first, for a worker that must not touch the ring.
    std::vector<SignalSample> Snapshot() const;

  private:
    std::vector<SignalSample> m_ring;
    std::size_t m_first = 0;  // index of the oldest sample in m_ring
    std::size_t m_size = 0;
    std::uint64_t m_revision = 0;
};

}  // namespace console
