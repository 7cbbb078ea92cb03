#include "tools/r40ctl/exporter/http_service.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "tools/r40ctl/exporter/index_page.h"
#include "tools/r40ctl/exporter/metrics_text.h"

namespace r40ctl::exporter {
namespace {

using Clock = std::chrono::steady_clock;

// A fixed set of workers; the accepting thread waits while QUEUED_CONNECTIONS
// wait for one, so connections never pile up in memory.
class BoundedPool final : public httplib::TaskQueue {
  public:
    BoundedPool() {
        for (std::size_t i = 0; i < HTTP_WORKERS; ++i) m_threads.emplace_back([this] { Work(); });
    }
    ~BoundedPool() override { shutdown(); }

    void enqueue(std::function<void()> task) override {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [&] { return m_tasks.size() < QUEUED_CONNECTIONS || m_shutdown; });
        // Every task closes its connection: even now it must run.
        m_tasks.push_back(std::move(task));
        m_work.notify_one();
    }

    void shutdown() override {
        {
            const std::lock_guard lock(m_mutex);
            m_shutdown = true;
        }
        m_work.notify_all();
        m_room.notify_all();
        for (std::thread& t : m_threads)
            if (t.joinable()) t.join();
    }

  private:
    void Work() {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(m_mutex);
                m_work.wait(lock, [&] { return !m_tasks.empty() || m_shutdown; });
                if (m_tasks.empty()) return;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            m_room.notify_one();
            task();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_work, m_room;
    std::deque<std::function<void()>> m_tasks;
    bool m_shutdown = false;
    std::vector<std::thread> m_threads;
};

// One accepted connection as cpp-httplib reads and writes it, with a budget
// of bytes it may bring in, a deadline for the request and one for the
// whole exchange.
class BoundedStream final : public httplib::Stream {
  public:
    BoundedStream(int fd, const std::atomic<bool>& stopping)
        : m_fd(fd),
          m_readDeadline(Clock::now() + REQUEST_DEADLINE),
          m_writeDeadline(Clock::now() + CONNECTION_DEADLINE),
          m_stopping(stopping) {}

    bool is_readable() const override { return WaitFor(POLLIN, m_readDeadline); }
    bool is_writable() const override { return WaitFor(POLLOUT, m_writeDeadline); }

    ssize_t read(char* ptr, size_t size) override {
        if (m_budget == 0 || !is_readable()) return -1;
        ssize_t n;
        do {
            n = ::recv(m_fd, ptr, std::min(size, m_budget), 0);
        } while (n < 0 && errno == EINTR);
        if (n > 0) m_budget -= static_cast<std::size_t>(n);
        return n;
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (!is_writable()) return -1;
        ssize_t n;
        do {
            n = ::send(m_fd, ptr, size, MSG_NOSIGNAL);
        } while (n < 0 && errno == EINTR);
        return n;
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        Describe(::getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        Describe(::getsockname, ip, port);
    }
    socket_t socket() const override { return m_fd; }

  private:
    // Waits in short steps, so that a stop ends a slow client at once.
    bool WaitFor(short events, Clock::time_point deadline) const {
        for (;;) {
            if (m_stopping.load()) return false;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return false;
            pollfd p{m_fd, events, 0};
            const int n = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 200)));
            if (n > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
            if (n < 0 && errno != EINTR) return false;
        }
    }

    template <class Name>
    void Describe(Name name, std::string& ip, int& port) const {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ip.clear();
        port = 0;
        if (name(m_fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return;
        char text[INET6_ADDRSTRLEN] = {};
        if (address.ss_family == AF_INET) {
            const auto* a = reinterpret_cast<const sockaddr_in*>(&address);
            ::inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
            port = ntohs(a->sin_port);
        } else if (address.ss_family == AF_INET6) {
            const auto* a = reinterpret_cast<const sockaddr_in6*>(&address);
            ::inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
            port = ntohs(a->sin6_port);
        }
        ip = text;
    }

    const int m_fd;
    const Clock::time_point m_readDeadline;
    const Clock::time_point m_writeDeadline;
    const std::atomic<bool>& m_stopping;
    std::size_t m_budget = MOST_REQUEST_BYTES;
};

bool Served(const httplib::Request& request) {
    const bool method = request.method == "GET" || request.method == "HEAD";
    const bool path = request.path == "/" || request.path == "/metrics";
    return method && path;
}

}  // namespace

// cpp-httplib's server with each connection read through a BoundedStream:
// one request, then the connection is closed.
class HttpService::Server final : public httplib::Server {
  public:
    std::atomic<bool> m_stopping{false};

  private:
    bool process_and_close_socket(socket_t sock) override {
        {
            BoundedStream stream(sock, m_stopping);
            bool closed = false;
            process_request(stream, true, closed, [&](httplib::Request& request) {
                stream.get_remote_ip_and_port(request.remote_addr, request.remote_port);
                stream.get_local_ip_and_port(request.local_addr, request.local_port);
            });
        }
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        return true;
    }
};

HttpService::HttpService(Pages pages) : m_server(std::make_unique<Server>()) {
    Server& server = *m_server;
    server.new_task_queue = [] { return new BoundedPool(); };
    // Address reuse for a quick restart, but not port reuse: a second
    // program on the same port must fail, not take half the scrapes.
    server.set_socket_options([](socket_t sock) {
        int on = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    });
    server.set_payload_max_length(MOST_REQUEST_BYTES);
    server.set_keep_alive_max_count(1);
    server.set_read_timeout(REQUEST_DEADLINE);
    server.set_write_timeout(CONNECTION_DEADLINE);
    server.set_pre_routing_handler(
        [](const httplib::Request& request, httplib::Response& response) {
            if (Served(request)) return httplib::Server::HandlerResponse::Unhandled;
            response.status = 404;
            response.set_content("not found\n", "text/plain; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty())
            response.set_content(std::to_string(response.status) + "\n",
                                 "text/plain; charset=utf-8");
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            response.status = 500;
            response.set_content("internal error\n", "text/plain; charset=utf-8");
        });
    server.Get("/metrics",
               [metrics = pages.metrics](const httplib::Request&, httplib::Response& response) {
                   response.set_content(metrics(), METRICS_CONTENT_TYPE);
               });
    server.Get("/", [index = pages.index](const httplib::Request&, httplib::Response& response) {
        response.set_content(index(), INDEX_CONTENT_TYPE);
    });
}

HttpService::~HttpService() {
    Stop();
}

bool HttpService::Bind(const std::string& host, int port, std::string* why) {
    errno = 0;
    if (port == 0) {
        const int bound = m_server->bind_to_any_port(host);
        if (bound > 0) {
            m_port = bound;
            return true;
        }
    } else if (m_server->bind_to_port(host, port)) {
        m_port = port;
        return true;
    }
    if (why != nullptr) *why = errno != 0 ? std::strerror(errno) : "cannot bind";
    return false;
}

void HttpService::Start() {
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // A stop asked for before the server runs would find nothing to stop.
    const auto giveUp = Clock::now() + std::chrono::seconds(5);
    while (!m_server->is_running() && Clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpService::Stop() {
    m_server->m_stopping = true;
    m_server->stop();
    if (m_thread.joinable()) m_thread.join();
}

}  // namespace r40ctl::exporter
