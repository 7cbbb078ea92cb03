#include "wire_peer.h"

namespace simtest {

using Clock = std::chrono::steady_clock;

StatusListener::StatusListener(std::uint16_t port, Ipv4 bindAddress) {
    m_ok = m_socket.Open() && m_socket.SetReuseAddress(true) && m_socket.Bind(bindAddress, port);
}

std::optional<Datagram> StatusListener::Next(Ms timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        // Take what is queued first, however short the wait.
        const platform::net::Received r = m_socket.Receive(m_buffer);
        if (r.status == platform::net::ReceiveStatus::Ok)
            return Datagram{
                {m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(r.size)},
                r.source,
                r.sourcePort};
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        m_socket.WaitReadable(left);
    }
}

std::optional<Datagram> StatusListener::NextFrom(const Ipv4& source, Ms timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<Ms>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        auto d = Next(left);
        if (!d) return std::nullopt;
        if (d->source == source) return d;
    }
}

void StatusListener::Drain() {
    while (Next(1ms)) {
    }
}

std::vector<Datagram> StatusListener::Collect(Ms period) {
    std::vector<Datagram> out;
    const auto deadline = Clock::now() + period;
    for (;;) {
        const auto left = std::chrono::duration_cast<Ms>(deadline - Clock::now());
        if (left.count() <= 0) return out;
        if (auto d = Next(left)) out.push_back(std::move(*d));
    }
}

namespace {

bool OpenConnected(platform::net::UdpSocket& s, const Ipv4& address, std::uint16_t port,
                   std::optional<Ipv4> from) {
    if (!s.Open()) return false;
    if (from && !s.Bind(*from, 0)) return false;
    return s.Connect(address, port);
}

}  // namespace

std::optional<Datagram> Exchange(const Ipv4& address, std::uint16_t port,
                                 std::span<const std::uint8_t> bytes, Ms timeout,
                                 std::optional<Ipv4> from) {
    platform::net::UdpSocket s;
    if (!OpenConnected(s, address, port, from)) return std::nullopt;
    if (s.Send(bytes) != static_cast<long>(bytes.size())) return std::nullopt;
    if (s.WaitReadable(timeout) != platform::net::WaitResult::Readable) return std::nullopt;
    std::vector<std::uint8_t> buffer(70000);
    const platform::net::Received r = s.Receive(buffer);
    if (r.status != platform::net::ReceiveStatus::Ok) return std::nullopt;
    return Datagram{{buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(r.size)},
                    r.source,
                    r.sourcePort};
}

bool SendOnly(const Ipv4& address, std::uint16_t port, std::span<const std::uint8_t> bytes,
              std::optional<Ipv4> from) {
    platform::net::UdpSocket s;
    return OpenConnected(s, address, port, from) &&
           s.Send(bytes) == static_cast<long>(bytes.size());
}

}  // namespace simtest
