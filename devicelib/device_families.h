// The two receiver families: ATSC (channel tuning) and satellite
// (frequency and symbol-rate tuning).
#pragma once

#include "devicelib/orvel_device.h"

namespace devicelib {

class ATSCDevice : public COrvelDevice {
  public:
    // Tuning argument: a 16-bit RF channel number.
    std::int32_t Tune(const void* tuning) override;
    bool AcceptStatus() override;

  protected:
    ATSCDevice(std::uint32_t type, std::uint32_t expectedLength)
        : COrvelDevice(type, expectedLength) {}
};

class CSatelliteDevice : public COrvelDevice {
  public:
    bool AcceptStatus() override;

    // The option byte a tuning record asks for; models without bits 3 and 4
    // leave them out.
    static std::uint8_t TuningOptions(const SatelliteTuning& tuning, bool withBits3And4);

  protected:
    CSatelliteDevice(std::uint32_t type, std::uint32_t expectedLength)
        : COrvelDevice(type, expectedLength) {}
    std::int32_t TuneSatellite(const void* tuning, bool withBits3And4);
};

}  // namespace devicelib
