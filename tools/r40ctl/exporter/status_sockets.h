// The sockets the exporter hears status datagrams on, one per status port
// and listening address, all bound with address reuse so that the console's
// listeners bind beside them.
//
// By default they are bound to broadcast addresses only: 255.255.255.255
// and the broadcast address of each of this host's IPv4 networks (loopback
// included). Every socket on a port gets its own copy of a broadcast, so
// the exporter and a console both hear every receiver; a datagram sent to
// this host's own address (a receiver's unicast status copy) goes to one
// socket alone, and never to one of these, so the console's listener keeps
// it. With `unicast` one socket per port is bound to the any address
// instead and takes those copies as well: for a host that runs no console.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/net/udp_socket.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl::exporter {

// The broadcast addresses of this host's IPv4 networks and 255.255.255.255,
// each once; never an address of the host itself.
std::vector<Ipv4> BroadcastAddresses();

class StatusSockets {
  public:
    using Handler = std::function<void(std::span<const std::uint8_t> datagram, const Ipv4& source,
                                       std::uint16_t port)>;

    StatusSockets(std::vector<std::uint16_t> ports, bool unicast);

    // Binds what is wanted now and closes sockets whose address has gone.
    // A socket that cannot be bound is tried again at the next refresh; each
    // such failure is reported once through `report`.
    void Refresh(const std::function<void(const std::string&)>& report);

    // Waits up to `wait` for datagrams, then reads what has come on every
    // socket, a bounded number from each so that a flood on one port does
    // not starve the others, and hands each datagram to `take`.
    void Hear(std::chrono::milliseconds wait, const Handler& take);

    // Status ports with at least one bound socket.
    int PortsListening() const { return m_portsListening.load(); }

  private:
    struct Listener {
        Ipv4 address{};
        std::uint16_t port = 0;
        platform::net::UdpSocket socket;
    };

    const std::vector<std::uint16_t> m_ports;
    const bool m_unicast;
    std::vector<Listener> m_listeners;
    std::set<std::pair<Ipv4, std::uint16_t>> m_reported;
    std::atomic<int> m_portsListening{0};
    // Longer than any status datagram: a longer datagram arrives cut, its
    // start intact, and is judged on that.
    std::array<std::uint8_t, 2048> m_buffer{};
};

}  // namespace r40ctl::exporter
