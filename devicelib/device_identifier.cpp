#include "devicelib/device_identifier.h"

#include <cstring>

#include "platform/clock/clock.h"

namespace devicelib {

CDeviceIdentifier::CDeviceIdentifier() : COrvelDevice(TYPE_NONE, STATUS_LENGTH_LONG) {
    m_statusBuffer.fill(0);
}

std::uint16_t CDeviceIdentifier::TypeFromModelCode(std::uint8_t code) {
    switch (code) {
        case 0x32:
            return TYPE_T22_V2;
        case 0x33:
            return TYPE_T22_V3;
        case 0x43:
            return TYPE_R40;
        case 0x44:
            return TYPE_R40_TREVAN;
        case 0x34:
            return TYPE_TREVAN;
        case 0x54:
            return TYPE_T22CA;
        default:
            return TYPE_UNRECOGNISED;
    }
}

bool CDeviceIdentifier::AcceptStatus() {
    m_type = TypeFromModelCode(m_statusBuffer[0x20]);
    if (m_type == TYPE_UNRECOGNISED) return false;
    // A datagram too short to hold the MAC address would list the device
    // under bytes left over from an earlier datagram.
    if (m_listener.LastLength() < 0x36) return false;
    m_listener.LastSource(m_address);
    m_addressKnown = true;
    std::memcpy(m_mac.data(), &m_statusBuffer[0x30], m_mac.size());
    return true;
}

std::int32_t CDeviceIdentifier::SecondsListening() const {
    if (!IsListenerOpen()) return RC_NOT_LISTENING;
    return static_cast<std::int32_t>(platform::clock::NowSeconds() - m_listenerOpenedAt);
}

void CDeviceIdentifier::FillDeviceInfo(DeviceInfo* entry) const {
    std::memcpy(entry->address, m_address.data(), 4);
    std::memcpy(entry->mac, m_mac.data(), 6);
    entry->statusPort = m_statusPort;
    entry->deviceType = static_cast<std::uint16_t>(m_type & 0xFFFF);
}

}  // namespace devicelib
