// The exporter's answers to HTTP requests, made in memory: GET (and HEAD) of
// "/" and "/metrics", 405 with "Allow: GET, HEAD" for other methods there,
// 404 for every other path, no file ever served. A
// request is answered only once it has wholly arrived (http_service.h reads
// it), so answering never waits on a client.
//
// Ranges are never served: a Range header is dropped before the request is
// parsed and the whole page is answered, as HTTP allows. One short request
// asking for thousands of overlapping ranges would otherwise make an answer
// thousands of times the page.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace r40ctl::exporter {

// The most a request may bring, head and body together.
inline constexpr std::size_t MOST_REQUEST_BYTES = 16 * 1024;

// Where the head of the request in `bytes` ends (just past its empty
// line), or nullopt while it has not ended.
std::optional<std::size_t> RequestHeadLength(std::string_view bytes);

// The head with every Range header line (and its continuation lines)
// removed, whatever the capitals.
std::string WithoutRanges(std::string_view head);

class HttpAnswers {
  public:
    struct Pages {
        std::function<std::string()> metrics;  // /metrics, the text exposition
        std::function<std::string()> index;    // /, HTML
    };

    explicit HttpAnswers(Pages pages);
    ~HttpAnswers();
    HttpAnswers(const HttpAnswers&) = delete;
    HttpAnswers& operator=(const HttpAnswers&) = delete;

    // The whole answer (status line, headers, body) to `request`: a head,
    // complete, and whatever of a body came with it. The connection is
    // closed after it. `peer` is the client's address, for the request.
    std::string Answer(std::string_view request, const std::string& peer);

  private:
    class Server;
    std::unique_ptr<Server> m_server;
};

}  // namespace r40ctl::exporter
