#include "platform/net/udp_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include <algorithm>
#include <vector>

namespace platform::net {
namespace {

sockaddr_in MakeAddress(const Ipv4& address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    std::memcpy(&sa.sin_addr.s_addr, address.data(), 4);
    return sa;
}

timespec ToTimespec(std::chrono::microseconds timeout) {
    if (timeout.count() <= 0) return timespec{0, 0};
    return timespec{static_cast<time_t>(timeout.count() / 1000000),
                    static_cast<long>((timeout.count() % 1000000) * 1000)};
}

}  // namespace

UdpSocket::~UdpSocket() {
    Close();
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : m_socket(other.m_socket) {
    other.m_socket = -1;
}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_socket = other.m_socket;
        other.m_socket = -1;
    }
    return *this;
}

bool UdpSocket::Open() {
    Close();
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    return m_socket >= 0;
}

void UdpSocket::Close() {
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
}

bool UdpSocket::SetReuseAddress(bool on) {
    int value = on ? 1 : 0;
    return m_socket >= 0 &&
           ::setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &value, sizeof value) == 0;
}

bool UdpSocket::SetBroadcast(bool on) {
    int value = on ? 1 : 0;
    return m_socket >= 0 &&
           ::setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, &value, sizeof value) == 0;
}

bool UdpSocket::Bind(const Ipv4& address, std::uint16_t port) {
    if (m_socket < 0) return false;
    sockaddr_in sa = MakeAddress(address, port);
    return ::bind(m_socket, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

bool UdpSocket::Connect(const Ipv4& address, std::uint16_t port) {
    if (m_socket < 0) return false;
    sockaddr_in sa = MakeAddress(address, port);
    return ::connect(m_socket, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

long UdpSocket::Send(std::span<const std::uint8_t> bytes) {
    if (m_socket < 0) return -1;
    return ::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

long UdpSocket::SendTo(std::span<const std::uint8_t> bytes, const Ipv4& address,
                       std::uint16_t port) {
    if (m_socket < 0) return -1;
    sockaddr_in sa = MakeAddress(address, port);
    return ::sendto(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                    reinterpret_cast<sockaddr*>(&sa), sizeof sa);
}

WaitResult UdpSocket::WaitReadable(std::chrono::microseconds timeout) const {
    if (m_socket < 0) return WaitResult::Failed;
    pollfd p{m_socket, POLLIN, 0};
    // ppoll keeps microsecond waits (the status drain waits 400 us).
    const timespec ts = ToTimespec(timeout);
    for (;;) {
        int n = ::ppoll(&p, 1, &ts, nullptr);
        if (n > 0)
            return (p.revents & (POLLIN | POLLERR)) ? WaitResult::Readable : WaitResult::Failed;
        if (n == 0) return WaitResult::TimedOut;
        if (errno != EINTR) return WaitResult::Failed;
    }
}

Received UdpSocket::Receive(std::span<std::uint8_t> buffer) {
    Received r;
    if (m_socket < 0) return r;
    sockaddr_in from{};
    iovec iov{buffer.data(), buffer.size()};
    msghdr msg{};
    msg.msg_name = &from;
    msg.msg_namelen = sizeof from;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    // MSG_TRUNC makes the kernel report the datagram's real length.
    ssize_t n;
    do {
        n = ::recvmsg(m_socket, &msg, MSG_DONTWAIT | MSG_TRUNC);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        r.status = (errno == EAGAIN || errno == EWOULDBLOCK) ? ReceiveStatus::TimedOut
                                                             : ReceiveStatus::Failed;
        return r;
    }
    r.datagramSize = static_cast<std::size_t>(n);
    r.size = std::min(r.datagramSize, buffer.size());
    r.status = (msg.msg_flags & MSG_TRUNC) ? ReceiveStatus::Truncated : ReceiveStatus::Ok;
    if (msg.msg_namelen >= sizeof(sockaddr_in) && from.sin_family == AF_INET) {
        std::memcpy(r.source.data(), &from.sin_addr.s_addr, 4);
        r.sourcePort = ntohs(from.sin_port);
    }
    return r;
}

std::uint16_t UdpSocket::LocalPort() const {
    if (m_socket < 0) return 0;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(m_socket, reinterpret_cast<sockaddr*>(&sa), &len) != 0) return 0;
    return ntohs(sa.sin_port);
}

int WaitAnyReadable(std::span<UdpSocket* const> sockets, std::chrono::milliseconds timeout) {
    std::vector<pollfd> fds;
    fds.reserve(sockets.size());
    for (UdpSocket* s : sockets) fds.push_back({s ? s->NativeHandle() : -1, POLLIN, 0});
    for (;;) {
        int n = ::poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
        if (n == 0) return -1;
        if (n < 0) {
            if (errno == EINTR) continue;
            return -2;
        }
        for (std::size_t i = 0; i < fds.size(); ++i)
            if (fds[i].revents & (POLLIN | POLLERR)) return static_cast<int>(i);
        return -2;
    }
}

}  // namespace platform::net
