#include "devicelib/status_listener.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "devicelib/devicelib.h"
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
                               std::uint32_t expectedLength) {
    if (m_open) return false;
    m_filterFlag = &filterFlag;
    m_deviceAddress = &deviceAddress;
    m_buffer = &buffer;
    m_receivedAt = &receivedAt;
    m_expectedLength = std::min<std::uint32_t>(expectedLength, STATUS_BUFFER_SIZE);
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
    for (;;) {
        const auto wait = std::chrono::milliseconds(std::max(timeoutMs, 0));
        if (m_socket.WaitReadable(wait) == WaitResult::Readable) {
            // Received into scratch first: a datagram from another source
            // must not touch the status buffer.
            std::span<std::uint8_t> scratch(m_scratch.data(), m_expectedLength);
            const platform::net::Received got = m_socket.Receive(scratch);
            if (got.status == ReceiveStatus::TimedOut) return ERR_STATUS_TIMEOUT;
            // Any other receive error leaves no datagram; giving up here
            // keeps a broken socket from spinning the wait.
            if (got.status == ReceiveStatus::Failed) return ERR_STATUS_TIMEOUT;
            m_lastSource = got.source;
            const bool filtered = m_filterFlag != nullptr && *m_filterFlag &&
                                  m_deviceAddress != nullptr && got.source != *m_deviceAddress;
            if (!filtered) {
                *m_receivedAt = platform::clock::NowSeconds();
                std::memcpy(m_buffer->data(), m_scratch.data(), got.size);
                m_lastLength = got.size;
                return 0;
            }
        }
        const std::uint32_t elapsed = platform::clock::NowSeconds() - start;
        if (static_cast<std::int64_t>(elapsed) * 1000 >= timeoutMs || timeoutMs < 1000)
            return ERR_STATUS_TIMEOUT;
    }
}

}  // namespace devicelib
