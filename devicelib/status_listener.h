// The status listener of a device object: a UDP socket bound to the
// device's status port that copies acceptable datagrams into the device's
// status buffer. It holds references into its owner and lives inside it.
#pragma once

#include <array>
#include <cstdint>

#include "devicelib/device_constants.h"
#include "platform/net/udp_socket.h"

namespace devicelib {

class CStatusListner {
  public:
    CStatusListner() = default;
    virtual ~CStatusListner();
    CStatusListner(const CStatusListner&) = delete;
    CStatusListner& operator=(const CStatusListner&) = delete;

    // Stores the references and the most bytes taken from one datagram
    // (capped at the buffer's size). Refused while open.
    bool Configure(const bool& filterFlag, const Ipv4& deviceAddress, StatusBuffer& buffer,
                   std::uint32_t& receivedAt, std::uint32_t expectedLength);

    // RC_LISTENER_OPEN, ERR_LISTENER_NO_BUFFER or ERR_STATUS_SOCKET.
    std::int32_t Open(std::uint16_t port);
    void Close();
    bool IsOpen() const { return m_open; }

    // Discards every datagram already queued; false if not open.
    bool Drain();

    // Waits up to timeoutMs for one acceptable datagram and copies it to the
    // buffer: 0, ERR_LISTENER_NOT_OPEN or ERR_STATUS_TIMEOUT.
    std::int32_t Receive(int timeoutMs);

    void LastSource(Ipv4& out) const { out = m_lastSource; }
    // Bytes copied from the last accepted datagram (at most the expected length).
    std::size_t LastLength() const { return m_lastLength; }

  private:
    bool m_open = false;
    const bool* m_filterFlag = nullptr;
    Ipv4 m_lastSource{};
    platform::net::UdpSocket m_socket;
    std::uint32_t m_expectedLength = 0;
    std::array<std::uint8_t, 1500> m_scratch{};
    const Ipv4* m_deviceAddress = nullptr;
    StatusBuffer* m_buffer = nullptr;
    std::uint32_t* m_receivedAt = nullptr;
    std::size_t m_lastLength = 0;
};

}  // namespace devicelib
