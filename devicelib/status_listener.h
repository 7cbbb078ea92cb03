// The status listener of a device object: a UDP socket bound to the
// device's status port that copies acceptable datagrams into the device's
// status buffer. It holds references into its owner and lives inside it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <span>

#include "devicelib/device_constants.h"
#include "devicelib/internal_codes.h"
#include "platform/clock/clock.h"
#include "platform/net/udp_socket.h"

namespace devicelib {

class CStatusListner {
  public:
    CStatusListner() = default;
    virtual ~CStatusListner();
    CStatusListner(const CStatusListner&) = delete;
    CStatusListner& operator=(const CStatusListner&) = delete;

    // Stores the references, the most bytes taken from one datagram (capped
    // at the buffer's size) and the fewest a datagram needs to be taken at
    // all. Refused while open.
    bool Configure(const bool& filterFlag, const Ipv4& deviceAddress, StatusBuffer& buffer,
                   std::uint32_t& receivedAt, std::uint32_t expectedLength,
                   std::uint32_t shortestLength);

    // RC_LISTENER_OPEN, ERR_LISTENER_NO_BUFFER or ERR_STATUS_SOCKET.
    std::int32_t Open(std::uint16_t port);
    void Close();
    bool IsOpen() const { return m_open; }

    // Discards every datagram already queued; false if not open.
    bool Drain();

    // Waits up to timeoutMs for one acceptable datagram and copies it to the
    // buffer: 0, ERR_LISTENER_NOT_OPEN or ERR_STATUS_TIMEOUT. Skipped
    // datagrams make it wait the full time again while less than timeoutMs
    // has passed by the whole-second clock.
    std::int32_t Receive(int timeoutMs);

    // What one wait for one datagram brought.
    enum class Intake {
        Copied,          // taken into the buffer
        Skipped,         // another source, or too short
        NothingArrived,  // the wait ended empty
        Failed,          // not open, or a receive error
    };
    // Waits once, up to `wait`, and takes what arrives as Deliver does.
    Intake ReceiveOnce(std::chrono::milliseconds wait);

    // Takes one datagram that came from `source`: notes the source, skips the
    // datagram when the filter is on and the source is not the device or
    // when it is shorter than the shortest length, else copies its first
    // bytes (at most the expected length) to the buffer and stamps the time.
    // True when copied. Needs no socket.
    bool Deliver(std::span<const std::uint8_t> datagram, const Ipv4& source);

    // The clock that stamps each copied datagram; the system's by default.
    void UseClock(const platform::clock::Clock& clock) { m_clock = &clock; }

    void LastSource(Ipv4& out) const { out = m_lastSource; }
    // Bytes copied from the last accepted datagram (at most the expected length).
    std::size_t LastLength() const { return m_lastLength; }

  private:
    bool m_open = false;
    const bool* m_filterFlag = nullptr;
    Ipv4 m_lastSource{};
    platform::net::UdpSocket m_socket;
    std::uint32_t m_expectedLength = 0;
    std::uint32_t m_shortestLength = 0;
    std::array<std::uint8_t, 1500> m_scratch{};
    const Ipv4* m_deviceAddress = nullptr;
    StatusBuffer* m_buffer = nullptr;
    std::uint32_t* m_receivedAt = nullptr;
    const platform::clock::Clock* m_clock = &platform::clock::SystemClock();
    std::size_t m_lastLength = 0;
};

}  // namespace devicelib
