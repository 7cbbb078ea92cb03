#include "console/signal_history.h"

#include <algorithm>

namespace console {

double ValueOf(const SignalSample& sample, SignalQuantity quantity) {
    if (quantity == SignalQuantity::SnrDb)
        return sample.HasSnr() ? sample.snrDb : std::numeric_limits<double>::quiet_NaN();
    return sample.HasSignalPercent() ? sample.signalPercent
                                     : std::numeric_limits<double>::quiet_NaN();
}

SignalHistory::SignalHistory(std::size_t capacity) : m_ring(std::max<std::size_t>(capacity, 1)) {}

void SignalHistory::Append(SignalSample sample) {
    if (m_size > 0) sample.steadyMs = std::max(sample.steadyMs, Newest().steadyMs);
    if (m_size < m_ring.size()) {
        m_ring[(m_first + m_size) % m_ring.size()] = sample;
        ++m_size;
    } else {
        m_ring[m_first] = sample;
        m_first = (m_first + 1) % m_ring.size();
    }
    ++m_revision;
}

void SignalHistory::Clear() {
    m_first = 0;
    m_size = 0;
    ++m_revision;
}

const SignalSample& SignalHistory::At(std::size_t i) const {
    return m_ring[(m_first + i) % m_ring.size()];
}

std::size_t SignalHistory::FirstAtOrAfter(std::int64_t steadyMs) const {
    std::size_t low = 0;
    std::size_t high = m_size;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (At(middle).steadyMs < steadyMs)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

SignalStatistics SignalHistory::StatisticsSince(std::int64_t steadyMs,
                                                SignalQuantity quantity) const {
    SignalStatistics stats;
    double sum = 0;
    for (std::size_t i = FirstAtOrAfter(steadyMs); i < m_size; ++i) {
        const SignalSample& sample = At(i);
        ++stats.samples;
        const double value = ValueOf(sample, quantity);
        if (std::isfinite(value)) {
            if (stats.valueSamples == 0) {
                stats.minimum = stats.maximum = value;
            } else {
                stats.minimum = std::min(stats.minimum, value);
                stats.maximum = std::max(stats.maximum, value);
            }
            sum += value;
            ++stats.valueSamples;
        }
        if (stats.samples > 1 && At(i - 1).locked != 0 && sample.locked == 0) ++stats.lockLosses;
    }
    if (stats.valueSamples > 0) stats.mean = sum / static_cast<double>(stats.valueSamples);
    return stats;
}

SignalQuantity SignalHistory::LineQuantity() const {
    for (std::size_t i = 0; i < m_size; ++i)
        if (At(i).HasSnr()) return SignalQuantity::SnrDb;
    return SignalQuantity::SignalPercent;
}

std::vector<SignalSample> SignalHistory::Snapshot() const {
    std::vector<SignalSample> samples;
    samples.reserve(m_size);
    for (std::size_t i = 0; i < m_size; ++i) samples.push_back(At(i));
    return samples;
}

}  // namespace console
