#include "devicelib/device_families.h"

#include <array>
#include <cmath>
#include <cstring>

#include "devicelib/byte_order.h"
#include "devicelib/status_datagram_layout.h"

namespace devicelib {

// ---- ATSC ------------------------------------------------------------------

bool ATSCDevice::AcceptStatus() {
    ConvertStatusWords(status_datagram::atsc::FAMILY_WORDS);
    return COrvelDevice::AcceptStatus();
}

std::int32_t ATSCDevice::Tune(const void* tuning) {
    if (!m_attached) return ERR_TUNE_NOT_ATTACHED;
    if (tuning == nullptr) return RC_FAILED;
    std::uint16_t channel;
    std::memcpy(&channel, tuning, sizeof channel);

    std::array<std::uint8_t, 6> command{};
    StoreBigEndian16(command.data(), channel);
    const std::int32_t echoed = EchoWithRetries(PORT_TUNE, command.data(), command.size());
    if (echoed != 0) return echoed;

    const std::int32_t waited = WaitForConfirmingStatus();
    if (waited != 0) return waited;
    return LoadHost16(&m_statusBuffer[status_datagram::atsc::CHANNEL]) == channel
               ? 0
               : ERR_TUNE_NOT_CONFIRMED;
}

// ---- satellite ---------------------------------------------------------------

bool CSatelliteDevice::AcceptStatus() {
    ConvertStatusWords(status_datagram::satellite::FAMILY_WORDS);
    return COrvelDevice::AcceptStatus();
}

std::uint8_t CSatelliteDevice::TuningOptions(const SatelliteTuning& t, bool withBits3And4) {
    std::uint8_t options = 0;
    if (t.tuneOption0 != 0) options |= 0x01;
    if (t.tuneOption1 == 1) options |= 0x02;
    if (t.tuneOption2 == 1) options |= 0x04;
    if (withBits3And4) {
        if (t.tuneOption3 != 0) options |= 0x08;
        if (t.tuneOption4 != 0) options |= 0x10;
    }
    return options;
}

std::int32_t CSatelliteDevice::TuneSatellite(const void* argument, bool withBits3And4) {
    if (!m_attached) return ERR_TUNE_NOT_ATTACHED;
    if (argument == nullptr) return RC_FAILED;
    SatelliteTuning tuning;
    std::memcpy(&tuning, argument, sizeof tuning);
    const std::uint8_t options = TuningOptions(tuning, withBits3And4);

    // Whole thousandths and tenths, rounded, low 16 bits. Absurd values
    // (not finite, beyond 64 bits) become 0 rather than undefined conversions.
    auto wireUnits = [](double value) -> std::uint16_t {
        const double rounded = value + 0.5;
        if (!std::isfinite(rounded) || std::fabs(rounded) >= 9.0e18) return 0;
        return static_cast<std::uint16_t>(static_cast<std::int64_t>(rounded) & 0xFFFF);
    };
    std::array<std::uint8_t, 6> command{};
    StoreBigEndian16(&command[0], wireUnits(static_cast<double>(tuning.symbolRate) * 1000.0));
    StoreBigEndian16(&command[2], wireUnits(static_cast<double>(tuning.frequency) * 10.0));
    command[4] = options;
    command[5] = 8;
    const std::int32_t echoed = EchoWithRetries(PORT_TUNE, command.data(), command.size());
    if (echoed != 0) return echoed;

    const std::int32_t waited = WaitForConfirmingStatus();
    if (waited != 0) return waited;
    const double symbolRate = LoadHost16(&m_statusBuffer[status_datagram::satellite::SYMBOL_RATE]);
    const double frequency = LoadHost16(&m_statusBuffer[status_datagram::satellite::FREQUENCY]);
    const bool confirmed =
        std::fabs(symbolRate - static_cast<double>(tuning.symbolRate) * 1000.0) <= 10.0 &&
        std::fabs(frequency - static_cast<double>(tuning.frequency) * 10.0) <= 100.0 &&
        m_statusBuffer[status_datagram::satellite::TUNING_FLAGS] == options;
    return confirmed ? 0 : ERR_TUNE_NOT_CONFIRMED;
}

}  // namespace devicelib
