#include "sim/signal_model.h"

#include <algorithm>

namespace sim {

SignalModel::SignalModel(Model model, bool animate, std::uint32_t seed)
    : m_family(TraitsOf(model).family), m_animate(animate), m_rng(seed == 0 ? 1 : seed) {}

int SignalModel::Wander::Next(int current, int spread, int low, int high, std::minstd_rand& rng) {
    if (!started || current != written) {
        centre = current;
        started = true;
    }
    std::uniform_int_distribution<int> step(-spread, spread);
    written = std::clamp(centre + step(rng), low, high);
    return written;
}

void SignalModel::Advance(ReceiverState& state) {
    const bool passing = state.Locked(m_family) && state.dataFlowing;
    if (!passing) {
        state.dataCounter = 0;
    } else {
        // Packets counted since start; wraps past 0 so that it stays above 0.
        std::uniform_int_distribution<int> packets(180, 260);
        const int grown = state.dataCounter + (m_animate ? packets(m_rng) : 200);
        state.dataCounter = static_cast<std::uint16_t>(grown > 0xFFFF ? grown - 0xFFFF : grown);
    }
    if (!m_animate) return;

    if (m_family == Family::Atsc) {
        AtscSignal& a = state.atsc;
        a.errorLevelA = static_cast<std::uint16_t>(
            m_errorA.Next(a.errorLevelA, std::max(1, a.errorLevelA / 20), 1, 0xFFFF, m_rng));
        a.errorLevelB = static_cast<std::uint16_t>(
            m_errorB.Next(a.errorLevelB, std::max(1, a.errorLevelB / 20), 1, 0xFFFF, m_rng));
        a.carrierOffset =
            static_cast<std::int16_t>(m_carrier.Next(a.carrierOffset, 3, -32768, 32767, m_rng));
    } else {
        SatelliteSignal& v = state.satellite;
        // 0xFF means "no signal"; that stays as it is.
        if (v.level != 0xFF)
            v.level = static_cast<std::uint8_t>(m_level.Next(v.level, 2, 0, 0xFE, m_rng));
    }
}

}  // namespace sim
