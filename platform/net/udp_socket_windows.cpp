// Windows Sockets 2 backend of the UDP socket.
//
// Behaves as the POSIX backend does: sockets block, Receive never waits,
// a datagram longer than the buffer is reported Truncated with its full
// length, and only a connected socket hears of a port without a listener.
#include <winsock2.h>
#include <ws2tcpip.h>
// mswsock.h needs winsock2.h first.
#include <mswsock.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/net/udp_socket.h"

namespace platform::net {
namespace {

// The socket layer is started once, on the first socket, and stays started
// for the life of the process: the library is used from any thread at any
// time, so no call could tell when it is safe to stop it.
bool StartSocketLayer() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

// Larger than any UDP datagram, so that a receive learns a datagram's full
// length even when the caller's buffer is shorter (Windows would only say
// WSAEMSGSIZE and drop the rest).
constexpr std::size_t LARGEST_DATAGRAM = 65536;

SOCKET Native(NativeSocket s) {
    return static_cast<SOCKET>(s);
}

sockaddr_in MakeAddress(const Ipv4& address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    std::memcpy(&sa.sin_addr.s_addr, address.data(), 4);
    return sa;
}

timeval ToTimeval(std::chrono::microseconds timeout) {
    if (timeout.count() <= 0) return timeval{0, 0};
    return timeval{static_cast<long>(timeout.count() / 1000000),
                   static_cast<long>(timeout.count() % 1000000)};
}

// Windows reports an ICMP "port unreachable" for a datagram sent earlier as
// WSAECONNRESET on the next receive, even on a socket that is not connected.
// Linux tells only connected sockets; so does this backend.
void ReportUnreachablePorts(NativeSocket s, bool on) {
    BOOL value = on ? TRUE : FALSE;
    DWORD returned = 0;
    if (::WSAIoctl(Native(s), SIO_UDP_CONNRESET, &value, sizeof value, nullptr, 0, &returned,
                   nullptr, nullptr) != 0) {
        // Older stacks without the switch report as they always did.
    }
}

bool IsReadable(NativeSocket s, std::chrono::microseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Native(s), &readable);
    timeval tv = ToTimeval(timeout);
    return ::select(0, &readable, nullptr, nullptr, &tv) > 0;
}

}  // namespace

UdpSocket::~UdpSocket() {
    Close();
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : m_socket(other.m_socket) {
    other.m_socket = INVALID_NATIVE_SOCKET;
}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_socket = other.m_socket;
        other.m_socket = INVALID_NATIVE_SOCKET;
    }
    return *this;
}

bool UdpSocket::Open() {
    Close();
    if (!StartSocketLayer()) return false;
    // Not inherited by child processes, as SOCK_CLOEXEC on POSIX; a stack
    // that does not know the flag gets an ordinary socket.
    SOCKET s = ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0,
                            WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET && ::WSAGetLastError() == WSAEINVAL)
        s = ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0, WSA_FLAG_OVERLAPPED);
    if (s == INVALID_SOCKET) return false;
    m_socket = static_cast<NativeSocket>(s);
    ReportUnreachablePorts(m_socket, false);
    return true;
}

void UdpSocket::Close() {
    if (m_socket != INVALID_NATIVE_SOCKET) {
        ::closesocket(Native(m_socket));
        m_socket = INVALID_NATIVE_SOCKET;
    }
}

