#include "devicelib/device_identifier.h"
#include "devicelib/status_datagram_layout.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/clock/clock.h"

namespace devicelib {

namespace {

// A datagram too short to hold the MAC address would list the device under
// bytes left over from an earlier datagram.
constexpr std::uint32_t SHORTEST_IDENTIFIABLE = status_datagram::THROUGH_MAC;
// A flood must not keep one wait reading for ever once its time is up.
constexpr int MAX_DATAGRAMS_PER_WAIT = 4096;

}  // namespace

CDeviceIdentifier::CDeviceIdentifier() : COrvelDevice(TYPE_NONE, STATUS_LENGTH_LONG) {
    m_statusBuffer.fill(0);
    // Every model's datagram is identified, the shortest (138 bytes) too.
    m_shortestStatus = SHORTEST_IDENTIFIABLE;
}

std::uint16_t CDeviceIdentifier::TypeFromModelCode(std::uint8_t code) {
    switch (code) {
        case status_datagram::MODEL_T22_V2:
            return TYPE_T22_V2;
        case status_datagram::MODEL_T22_V3:
            return TYPE_T22_V3;
        case status_datagram::MODEL_R40:
            return TYPE_R40;
        case status_datagram::MODEL_R40_TREVAN:
            return TYPE_R40_TREVAN;
        case status_datagram::MODEL_TREVAN:
            return TYPE_TREVAN;
        case status_datagram::MODEL_T22CA:
            return TYPE_T22CA;
        default:
            return TYPE_UNRECOGNISED;
    }
}

bool CDeviceIdentifier::AcceptStatus() {
    m_type = TypeFromModelCode(m_statusBuffer[status_datagram::MODEL_CODE]);
    if (m_type == TYPE_UNRECOGNISED) return false;
    m_listener.LastSource(m_address);
    m_addressKnown = true;
    std::memcpy(m_mac.data(), &m_statusBuffer[status_datagram::MAC], m_mac.size());
    return true;
}

std::int32_t CDeviceIdentifier::WaitRecognisedStatus(int timeoutMs) {
    if (!IsListenerOpen()) {
        const std::int32_t opened = OpenListener();
        if (opened != 0) return opened;
    }
    // Noise on a busy LAN must neither hide the receivers behind it nor keep
    // the pass going: an unrecognised datagram is passed over and the wait
    // goes on, but only until the deadline it began with. What is queued by
    // then is still read, so a receiver's datagram behind the noise is found.
    const std::int64_t deadline = platform::clock::NowMilliseconds() + std::max(timeoutMs, 0);
    for (int taken = 0; taken < MAX_DATAGRAMS_PER_WAIT; ++taken) {
        const std::int64_t left =
            std::max<std::int64_t>(0, deadline - platform::clock::NowMilliseconds());
        const std::uint32_t lastAccepted = m_lastStatusAt;
        switch (m_listener.ReceiveOnce(std::chrono::milliseconds(left))) {
            case CStatusListner::Intake::Copied:
                if (AcceptCopiedStatus(lastAccepted)) return 0;
                break;
            case CStatusListner::Intake::Skipped:
                break;
            case CStatusListner::Intake::NothingArrived:
            case CStatusListner::Intake::Failed:
                return ERR_STATUS_TIMEOUT;
        }
    }
    return ERR_STATUS_TIMEOUT;
}

std::int32_t CDeviceIdentifier::SecondsListening() const {
    if (!IsListenerOpen()) return RC_NOT_LISTENING;
    return static_cast<std::int32_t>(m_clock->Seconds() - m_listenerOpenedAt);
}

void CDeviceIdentifier::FillDeviceInfo(DeviceInfo* entry) const {
    std::memcpy(entry->address, m_address.data(), 4);
    std::memcpy(entry->mac, m_mac.data(), 6);
    entry->statusPort = m_statusPort;
    entry->deviceType = static_cast<std::uint16_t>(m_type & 0xFFFF);
}

}  // namespace devicelib
