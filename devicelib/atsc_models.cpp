#include <cstring>
#include <memory>

#include "devicelib/device_models.h"
#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"
#include "devicelib/status_datagram_layout.h"
#include "devicelib/status_decoder.h"
#include "devicelib/status_views.h"

namespace devicelib {
namespace {

std::uint8_t IgmpFlags(const NetworkSettings& s) {
    return static_cast<std::uint8_t>(s.useIgmp * 4);
}

}  // namespace

// ---- R40 ---------------------------------------------------------------------

CR40::CR40() : WithStandardPidTable(TYPE_R40, STATUS_LENGTH_R40) {}

std::int32_t CR40::ApplyNetworkSettings(const NetworkSettings& s) {
    return ApplyNetworkSettingsWithFlags(s, IgmpFlags(s));
}

std::int32_t CR40::GetStatusRecord(void* record) {
    const std::int32_t decoded =
        DecodeStatusRecord<R40Status>(record, TYPE_R40, SHORT_TABLE_ENTRIES, 1);
    if (decoded != 0) return decoded;
    std::memcpy(static_cast<R40StatusRecord*>(record)->dvbMac, DvbMacBytes(), 6);
    return 0;
}

const std::uint8_t* CR40::DvbMacBytes() const {
    return &m_statusBuffer[status_datagram::DVB_MAC_AFTER_SHORT_TABLE];
}

bool CR40::AcceptStatus() {
    return ATSCDevice::AcceptStatus() &&
           AcceptModelStatus(SHORT_TABLE_ENTRIES,
                             [](std::uint8_t code) { return code == status_datagram::MODEL_R40; });
}

// ---- R40V --------------------------------------------------------------------

CR40Trevan::CR40Trevan() : WithForwardingPidTable(TYPE_R40_TREVAN, STATUS_LENGTH_LONG) {}

std::int32_t CR40Trevan::ApplyNetworkSettings(const NetworkSettings& s) {
    return ApplyNetworkSettingsWithFlags(s, IgmpFlags(s));
}

std::int32_t CR40Trevan::GetStatusRecord(void* record) {
    const std::int32_t decoded =
        DecodeStatusRecord<R40TrevanStatus>(record, TYPE_R40_TREVAN, LONG_TABLE_ENTRIES, 1);
    if (decoded != 0) return decoded;
    std::memcpy(static_cast<R40StatusRecord*>(record)->dvbMac, DvbMacBytes(), 6);
    return 0;
}

const std::uint8_t* CR40Trevan::DvbMacBytes() const {
    return &m_statusBuffer[status_datagram::DVB_MAC_AFTER_LONG_TABLE];
}

bool CR40Trevan::AcceptStatus() {
    return ATSCDevice::AcceptStatus() &&
           AcceptModelStatus(LONG_TABLE_ENTRIES, [](std::uint8_t code) {
               return code == status_datagram::MODEL_R40_TREVAN;
           });
}

}  // namespace devicelib
