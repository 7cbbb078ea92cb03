#include "tools/r40ctl/exporter/http_service.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <list>
#include <utility>
#include <vector>

namespace r40ctl::exporter {

namespace {

using Clock = std::chrono::steady_clock;

// Connections taken from the backlog per turn of the loop, so that a flood
// of them never starves the ones already in.
constexpr int ACCEPTS_PER_TURN = 64;
// How long accepting rests when the process has no descriptor to spare.
constexpr std::chrono::milliseconds ACCEPT_REST{100};
constexpr int BACKLOG = 128;

class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int get() const { return m_fd; }
    void Reset() {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = -1;
    }

  private:
    int m_fd;
};

std::string PeerText(const sockaddr_storage& address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET)
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in&>(address).sin_addr, text,
                    sizeof text);
    else if (address.ss_family == AF_INET6)
        ::inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6&>(address).sin6_addr, text,
                    sizeof text);
    return text;
}

struct Connection {
    Descriptor socket;
    std::string peer;
    Clock::time_point accepted;
    std::string request;
    std::string answer;
    std::size_t sent = 0;
    bool answering = false;  // the request is in; the answer is going out
    bool done = false;       // to be closed at the end of this turn

    Clock::time_point Deadline() const {
        return accepted + (answering ? Clock::duration(CONNECTION_DEADLINE)
                                     : Clock::duration(REQUEST_DEADLINE));
    }
    void Close() {
        socket.Reset();
        done = true;
    }
};

}  // namespace

