// Which tuning a device type takes, and what a receiver can be tuned to.
//
// SetChannel reads its argument by the device's type: a 16-bit RF channel
// for the ATSC models (R40, R40V), a SatelliteTuning record for the
// satellite models (the T22 family and the Trevan). Handed the other kind,
// the library would read whatever lies in memory after the argument and the
// receiver would be tuned to it: every caller (the configuration menu, the
// load-and-apply code, r40ctl) decides here which one it builds.
//
// A satellite tuning travels as whole tenths of a MHz and thousandths of a
// Msym/s in 16 bits each: 0.1 to 6553.5 MHz and 0.001 to 65.535 Msym/s,
// after rounding to those units, are what a receiver can be told. The
// library refuses anything else with ERR_TUNE_OUT_OF_RANGE before sending.
#pragma once

#include <cmath>
#include <cstdint>

#include "devicelib/devicelib.h"

namespace config {

inline bool TakesRfChannel(std::uint16_t deviceType) {
    return deviceType == TYPE_R40 || deviceType == TYPE_R40_TREVAN;
}

inline bool TakesSatelliteTuning(std::uint16_t deviceType) {
    return deviceType == TYPE_T22_V2 || deviceType == TYPE_T22_V3 || deviceType == TYPE_T22CA ||
           deviceType == TYPE_TREVAN;
}

inline constexpr int LOWEST_RF_CHANNEL = 2;
inline constexpr int HIGHEST_RF_CHANNEL = 69;

inline constexpr double LOWEST_FREQUENCY_MHZ = 0.1;
inline constexpr double HIGHEST_FREQUENCY_MHZ = 6553.5;
inline constexpr double LOWEST_SYMBOL_RATE_MSPS = 0.001;
inline constexpr double HIGHEST_SYMBOL_RATE_MSPS = 65.535;

// Tenths of a MHz and thousandths of a Msym/s.
inline constexpr double FREQUENCY_UNITS_PER_MHZ = 10.0;
inline constexpr double SYMBOL_RATE_UNITS_PER_MSPS = 1000.0;

// The five option bits of the tuning command; the T22 (2.x) sends bits 0 to 2 only.
inline constexpr unsigned ALL_TUNING_OPTION_BITS = 0x1F;
inline constexpr unsigned T22_V2_TUNING_OPTION_BITS = 0x07;

inline bool RfChannelInRange(long channel) {
    return channel >= LOWEST_RF_CHANNEL && channel <= HIGHEST_RF_CHANNEL;
}

// The option bits the device type sends.
inline unsigned TuningOptionBitsOf(std::uint16_t deviceType) {
    return deviceType == TYPE_T22_V2 ? T22_V2_TUNING_OPTION_BITS : ALL_TUNING_OPTION_BITS;
}

// `value` × `unitsPerValue`, rounded as the library rounds it, lies in 1 to
// 65535. The record holds floats: the value is judged as the library will see it.
inline bool FitsTuningWord(double value, double unitsPerValue) {
    const double seen = static_cast<double>(static_cast<float>(value));
    const double units = std::floor(seen * unitsPerValue + 0.5);
    return std::isfinite(units) && units >= 1.0 && units <= 65535.0;
}

inline bool FrequencyInRange(double megahertz) {
    return FitsTuningWord(megahertz, FREQUENCY_UNITS_PER_MHZ);
}

inline bool SymbolRateInRange(double megasymbolsPerSecond) {
    return FitsTuningWord(megasymbolsPerSecond, SYMBOL_RATE_UNITS_PER_MSPS);
}

// The record SetChannel takes for option bits 0 to 4 (bit 0 in tuneOption0 ...).
inline SatelliteTuning MakeSatelliteTuning(double megahertz, double megasymbolsPerSecond,
                                           unsigned optionBits) {
    SatelliteTuning tuning{};
    tuning.frequency = static_cast<float>(megahertz);
    tuning.symbolRate = static_cast<float>(megasymbolsPerSecond);
    tuning.tuneOption0 = (optionBits & 0x01u) != 0 ? 1 : 0;
    tuning.tuneOption1 = (optionBits & 0x02u) != 0 ? 1 : 0;
    tuning.tuneOption2 = (optionBits & 0x04u) != 0 ? 1 : 0;
    tuning.tuneOption3 = (optionBits & 0x08u) != 0 ? 1 : 0;
    tuning.tuneOption4 = (optionBits & 0x10u) != 0 ? 1 : 0;
    return tuning;
}

// The option bits a record asks for, read as the library reads them.
inline unsigned OptionBitsOf(const SatelliteTuning& tuning) {
    unsigned bits = 0;
    if (tuning.tuneOption0 != 0) bits |= 0x01u;
    if (tuning.tuneOption1 == 1) bits |= 0x02u;
    if (tuning.tuneOption2 == 1) bits |= 0x04u;
    if (tuning.tuneOption3 != 0) bits |= 0x08u;
    if (tuning.tuneOption4 != 0) bits |= 0x10u;
    return bits;
}

}  // namespace config
