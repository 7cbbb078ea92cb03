// What a receiver's status says of its configuration: its network settings
// and its tuning. The configuration menu starts its dialogs with these
// values when the last-used file describes another receiver (or none), so
// that confirming a dialog unchanged leaves the receiver as it is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "devicelib/devicelib.h"
#include "devicelib/status_record_size.h"

namespace console {

struct ReceiverState {
    std::uint16_t type = TYPE_UNRECOGNISED;
    std::array<std::uint8_t, 6> mac{};
    std::array<std::uint8_t, 4> address{};
    std::array<std::uint8_t, 4> mask{};
    std::array<std::uint8_t, 4> gateway{};
    std::array<std::uint8_t, 4> unicastStatus{};
    bool igmp = false;                      // off where the status does not say
    std::optional<std::int32_t> channel;    // the R40 and R40V
    std::optional<SatelliteTuning> tuning;  // the satellite models, option bits 0 to 4
};

// The state a status record of `type` describes (`record` as GetDeviceStatus
// filled it, at least devicelib::StatusRecordSize(type) bytes); nullopt otherwise.
std::optional<ReceiverState> ReceiverStateFrom(std::uint16_t type,
                                               std::span<const std::uint8_t> record);

}  // namespace console