class HttpService::Loop {
  public:
    explicit Loop(HttpAnswers::Pages pages)
        : m_answers(std::move(pages)), m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    bool Bind(const std::string& host, int port, int* bound, std::string* address,
              std::string* why) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
            *why = ::gai_strerror(rc);
            return false;
        }
        const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owned(found, ::freeaddrinfo);
        // A name's IPv4 addresses first, as the default 0.0.0.0 is IPv4:
        // localhost is 127.0.0.1, where scrapes of localhost:PORT arrive.
        std::vector<const addrinfo*> candidates;
        for (const addrinfo* a = found; a != nullptr; a = a->ai_next)
            if (a->ai_family == AF_INET) candidates.push_back(a);
        for (const addrinfo* a = found; a != nullptr; a = a->ai_next)
            if (a->ai_family == AF_INET6) candidates.push_back(a);
        *why = "no IPv4 or IPv6 address";
        for (const addrinfo* candidate : candidates) {
            Descriptor listener(::socket(candidate->ai_family,
                                         candidate->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            // Address reuse for a quick restart, but not port reuse: a second
            // program on the same port must fail, not take half the scrapes.
            const int on = 1;
            if (listener.get() < 0 ||
                ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
                ::bind(listener.get(), candidate->ai_addr, candidate->ai_addrlen) != 0 ||
                ::listen(listener.get(), BACKLOG) != 0) {
                *why = std::strerror(errno);
                continue;
            }
            sockaddr_storage local{};
            socklen_t length = sizeof local;
            ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&local), &length);
            *bound = ntohs(local.ss_family == AF_INET6
                               ? reinterpret_cast<const sockaddr_in6&>(local).sin6_port
                               : reinterpret_cast<const sockaddr_in&>(local).sin_port);
            *address = PeerText(local);
            m_listener = std::move(listener);
            return true;
        }
        return false;
    }

    void Run() {
        std::vector<pollfd> polled;
        while (!m_stopping.load()) {
            const Clock::time_point now = Clock::now();
            polled.clear();
            polled.push_back({m_wake.get(), POLLIN, 0});
            const bool accepting = now >= m_acceptRestsUntil;
            polled.push_back({accepting ? m_listener.get() : -1, POLLIN, 0});
            Clock::time_point next = now + std::chrono::seconds(1);
            for (const Connection& c : m_connections) {
                polled.push_back({c.socket.get(), c.answering ? short(POLLOUT) : short(POLLIN), 0});
                next = std::min(next, c.Deadline());
            }
            if (!accepting) next = std::min(next, m_acceptRestsUntil);
            const auto wait =
                std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
            if (::poll(polled.data(), polled.size(),
                       static_cast<int>(std::max<long long>(wait, 0))) < 0 &&
                errno != EINTR)
                continue;
            if (polled[0].revents != 0) break;

            std::size_t i = 2;
            for (Connection& c : m_connections) {
                const short events = polled[i++].revents;
                if (events == 0) continue;
                if (c.answering)
                    Write(c);
                else
                    Read(c);
            }
            if (polled[1].revents != 0) Accept();
            const Clock::time_point after = Clock::now();
            for (Connection& c : m_connections)
                if (after >= c.Deadline()) c.Close();
            m_connections.remove_if([](const Connection& c) { return c.done; });
        }
        m_connections.clear();
    }

    void Stop() {
        m_stopping = true;
        const std::uint64_t one = 1;
        if (::write(m_wake.get(), &one, sizeof one) < 0) {
            // The flag alone ends the loop at its next turn, within a second.
        }
    }

  private:
    void Read(Connection& c) {
        char buffer[4096];
        const std::size_t room = MOST_REQUEST_BYTES - c.request.size();
        const ssize_t n = ::recv(c.socket.get(), buffer, std::min(room, sizeof buffer), 0);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
        if (n <= 0) {
            c.Close();  // gone, or broken, before its request was in
            return;
        }
        c.request.append(buffer, static_cast<std::size_t>(n));
        if (RequestHeadLength(c.request)) {
            c.answer = m_answers.Answer(c.request, c.peer);
            c.request = std::string();
            c.answering = true;
            Write(c);
        } else if (c.request.size() >= MOST_REQUEST_BYTES) {
            c.Close();  // a head beyond any request's: no answer
        }
    }

    void Write(Connection& c) {
        const ssize_t n = ::send(c.socket.get(), c.answer.data() + c.sent, c.answer.size() - c.sent,
                                 MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
        if (n < 0) {
            c.Close();
            return;
        }
        c.sent += static_cast<std::size_t>(n);
        if (c.sent == c.answer.size()) {
            ::shutdown(c.socket.get(), SHUT_WR);
            c.Close();
        }
    }

    void Accept() {
        for (int taken = 0; taken < ACCEPTS_PER_TURN; ++taken) {
            sockaddr_storage address{};
            socklen_t length = sizeof address;
            Descriptor socket(::accept4(m_listener.get(), reinterpret_cast<sockaddr*>(&address),
                                        &length, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (socket.get() < 0) {
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                    m_acceptRestsUntil = Clock::now() + ACCEPT_REST;
                return;
            }
            std::string peer = PeerText(address);
            if (!MakeRoomFor(peer)) continue;  // closed: every place is answering
            Connection& c = m_connections.emplace_back();
            c.socket = std::move(socket);
            c.peer = std::move(peer);
            c.accepted = Clock::now();
        }
    }

    // Closes the oldest connection still reading its request, of `peer`
    // when it has its share, and of anyone when all places are taken.
    bool MakeRoomFor(const std::string& peer) {
        std::size_t live = 0, ofPeer = 0;
        for (const Connection& c : m_connections) {
            if (c.done) continue;
            ++live;
            ofPeer += c.peer == peer ? 1 : 0;
        }
        auto evictOldestReading = [&](bool samePeer) {
            for (Connection& c : m_connections)
                if (!c.done && !c.answering && (!samePeer || c.peer == peer)) {
                    c.Close();
                    return true;
                }
            return false;
        };
        if (ofPeer >= CONNECTIONS_PER_CLIENT) {
            if (!evictOldestReading(true)) return false;
            --live;
        }
        if (live >= MAX_CONNECTIONS && !evictOldestReading(false)) return false;
        return true;
    }

    HttpAnswers m_answers;
    Descriptor m_listener;
    Descriptor m_wake;
    std::list<Connection> m_connections;  // oldest first
    Clock::time_point m_acceptRestsUntil{};
    std::atomic<bool> m_stopping{false};
};

HttpService::HttpService(HttpAnswers::Pages pages)
    : m_loop(std::make_unique<Loop>(std::move(pages))) {}

HttpService::~HttpService() {
    Stop();
}

bool HttpService::Bind(const std::string& host, int port, std::string* why) {
    std::string reason;
    const bool bound = m_loop->Bind(host, port, &m_port, &m_address, &reason);
    if (!bound && why != nullptr) *why = reason;
    return bound;
}

void HttpService::Start() {
    m_thread = std::thread([this] { m_loop->Run(); });
}

void HttpService::Stop() {
    m_loop->Stop();
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace r40ctl::exporter
