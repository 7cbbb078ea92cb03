#include "tools/r40ctl/exporter/http_answers.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>

#include "tools/r40ctl/exporter/index_page.h"
#include "tools/r40ctl/exporter/metrics_text.h"

namespace r40ctl::exporter {

namespace {

constexpr const char* ALLOWED_METHODS = "GET, HEAD";

// A request held in memory, read by cpp-httplib as if from a socket; what it
// writes is kept as the answer.
class MemoryStream final : public httplib::Stream {
  public:
    MemoryStream(std::string_view request, const std::string& peer, std::string& answer)
        : m_request(request), m_peer(peer), m_answer(answer) {}

    bool is_readable() const override { return m_taken < m_request.size(); }
    bool is_writable() const override { return true; }

    ssize_t read(char* ptr, size_t size) override {
        const std::size_t n = std::min(size, m_request.size() - m_taken);
        std::copy_n(m_request.data() + m_taken, n, ptr);
        m_taken += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char* ptr, size_t size) override {
        m_answer.append(ptr, size);
        return static_cast<ssize_t>(size);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = m_peer;
        port = 0;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip.clear();
        port = 0;
    }
    socket_t socket() const override { return INVALID_SOCKET; }

  private:
    std::string_view m_request;
    std::size_t m_taken = 0;
    const std::string& m_peer;
    std::string& m_answer;
};

bool ServedPath(const httplib::Request& request) {
    return request.path == "/" || request.path == "/metrics";
}

bool ServedMethod(const httplib::Request& request) {
    return request.method == "GET" || request.method == "HEAD";
}

bool IsRangeLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    constexpr std::string_view RANGE = "range";
    return name.size() == RANGE.size() &&
           std::equal(name.begin(), name.end(), RANGE.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

std::optional<std::size_t> RequestHeadLength(std::string_view bytes) {
    // Lines may end in CR LF or LF alone, as cpp-httplib reads them.
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;
         at = bytes.find('\n', at + 1)) {
        const std::size_t next = at + 1;
        if (next < bytes.size() && bytes[next] == '\n') return next + 1;
        if (next + 1 < bytes.size() && bytes[next] == '\r' && bytes[next + 1] == '\n')
            return next + 2;
    }
    return std::nullopt;
}

std::string WithoutRanges(std::string_view head) {
    std::string kept;
    kept.reserve(head.size());
    bool dropping = false;
    bool first = true;
    while (!head.empty()) {
        const std::size_t end = head.find('\n');
        const std::string_view line =
            head.substr(0, end == std::string_view::npos ? head.size() : end + 1);
        head.remove_prefix(line.size());
        // A line that begins with white space continues the header before it.
        const bool continuation = !first && (line[0] == ' ' || line[0] == '\t');
        if (!continuation) dropping = !first && IsRangeLine(line);
        if (!dropping) kept.append(line);
        first = false;
    }
    return kept;
}

// cpp-httplib's server for its parsing, routing and answers, run on a
// request in memory.
class HttpAnswers::Server final : public httplib::Server {
  public:
    std::string Answer(std::string_view request, const std::string& peer) {
        std::string answer;
        const std::size_t head = RequestHeadLength(request).value_or(request.size());
        const std::string mended =
            WithoutRanges(request.substr(0, head)) + std::string(request.substr(head));
        MemoryStream stream(mended, peer, answer);
        bool closed = false;
        process_request(stream, true, closed, [&](httplib::Request& r) {
            stream.get_remote_ip_and_port(r.remote_addr, r.remote_port);
        });
        return answer;
    }
};

HttpAnswers::HttpAnswers(Pages pages) : m_server(std::make_unique<Server>()) {
    Server& server = *m_server;
    server.set_payload_max_length(MOST_REQUEST_BYTES);
    server.set_keep_alive_max_count(1);
    server.set_pre_routing_handler(
        [](const httplib::Request& request, httplib::Response& response) {
            if (!ServedPath(request)) {
                response.status = 404;
                response.set_content("not found\n", "text/plain; charset=utf-8");
            } else if (!ServedMethod(request)) {
                response.status = 405;
                response.set_header("Allow", ALLOWED_METHODS);
                response.set_content(std::string("method not allowed: ") + ALLOWED_METHODS + "\n",
                                     "text/plain; charset=utf-8");
            } else {
                return httplib::Server::HandlerResponse::Unhandled;
            }
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

HttpAnswers::~HttpAnswers() = default;

std::string HttpAnswers::Answer(std::string_view request, const std::string& peer) {
    return m_server->Answer(request, peer);
}

}  // namespace r40ctl::exporter
