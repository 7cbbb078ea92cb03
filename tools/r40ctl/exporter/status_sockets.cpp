#include "tools/r40ctl/exporter/status_sockets.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

namespace r40ctl::exporter {
namespace {

constexpr Ipv4 LIMITED_BROADCAST{255, 255, 255, 255};
// Datagrams read from one socket before the others get their turn.
constexpr int MOST_PER_SOCKET_AND_ROUND = 64;

std::uint32_t HostOrder(const sockaddr* address) {
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

Ipv4 Octets(std::uint32_t hostOrder) {
    return {static_cast<std::uint8_t>(hostOrder >> 24), static_cast<std::uint8_t>(hostOrder >> 16),
            static_cast<std::uint8_t>(hostOrder >> 8), static_cast<std::uint8_t>(hostOrder)};
}

}  // namespace

std::vector<Ipv4> BroadcastAddresses() {
    std::vector<Ipv4> broadcasts{LIMITED_BROADCAST};
    std::vector<Ipv4> own;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return broadcasts;
    for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
        if ((i->ifa_flags & IFF_UP) == 0) continue;
        const std::uint32_t address = HostOrder(i->ifa_addr);
        own.push_back(Octets(address));
        if ((i->ifa_flags & IFF_BROADCAST) != 0 && i->ifa_broadaddr != nullptr &&
            i->ifa_broadaddr->sa_family == AF_INET) {
            const std::uint32_t broadcast = HostOrder(i->ifa_broadaddr);
            if (broadcast != 0) broadcasts.push_back(Octets(broadcast));
        }
        // The network's own broadcast, which the system keeps whatever the
        // interface says (loopback says nothing); /31 and /32 have none.
        if (i->ifa_netmask != nullptr && i->ifa_netmask->sa_family == AF_INET) {
            const std::uint32_t mask = HostOrder(i->ifa_netmask);
            if (std::popcount(mask) <= 30 && mask != 0)
                broadcasts.push_back(Octets(address | ~mask));
        }
    }
    ::freeifaddrs(list);
    std::sort(broadcasts.begin(), broadcasts.end());
    broadcasts.erase(std::unique(broadcasts.begin(), broadcasts.end()), broadcasts.end());
    // Bound to one of the host's own addresses, a socket would take unicast
    // datagrams from the console's listener.
    std::erase_if(broadcasts,
                  [&](const Ipv4& b) { return std::find(own.begin(), own.end(), b) != own.end(); });
    return broadcasts;
}

StatusSockets::StatusSockets(std::vector<std::uint16_t> ports, bool unicast)
    : m_ports(std::move(ports)), m_unicast(unicast) {}

void StatusSockets::Refresh(const std::function<void(const std::string&)>& report) {
    const std::vector<Ipv4> addresses =
        m_unicast ? std::vector<Ipv4>{platform::net::ANY_ADDRESS} : BroadcastAddresses();
    std::erase_if(m_listeners, [&](const Listener& l) {
        return std::find(addresses.begin(), addresses.end(), l.address) == addresses.end();
    });
    for (std::uint16_t port : m_ports) {
        for (const Ipv4& address : addresses) {
            const bool bound = std::any_of(
                m_listeners.begin(), m_listeners.end(),
                [&](const Listener& l) { return l.port == port && l.address == address; });
            if (bound) continue;
            Listener listener{address, port, {}};
            if (listener.socket.Open() && listener.socket.SetReuseAddress(true) &&
                listener.socket.Bind(address, port)) {
                m_listeners.push_back(std::move(listener));
                m_reported.erase({address, port});
                continue;
            }
            const int error = errno;
            // Interface broadcasts come and go with the interfaces; what
            // stands for the whole port is the limited broadcast (or the any
            // address), and that one is reported.
            const bool speaksForPort = address == LIMITED_BROADCAST || m_unicast;
            if (speaksForPort && m_reported.insert({address, port}).second)
                report("cannot hear status port " + std::to_string(port) + " on " +
                       FormatIpv4(address.data()) + ": " + std::strerror(error) +
                       " (tried again every few seconds)");
        }
    }
    std::set<std::uint16_t> ports;
    for (const Listener& l : m_listeners) ports.insert(l.port);
    m_portsListening = static_cast<int>(ports.size());
}

void StatusSockets::Hear(std::chrono::milliseconds wait, const Handler& take) {
    std::vector<pollfd> fds;
    fds.reserve(m_listeners.size());
    for (const Listener& l : m_listeners) fds.push_back({l.socket.NativeHandle(), POLLIN, 0});
    const int ready = ::poll(fds.data(), fds.size(), static_cast<int>(wait.count()));
    if (ready <= 0) return;  // nothing, or interrupted by a signal: the caller loops
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLERR)) == 0) continue;
        Listener& listener = m_listeners[i];
        for (int n = 0; n < MOST_PER_SOCKET_AND_ROUND; ++n) {
            const platform::net::Received got = listener.socket.Receive(m_buffer);
            if (got.status != platform::net::ReceiveStatus::Ok &&
                got.status != platform::net::ReceiveStatus::Truncated)
                break;
            take(std::span<const std::uint8_t>(m_buffer.data(), got.size), got.source,
                 listener.port);
        }
    }
}

}  // namespace r40ctl::exporter
