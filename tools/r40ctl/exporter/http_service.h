// The exporter's HTTP side: one thread with an event loop over every
// connection, so that a client that sends nothing, or a byte a second, or
// never reads its answer holds a socket and a small buffer, never anything
// a scrape needs. A request is answered (http_answers.h) once it has wholly
// arrived; the answer goes out as fast as the client takes it.
//
// Built to stay up whatever clients do: one request per connection, read
// within MOST_REQUEST_BYTES and REQUEST_DEADLINE, the whole exchange within
// CONNECTION_DEADLINE; at most CONNECTIONS_PER_CLIENT connections from one
// address and MAX_CONNECTIONS in all. A newcomer beyond either takes the
// place of the oldest connection (of that client, or of anyone) that has
// not finished its request yet, so idle connections never lock out a
// scrape; when all are answering, the newcomer is closed.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>

#include "tools/r40ctl/exporter/http_answers.h"

namespace r40ctl::exporter {

inline constexpr std::chrono::seconds REQUEST_DEADLINE{3};
inline constexpr std::chrono::seconds CONNECTION_DEADLINE{10};
inline constexpr std::size_t CONNECTIONS_PER_CLIENT = 8;
inline constexpr std::size_t MAX_CONNECTIONS = 256;

class HttpService {
  public:
    explicit HttpService(HttpAnswers::Pages pages);
    ~HttpService();  // stops
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds and listens on `host` (an IPv4 or IPv6 address, or a name:
    // the first of its addresses that binds, IPv4 ones first) and `port`
    // (0: any free one). False with the reason in `why`.
    bool Bind(const std::string& host, int port, std::string* why);
    int Port() const { return m_port; }
    const std::string& Address() const { return m_address; }  // the one bound

    // Serves on a thread of its own until Stop.
    void Start();
    // Ends every connection and the thread.
    void Stop();

  private:
    class Loop;
    std::unique_ptr<Loop> m_loop;
    std::thread m_thread;
    int m_port = 0;
    std::string m_address;
};

}  // namespace r40ctl::exporter
