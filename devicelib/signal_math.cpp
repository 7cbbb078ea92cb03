#include "devicelib/signal_math.h"

#include <cmath>
#include <limits>

namespace devicelib {

const SignalTable SIGNAL_TABLE_A = {{254, 10}, {112, 65}, {105, 80}, {95, 100}};
const SignalTable SIGNAL_TABLE_B = {{254, 10}, {112, 65}, {105, 80}, {85, 100}};

float SignalToNoiseDb(double modulationFactor, std::uint16_t errorLevel) {
    if (errorLevel == 0) return std::numeric_limits<float>::infinity();
    const double ratio = errorLevel / 65535.0;
    return static_cast<float>(10.0 * std::log10(modulationFactor / (0.5 * 3.14 * ratio * ratio)));
}

Modulation ModulationFromCode(std::uint8_t code) {
    if (code == 6) return {8, 0.328125};
    if (code == 5) return {16, 0.33203125};
    return {0, 1.0};
}

float CarrierOffsetHz(std::uint16_t word) {
    return static_cast<float>(static_cast<std::int16_t>(word) * 10760000.0 / 65535.0);
}

std::uint8_t SignalPercent(std::uint8_t level, const SignalTable& table) {
    if (level == 0xFF) return 0;
    const int l = level;
    if (l < table[3].level) return 110;
    if (l == table[3].level) return static_cast<std::uint8_t>(table[3].percent);
    for (int i = 0; i < 3; ++i) {
        const LevelPoint& a = table[i];
        const LevelPoint& b = table[i + 1];
        if (a.level >= l && l > b.level) {
            const double percent = a.percent + static_cast<double>(l - a.level) *
                                                   (b.percent - a.percent) / (b.level - a.level);
            return static_cast<std::uint8_t>(static_cast<int>(percent));
        }
    }
    // Levels above the weakest point (255 aside) read as the weakest percentage.
    return static_cast<std::uint8_t>(table[0].percent);
}

float ScaledValue(std::uint32_t mantissa, std::uint8_t exponent, int sign) {
    return static_cast<float>(mantissa / std::pow(10.0, static_cast<double>(exponent) * sign));
}

std::uint8_t MapCode3F(std::uint8_t code) {
    switch (code) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 3;
        case 4:
            return 5;
        case 6:
            return 7;
        default:
            return 0;
    }
}

}  // namespace devicelib