bool UdpSocket::SetReuseAddress(bool on) {
    BOOL value = on ? TRUE : FALSE;
    return IsOpen() && ::setsockopt(Native(m_socket), SOL_SOCKET, SO_REUSEADDR,
                                    reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

bool UdpSocket::SetBroadcast(bool on) {
    BOOL value = on ? TRUE : FALSE;
    return IsOpen() && ::setsockopt(Native(m_socket), SOL_SOCKET, SO_BROADCAST,
                                    reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

bool UdpSocket::Bind(const Ipv4& address, std::uint16_t port) {
    if (!IsOpen()) return false;
    sockaddr_in sa = MakeAddress(address, port);
    return ::bind(Native(m_socket), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

bool UdpSocket::Connect(const Ipv4& address, std::uint16_t port) {
    if (!IsOpen()) return false;
    sockaddr_in sa = MakeAddress(address, port);
    if (::connect(Native(m_socket), reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) return false;
    ReportUnreachablePorts(m_socket, true);
    return true;
}

long UdpSocket::Send(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return -1;
    const int n = ::send(Native(m_socket), reinterpret_cast<const char*>(bytes.data()),
                         static_cast<int>(bytes.size()), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

long UdpSocket::SendTo(std::span<const std::uint8_t> bytes, const Ipv4& address,
                       std::uint16_t port) {
    if (!IsOpen()) return -1;
    sockaddr_in sa = MakeAddress(address, port);
    const int n =
        ::sendto(Native(m_socket), reinterpret_cast<const char*>(bytes.data()),
                 static_cast<int>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    return n == SOCKET_ERROR ? -1 : n;
}

WaitResult UdpSocket::WaitReadable(std::chrono::microseconds timeout) const {
    if (!IsOpen()) return WaitResult::Failed;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Native(m_socket), &readable);
    timeval tv = ToTimeval(timeout);
    const int n = ::select(0, &readable, nullptr, nullptr, &tv);
    if (n > 0) return WaitResult::Readable;
    return n == 0 ? WaitResult::TimedOut : WaitResult::Failed;
}

Received UdpSocket::Receive(std::span<std::uint8_t> buffer) {
    Received r;
    if (!IsOpen()) return r;
    // The socket blocks; a receive that is not to wait looks first.
    if (!IsReadable(m_socket, std::chrono::microseconds(0))) {
        r.status = ReceiveStatus::TimedOut;
        return r;
    }
    thread_local std::vector<char> whole(LARGEST_DATAGRAM);
    sockaddr_in from{};
    int fromLength = sizeof from;
    const int n = ::recvfrom(Native(m_socket), whole.data(), static_cast<int>(whole.size()), 0,
                             reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n == SOCKET_ERROR) {
        const int error = ::WSAGetLastError();
        r.status = (error == WSAEWOULDBLOCK || error == WSAETIMEDOUT) ? ReceiveStatus::TimedOut
                                                                      : ReceiveStatus::Failed;
        return r;
    }
    r.datagramSize = static_cast<std::size_t>(n);
    r.size = std::min(r.datagramSize, buffer.size());
    std::memcpy(buffer.data(), whole.data(), r.size);
    r.status = r.size < r.datagramSize ? ReceiveStatus::Truncated : ReceiveStatus::Ok;
    if (fromLength >= static_cast<int>(sizeof(sockaddr_in)) && from.sin_family == AF_INET) {
        std::memcpy(r.source.data(), &from.sin_addr.s_addr, 4);
        r.sourcePort = ntohs(from.sin_port);
    }
    return r;
}

std::uint16_t UdpSocket::LocalPort() const {
    if (!IsOpen()) return 0;
    sockaddr_in sa{};
    int length = sizeof sa;
    if (::getsockname(Native(m_socket), reinterpret_cast<sockaddr*>(&sa), &length) != 0) return 0;
    return ntohs(sa.sin_port);
}

int WaitAnyReadable(std::span<UdpSocket* const> sockets, std::chrono::milliseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    bool any = false;
    for (UdpSocket* s : sockets) {
        if (s == nullptr || !s->IsOpen()) continue;
        if (readable.fd_count >= FD_SETSIZE) return -2;
        FD_SET(Native(s->NativeHandle()), &readable);
        any = true;
    }
    if (!any) {
        // select refuses empty sets; nothing can become readable.
        ::Sleep(static_cast<DWORD>(std::max<std::int64_t>(timeout.count(), 0)));
        return -1;
    }
    timeval tv = ToTimeval(timeout);
    const int n = ::select(0, &readable, nullptr, nullptr, &tv);
    if (n == 0) return -1;
    if (n < 0) return -2;
    for (std::size_t i = 0; i < sockets.size(); ++i)
        if (sockets[i] != nullptr && sockets[i]->IsOpen() &&
            FD_ISSET(Native(sockets[i]->NativeHandle()), &readable))
            return static_cast<int>(i);
    return -2;
}

}  // namespace platform::net
