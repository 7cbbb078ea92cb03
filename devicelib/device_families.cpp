#include "devicelib/device_families.h"

#include <array>
#include <cmath>
#include <cstring>
#include <optional>

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

    // Whole thousandths and tenths, rounded. A value that does not round to
    // 1 to 65535 of them (no number, zero, negative, too large) would reach
    // the receiver as some other tuning, cut to 16 bits: it is refused
    // before anything is sent. A 16-bit RF channel handed over where the
    // record belongs reads as a tiny frequency and is refused the same way.
    auto wireUnits = [](double value) -> std::optional<std::uint16_t> {
        const double rounded = std::floor(value + 0.5);
        if (!std::isfinite(rounded) || rounded < 1.0 || rounded > 65535.0) return std::nullopt;
        return static_cast<std::uint16_t>(rounded);
    };
    const auto symbolRateUnits = wireUnits(static_cast<double>(tuning.symbolRate) * 1000.0);
    const auto frequencyUnits = wireUnits(static_cast<double>(tuning.frequency) * 10.0);
    if (!symbolRateUnits || !frequencyUnits) return ERR_TUNE_OUT_OF_RANGE;
    std::array<std::uint8_t, 6> command{};
    StoreBigEndian16(&command[0], *symbolRateUnits);
    StoreBigEndian16(&command[2], *frequencyUnits);
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
