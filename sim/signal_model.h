// Keeps an emulated receiver's signal alive between status datagrams: the
// data activity counter grows while data flows, and, when animation is on,
// SNR, level and carrier offset wander a little around the values set last.
#pragma once

#include <cstdint>
#include <random>

#include "sim/receiver_model.h"
#include "sim/receiver_state.h"

namespace sim {

class SignalModel {
  public:
    SignalModel(Model model, bool animate, std::uint32_t seed);

    // One status interval passes.
    void Advance(ReceiverState& state);
    // A restart: no data has passed yet.
    static void Restart(ReceiverState& state) { state.dataCounter = 0; }

  private:
    // A value wanders around a centre. The centre follows whatever someone
    // else writes: when the field no longer holds what this model last put
    // there, the new value becomes the centre.
    struct Wander {
        bool started = false;
        int centre = 0;
        int written = 0;
        int Next(int current, int spread, int low, int high, std::minstd_rand& rng);
    };

    Family m_family;
    bool m_animate;
    std::minstd_rand m_rng;
    Wander m_errorA, m_errorB, m_carrier, m_level;
};

}  // namespace sim
