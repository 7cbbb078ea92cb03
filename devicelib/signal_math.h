// Quantities derived from a receiver's raw status values.
#pragma once

#include <cstdint>

namespace devicelib {

// ATSC signal-to-noise ratio in dB from an error level and the modulation
// factor. The formula uses 3.14 where pi would stand: the SNR figures
// operators know have always been computed that way. An error level of 0
// gives +infinity.
float SignalToNoiseDb(double modulationFactor, std::uint16_t errorLevel);

// Modulation code of the status: 6 gives 8 (8-VSB), 5 gives 16; the factor
// goes into the SNR.
struct Modulation {
    std::uint8_t value;
    double factor;
};
Modulation ModulationFromCode(std::uint8_t code);

// Carrier offset in Hz from its signed 16-bit word (1/65535 of 10.76 MHz).
float CarrierOffsetHz(std::uint16_t word);

// Signal percentage from the level byte, over a four-point table of falling
// levels: 0 for no signal (0xFF), 110 above the strongest point.
struct LevelPoint {
    int level;
    int percent;
};
using SignalTable = LevelPoint[4];
extern const SignalTable SIGNAL_TABLE_A;  // T22 2.x and 3.x
extern const SignalTable SIGNAL_TABLE_B;  // T22CA and Trevan
std::uint8_t SignalPercent(std::uint8_t level, const SignalTable& table);

// mantissa / 10^(exponent x sign), as a 32-bit float.
float ScaledValue(std::uint32_t mantissa, std::uint8_t exponent, int sign);

// The satellite code byte 0x3F as the records hold it.
std::uint8_t MapCode3F(std::uint8_t code);

}  // namespace devicelib
