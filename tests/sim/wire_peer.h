// The console's side of the wire, for emulator tests: a status listener on a
// port and a command exchange over a fresh connected socket.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/net/udp_socket.h"
#include "sim/receiver_state.h"

namespace simtest {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;
using sim::Ipv4;

struct Datagram {
    std::vector<std::uint8_t> bytes;
    Ipv4 source{};
    std::uint16_t sourcePort = 0;
};

// Listens on `port` with address reuse, as a console does (all local
// addresses unless another is given).
class StatusListener {
  public:
    explicit StatusListener(std::uint16_t port, Ipv4 bindAddress = {0, 0, 0, 0});
    bool ok() const { return m_ok; }
    std::optional<Datagram> Next(Ms timeout);
    std::optional<Datagram> NextFrom(const Ipv4& source, Ms timeout);
    // Drops what is queued.
    void Drain();
    // Every datagram that arrives within `period`.
    std::vector<Datagram> Collect(Ms period);

  private:
    platform::net::UdpSocket m_socket;
    std::vector<std::uint8_t> m_buffer = std::vector<std::uint8_t>(70000);
    bool m_ok = false;
};

// One command as the console sends it: a fresh socket (bound to `from` when
// given) connected to address:port, the bytes, and the first reply within
// `timeout`. Also returns where the reply came from.
std::optional<Datagram> Exchange(const Ipv4& address, std::uint16_t port,
                                 std::span<const std::uint8_t> bytes, Ms timeout = 500ms,
                                 std::optional<Ipv4> from = std::nullopt);

// Sends without waiting for anything.
bool SendOnly(const Ipv4& address, std::uint16_t port, std::span<const std::uint8_t> bytes,
              std::optional<Ipv4> from = std::nullopt);

// Big-endian word of a datagram.
inline std::uint16_t Word(const std::vector<std::uint8_t>& d, std::size_t offset) {
    return static_cast<std::uint16_t>((d.at(offset) << 8) | d.at(offset + 1));
}

}  // namespace simtest
