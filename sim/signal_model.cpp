#include "sim/signal_model.h"

#include <algorithm>

namespace sim {

SignalModel::SignalModel(Model model, bool animate, std::uint32_t seed)
    : family_(TraitsOf(model).family), animate_(animate), rng_(seed == 0 ? 1 : seed) {}

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
    const bool passing = state.Locked(family_) && state.dataFlowing;
    if (!passing) {
        state.dataCounter = 0;
    } else {
        // Packets counted since start; wraps past 0 so that it stays above 0.
        std::uniform_int_distribution<int> packets(180, 260);
        const int grown = state.dataCounter + (animate_ ? packets(rng_) : 200);
        state.dataCounter = static_cast<std::uint16_t>(grown > 0xFFFF ? grown - 0xFFFF : grown);
    }
    if (!animate_) return;

    if (family_ == Family::Atsc) {
        AtscSignal& a = state.atsc;
        a.errorLevelA = static_cast<std::uint16_t>(
            errorA_.Next(a.errorLevelA, std::max(1, a.errorLevelA / 20), 1, 0xFFFF, rng_));
        a.errorLevelB = static_cast<std::uint16_t>(
            errorB_.Next(a.errorLevelB, std::max(1, a.errorLevelB / 20), 1, 0xFFFF, rng_));
        a.carrierOffset =
            static_cast<std::int16_t>(carrier_.Next(a.carrierOffset, 3, -32768, 32767, rng_));
    } else {
        SatelliteSignal& v = state.satellite;
        // 0xFF means "no signal"; that stays as it is.
        if (v.level != 0xFF)
            v.level = static_cast<std::uint8_t>(level_.Next(v.level, 2, 0, 0xFE, rng_));
    }
}

}  // namespace sim
