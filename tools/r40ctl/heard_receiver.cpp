#include "tools/r40ctl/heard_receiver.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/net/udp_socket.h"
#include "tools/r40ctl/stop_signal.h"

namespace r40ctl {
namespace {

using Clock = std::chrono::steady_clock;
// A flood on the ports must not keep the wait going past its time, nor
// read for ever what is queued when the time is up.
constexpr int MOST_ROUNDS = 100000;
// The longest single wait, so that an interrupt ends the listening soon.
constexpr std::chrono::milliseconds SLICE{200};

}  // namespace

Hearing HearReceiverAt(const Ipv4& address, std::optional<std::uint16_t> port,
                       std::chrono::milliseconds wait) {
    Hearing hearing;
    std::vector<platform::net::UdpSocket> sockets;
    std::vector<std::uint16_t> socketPorts;
    for (std::uint16_t candidate : STATUS_PORTS) {
        if (port && candidate != *port) continue;
        // Bound as the library's listeners bind, beside a console's.
        platform::net::UdpSocket socket;
        if (!socket.Open() || !socket.SetReuseAddress(true) ||
            !socket.Bind(platform::net::ANY_ADDRESS, candidate))
            continue;
        sockets.push_back(std::move(socket));
        socketPorts.push_back(candidate);
    }
    hearing.portsBound = static_cast<int>(sockets.size());
    if (sockets.empty()) return hearing;
    std::vector<platform::net::UdpSocket*> waitOn;
    for (auto& socket : sockets) waitOn.push_back(&socket);

    // Longer than any status: a longer datagram arrives cut and is refused.
    std::array<std::uint8_t, 2048> buffer{};
    const auto deadline = Clock::now() + wait;
    for (int round = 0; round < MOST_ROUNDS && !StopRequested(); ++round) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0) break;
        const int ready = platform::net::WaitAnyReadable(waitOn, std::min(left, SLICE));
        if (ready == -1) continue;  // nothing in this slice; the deadline ends the wait
        if (ready < 0) break;
        const platform::net::Received got =
            sockets[static_cast<std::size_t>(ready)].Receive(buffer);
        if (got.status != platform::net::ReceiveStatus::Ok) {
            ++hearing.othersHeard;
            continue;
        }
        if (got.source != address) {
            ++hearing.othersHeard;
            continue;
        }
        HeardReceiver heard;
        std::memcpy(heard.entry.address, address.data(), 4);
        heard.entry.statusPort = socketPorts[static_cast<std::size_t>(ready)];
        std::memset(&heard.record, 0, sizeof heard.record);
        if (DecodeStatusDatagram(buffer.data(), got.size, &heard.entry, &heard.record,
                                 sizeof heard.record) != 0) {
            ++hearing.othersHeard;
            continue;
        }
        heard.at = Clock::now();
        heard.datagram.assign(buffer.begin(), buffer.begin() + static_cast<long>(got.size));
        hearing.heard = std::move(heard);
        break;
    }
    return hearing;
}

}  // namespace r40ctl
