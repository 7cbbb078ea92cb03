#include "devicelib/orvel_device.h"

#include <algorithm>
#include <cstring>

#include "devicelib/byte_order.h"
#include "devicelib/pid_list.h"
#include "devicelib/status_datagram_layout.h"
#include "devicelib/temporary_route.h"
#include "platform/clock/clock.h"

namespace devicelib {

COrvelDevice::COrvelDevice(std::uint32_t type, std::uint32_t expectedLength)
    : m_expectedLength(expectedLength),
      m_shortestStatus(expectedLength),
      m_type(type),
      m_ipHelper(&platform::iphelper::SystemIpHelper()) {}

COrvelDevice::~COrvelDevice() {
    // A route still standing is removed too: the workstation is never left
    // with one, whatever way the object goes.
    RemoveRoute();
    CloseListener();
}

std::int32_t COrvelDevice::Tune(const void*) {
    return RC_NOT_OFFERED;
}
std::int32_t COrvelDevice::ApplyNetworkSettings(const NetworkSettings&) {
    return RC_NOT_OFFERED;
}
std::int32_t COrvelDevice::GetStatusRecord(void*) {
    return RC_NOT_OFFERED;
}
std::int32_t COrvelDevice::ReadPidTable(void*) {
    return RC_NOT_OFFERED;
}
std::int32_t COrvelDevice::WritePidTable(void*) {
    return RC_NOT_OFFERED;
}
std::int32_t COrvelDevice::WriteCaTable(const CaTableRecord&) {
    return RC_NOT_OFFERED;
}
const std::uint8_t* COrvelDevice::DvbMacBytes() const {
    return nullptr;
}

std::int32_t COrvelDevice::Attach(const DeviceInfo& entry) {
    if (m_type != TYPE_NONE && m_type != entry.deviceType) return ERR_TYPE_MISMATCH;
    if (m_attached) return ERR_ALREADY_ATTACHED;
    if (!CheckMac(entry.mac)) return ERR_FOREIGN_MAC;
    Ipv4 address;
    std::memcpy(address.data(), entry.address, address.size());
    SetAddress(address);
    SetStatusPort(entry.statusPort);
    m_attached = true;
    return RC_ATTACHED;
}

bool COrvelDevice::GetAddress(Ipv4& out) const {
    if (m_attached) out = m_address;
    return m_attached;
}

bool COrvelDevice::SetAddress(const Ipv4& address) {
    m_address = address;
    m_addressKnown = true;
    return true;
}

bool COrvelDevice::SetStatusPort(std::uint16_t port) {
    m_statusPort = port;
    return true;
}

bool COrvelDevice::CheckMac(const std::uint8_t* mac) {
    if (!std::equal(MAC_PREFIX.begin(), MAC_PREFIX.end(), mac)) {
        m_macKnown = false;
        return false;
    }
    std::copy(mac, mac + m_mac.size(), m_mac.begin());
    m_macKnown = true;
    return true;
}

bool COrvelDevice::SetSourceFilter(bool on) {
    m_sourceFilter = on && m_addressKnown;
    return m_sourceFilter;
}

std::uint16_t COrvelDevice::TypeCode() const {
    return m_attached ? static_cast<std::uint16_t>(m_type & 0xFFFF) : TYPE_UNRECOGNISED;
}

// ---- status reception ------------------------------------------------------

std::int32_t COrvelDevice::OpenListener() {
    if (m_listener.IsOpen()) m_listener.Close();
    if (m_statusPort == 0) return ERR_STATUS_PORT_INVALID;
    if (m_expectedLength == 0) return ERR_NO_STATUS_BUFFER;
    ConfigureListener();
    const std::int32_t opened = m_listener.Open(m_statusPort);
    if (opened != RC_LISTENER_OPEN) return opened;
    m_listenerOpenedAt = m_clock->Seconds();
    return 0;
}

void COrvelDevice::CloseListener() {
    if (m_listener.IsOpen()) m_listener.Close();
}

void COrvelDevice::UseClock(const platform::clock::Clock& clock) {
    m_clock = &clock;
    m_listener.UseClock(clock);
}

void COrvelDevice::ConfigureListener() {
    // Refused while open, when it already points here.
    m_listener.Configure(m_sourceFilter, m_address, m_statusBuffer, m_lastStatusAt,
                         m_expectedLength, m_shortestStatus);
}

bool COrvelDevice::AcceptCopiedStatus(std::uint32_t lastAcceptedBefore) {
    // The listener stamps every datagram it copies; a datagram that
    // AcceptStatus then refuses must not make the last status look fresh.
    if (!AcceptStatus()) {
        m_lastStatusAt = lastAcceptedBefore;
        return false;
    }
    m_lastStatusAt = m_clock->Seconds();
    return true;
}

std::int32_t COrvelDevice::WaitStatus(int timeoutMs) {
    if (!m_listener.IsOpen()) {
        const std::int32_t opened = OpenListener();
        if (opened != 0) return opened;
    }
    const std::uint32_t lastAccepted = m_lastStatusAt;
    const std::int32_t received = m_listener.Receive(timeoutMs);
    if (received != 0) return received;
    return AcceptCopiedStatus(lastAccepted) ? 0 : RC_FAILED;
}

StatusIntake COrvelDevice::TakeStatusDatagram(std::span<const std::uint8_t> datagram,
                                              const Ipv4& source) {
    if (m_expectedLength == 0) return StatusIntake::Skipped;  // no status buffer
    if (!m_listener.IsOpen()) ConfigureListener();
    const std::uint32_t lastAccepted = m_lastStatusAt;
    if (!m_listener.Deliver(datagram, source)) return StatusIntake::Skipped;
    return AcceptCopiedStatus(lastAccepted) ? StatusIntake::Accepted : StatusIntake::Refused;
}

std::int32_t COrvelDevice::WaitFreshStatus(int timeoutMs) {
    if (!m_listener.IsOpen()) return ERR_LISTENER_CLOSED;
    m_listener.Drain();
    return WaitStatus(timeoutMs) == 0 ? 0 : RC_FAILED;
}

bool COrvelDevice::IsStatusFresh() const {
    // 0 means no status was ever accepted.
    if (m_lastStatusAt == 0) return false;
    const std::uint32_t age = m_clock->Seconds() - m_lastStatusAt;
    return age < m_staleAfterMs / 1000;
}

void COrvelDevice::ConvertStatusWords(std::span<const std::uint16_t> offsets) {
    for (std::uint16_t offset : offsets) BigEndianToHostInPlace(&m_statusBuffer[offset]);
}

void COrvelDevice::ConvertStatusWordRange(std::size_t offset, int count) {
    for (int i = 0; i < count; ++i) BigEndianToHostInPlace(&m_statusBuffer[offset + 2 * i]);
}

bool COrvelDevice::AcceptStatus() {
    ConvertStatusWords(status_datagram::COMMON_WORDS);
    if (m_macKnown &&
        !std::equal(m_mac.begin(), m_mac.end(), &m_statusBuffer[status_datagram::MAC]))
        return false;
    return true;
}

}  // namespace devicelib
