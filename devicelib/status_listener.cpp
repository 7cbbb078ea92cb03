#include "devicelib/status_listener.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "devicelib/devicelib.h"
#include "devicelib/internal_codes.h"
#include "platform/clock/clock.h"

namespace devicelib {
namespace {

using platform::net::ReceiveStatus;
using platform::net::WaitResult;

// A flood of datagrams must not keep a drain going for ever.
constexpr int MAX_DRAINED_DATAGRAMS = 4096;
constexpr std::chrono::microseconds DRAIN_WAIT{400};

}  // namespace

CStatusListner::~CStatusListner() {
    Close();
}

bool CStatusListner::Configure(const bool& filterFlag, const Ipv4& deviceAddress,
                               StatusBuffer& buffer, std::uint32_t& receivedAt,
                               std::uint32_t expectedLength, std::uint32_t shortestLength) {
    if (m_open) return false;
    m_filterFlag = &filterFlag;
    m_deviceAddress = &deviceAddress;
    m_buffer = &buffer;
    m_receivedAt = &receivedAt;
    m_expectedLength = std::min<std::uint32_t>(expectedLength, STATUS_BUFFER_SIZE);
    m_shortestLength = shortestLength;
    return true;
}

std::int32_t CStatusListner::Open(std::uint16_t port) {
    if (m_buffer == nullptr) return ERR_LISTENER_NO_BUFFER;
    if (m_open) Close();
    if (!m_socket.Open()) return ERR_STATUS_SOCKET;
    m_socket.SetReuseAddress(true);
    if (!m_socket.Bind(platform::net::ANY_ADDRESS, port)) {
        m_socket.Close();
        return ERR_STATUS_SOCKET;
    }
    m_open = true;
    return RC_LISTENER_OPEN;
}

void CStatusListner::Close() {
    m_socket.Close();
    m_open = false;
}

bool CStatusListner::Drain() {
    if (!m_open) return false;
    for (int i = 0; i < MAX_DRAINED_DATAGRAMS; ++i) {
        if (m_socket.WaitReadable(DRAIN_WAIT) != WaitResult::Readable) break;
        std::span<std::uint8_t> scratch(m_scratch.data(), m_expectedLength);
        m_socket.Receive(scratch);
    }
    return true;
}

std::int32_t CStatusListner::Receive(int timeoutMs) {
    if (!m_open) return ERR_LISTENER_NOT_OPEN;
    const std::uint32_t start = platform::clock::NowSeconds();
    const auto wait = std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        switch (ReceiveOnce(wait)) {
            case Intake::Copied:
                return 0;
            case Intake::Failed:
                // A receive error leaves no datagram; giving up here keeps a
                // broken socket from spinning the wait.
                return ERR_STATUS_TIMEOUT;
            case Intake::Skipped:
            case Intake::NothingArrived:
                break;
        }
        const std::uint32_t elapsed = platform::clock::NowSeconds() - start;
        if (static_cast<std::int64_t>(elapsed) * 1000 >= timeoutMs || timeoutMs < 1000)
            return ERR_STATUS_TIMEOUT;
    }
}

CStatusListner::Intake CStatusListner::ReceiveOnce(std::chrono::milliseconds wait) {
    if (!m_open) return Intake::Failed;
    if (m_socket.WaitReadable(wait) != WaitResult::Readable) return Intake::NothingArrived;
    // Received into scratch first: a datagram that is skipped must not touch
    // the status buffer.
    std::span<std::uint8_t> scratch(m_scratch.data(), m_expectedLength);
    const platform::net::Received got = m_socket.Receive(scratch);
    if (got.status == ReceiveStatus::TimedOut || got.status == ReceiveStatus::Failed)
        return Intake::Failed;
    return Deliver(scratch.first(got.size), got.source) ? Intake::Copied : Intake::Skipped;
}

bool CStatusListner::Deliver(std::span<const std::uint8_t> datagram, const Ipv4& source) {
    if (m_buffer == nullptr) return false;
    m_lastSource = source;
    const bool filtered = m_filterFlag != nullptr && *m_filterFlag && m_deviceAddress != nullptr &&
                          source != *m_deviceAddress;
    if (filtered) return false;
    // Whatever a datagram lacks would be read from the previous one, whose
    // words are already converted: a short datagram is no status.
    if (datagram.size() < m_shortestLength) return false;
    const std::size_t length = std::min<std::size_t>(datagram.size(), m_expectedLength);
    if (m_receivedAt != nullptr) *m_receivedAt = m_clock->Seconds();
    if (length > 0) std::memcpy(m_buffer->data(), datagram.data(), length);
    m_lastLength = length;
    return true;
}

}  // namespace devicelib
