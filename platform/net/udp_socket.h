// RAII UDP socket over the operating system's socket layer (POSIX sockets,
// or Windows Sockets 2, started on the first Open and kept for the life of
// the process).
//
// Addresses are four bytes, first octet first, as they stand in the device
// records and on the wire; ports are in host order. Nothing here throws.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace platform::net {

using Ipv4 = std::array<std::uint8_t, 4>;

inline constexpr Ipv4 ANY_ADDRESS{0, 0, 0, 0};

#ifdef _WIN32
using NativeSocket = std::uintptr_t;  // SOCKET
inline constexpr NativeSocket INVALID_NATIVE_SOCKET = ~NativeSocket{0};
#else
using NativeSocket = int;  // file descriptor
inline constexpr NativeSocket INVALID_NATIVE_SOCKET = -1;
#endif

// What a wait for readability found.
enum class WaitResult { Readable, TimedOut, Failed };

// What one receive brought.
enum class ReceiveStatus {
    Ok,         // a whole datagram of `size` bytes
    Truncated,  // the datagram was longer than the buffer; its first `size` bytes are there
    TimedOut,   // the socket's receive time-out ran out (or nothing was queued)
    Failed,     // any other receive error
};

struct Received {
    ReceiveStatus status = ReceiveStatus::Failed;
    std::size_t size = 0;          // bytes placed in the buffer
    std::size_t datagramSize = 0;  // the datagram's full length when known
    Ipv4 source{};
    std::uint16_t sourcePort = 0;
};

class UdpSocket {
  public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Creates the underlying socket, closing any earlier one. False on failure.
    bool Open();
    void Close();
    bool IsOpen() const { return m_socket != INVALID_NATIVE_SOCKET; }

    bool SetReuseAddress(bool on);
    bool SetBroadcast(bool on);
    bool Bind(const Ipv4& address, std::uint16_t port);
    bool Connect(const Ipv4& address, std::uint16_t port);

    // Bytes sent, or -1 on error.
    long Send(std::span<const std::uint8_t> bytes);
    long SendTo(std::span<const std::uint8_t> bytes, const Ipv4& address, std::uint16_t port);

    WaitResult WaitReadable(std::chrono::microseconds timeout) const;

    // Receives one datagram without blocking beyond what is queued; an
    // oversize datagram is reported as Truncated with the buffer filled.
    Received Receive(std::span<std::uint8_t> buffer);

    // The local port after Bind (0 when unknown).
    std::uint16_t LocalPort() const;
    NativeSocket NativeHandle() const { return m_socket; }

  private:
    NativeSocket m_socket = INVALID_NATIVE_SOCKET;
};

// Waits until any of the sockets is readable; returns its index, -1 on
// time-out, -2 on failure.
int WaitAnyReadable(std::span<UdpSocket* const> sockets, std::chrono::milliseconds timeout);

}  // namespace platform::net
