// The exporter's HTTP side, on cpp-httplib: GET (and HEAD) of "/" and
// "/metrics", everything else 404. Built to stay up whatever a client
// sends: one request per connection, read within MOST_REQUEST_BYTES and
// REQUEST_DEADLINE (a client that dawdles holds a worker no longer), the
// whole exchange within CONNECTION_DEADLINE, a fixed number of workers
// behind a bounded queue (the accepting thread waits while it is full, and
// the system's backlog holds further connections). No file is ever served.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace r40ctl::exporter {

inline constexpr std::size_t HTTP_WORKERS = 4;
inline constexpr std::size_t QUEUED_CONNECTIONS = 16;
inline constexpr std::size_t MOST_REQUEST_BYTES = 16 * 1024;
inline constexpr std::chrono::seconds REQUEST_DEADLINE{3};
inline constexpr std::chrono::seconds CONNECTION_DEADLINE{10};

class HttpService {
  public:
    struct Pages {
        std::function<std::string()> metrics;  // /metrics, the text exposition
        std::function<std::string()> index;    // /, HTML
    };

    explicit HttpService(Pages pages);
    ~HttpService();  // stops
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds `host` (an IPv4 or IPv6 address) and `port` (0: any free one).
    // False with the reason in `why`.
    bool Bind(const std::string& host, int port, std::string* why);
    int Port() const { return m_port; }

    // Serves on a thread of its own until Stop.
    void Start();
    // Closes the listening socket, ends the connections in progress early
    // and waits for the workers.
    void Stop();

  private:
    class Server;
    std::unique_ptr<Server> m_server;
    std::thread m_thread;
    int m_port = 0;
};

}  // namespace r40ctl::exporter
