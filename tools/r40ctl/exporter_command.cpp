// r40ctl exporter: every receiver this host hears, for Prometheus. One
// thread hears the status ports and decodes what arrives; another serves
// every HTTP connection from an event loop, answering scrapes from a copy
// of the receiver table. Nothing is ever sent to a receiver.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/commands.h"
#include "tools/r40ctl/exporter/expected_receivers.h"
#include "tools/r40ctl/exporter/heard_datagram.h"
#include "tools/r40ctl/exporter/http_service.h"
#include "tools/r40ctl/exporter/index_page.h"
#include "tools/r40ctl/exporter/metrics_text.h"
#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/r40ctl/exporter/status_sockets.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/stop_signal.h"

namespace r40ctl {

namespace {

using namespace exporter;

// Interfaces and their addresses change; so do the broadcasts to hear.
constexpr std::chrono::seconds REFRESH_SOCKETS{5};
constexpr std::chrono::milliseconds HEARING_WAIT{200};

double UnixSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::vector<std::uint16_t> StatusPortsToHear(const std::vector<std::string>& texts) {
    if (texts.empty()) return {STATUS_PORTS, STATUS_PORTS + STATUS_PORT_COUNT};
    std::vector<std::uint16_t> ports;
    for (const std::string& text : texts) {
        const std::uint16_t port = RequireStatusPort(text, "--port");
        if (std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(port);
    }
    return ports;
}

std::string PortList(const std::vector<std::uint16_t>& ports) {
    std::string text;
    for (std::uint16_t port : ports) text += (text.empty() ? "" : " ") + std::to_string(port);
    return text;
}

// Anything beyond a year is a slip of the keyboard.
constexpr std::chrono::seconds LONGEST_FORGET_AFTER{366L * 24 * 3600};

std::chrono::seconds ForgetAfter(const std::string& text) {
    const std::optional<std::chrono::seconds> duration = ParseDuration(text);
    if (!duration || duration->count() < 1 || *duration > LONGEST_FORGET_AFTER)
        throw Failure(EXIT_USAGE,
                      "--forget-after wants a time from 1s to 366d (seconds, or with s, m, h or "
                      "d: 7d), not " +
                          text);
    return *duration;
}

std::vector<Mac> ExpectedReceivers(const ExporterOptions& options) {
    std::vector<Mac> macs;
    std::string why;
    for (const std::string& text : options.expect)
        if (!AddExpected(text, macs, &why)) throw Failure(EXIT_USAGE, "--expect: " + why);
    if (!options.expectFile.empty() && !AddExpectedFile(options.expectFile, macs, &why))
        throw Failure(EXIT_FILE, "--expect-file " + why);
    if (macs.size() > static_cast<std::size_t>(options.maxReceivers))
        throw Failure(EXIT_USAGE, std::to_string(macs.size()) +
                                      " receivers expected, more than --max-receivers " +
                                      std::to_string(options.maxReceivers));
    return macs;
}

std::string ExpectingText(std::size_t expected) {
    if (expected == 0) return "";
    return "; expecting " + std::to_string(expected) + (expected == 1 ? " receiver" : " receivers");
}

std::string UrlHost(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

}  // namespace

int RunExporter(const ExporterOptions& options) {
    const std::string listenText =
        options.listen.empty() ? ":" + std::to_string(DEFAULT_EXPORTER_PORT) : options.listen;
    const std::optional<ListenAddress> listen = ParseListenAddress(listenText);
    if (!listen)
        throw Failure(
            EXIT_USAGE,
            "--listen wants ADDRESS:PORT, e.g. 0.0.0.0:" + std::to_string(DEFAULT_EXPORTER_PORT) +
                ", [::]:" + std::to_string(DEFAULT_EXPORTER_PORT) +
                " or localhost:" + std::to_string(DEFAULT_EXPORTER_PORT) + ", not " + listenText);
    const std::vector<std::uint16_t> ports = StatusPortsToHear(options.ports);

    TableLimits limits;
    limits.maxReceivers = static_cast<std::size_t>(options.maxReceivers);
    limits.forgetAfter = ForgetAfter(options.forgetAfter);
    const std::vector<Mac> expected = ExpectedReceivers(options);
    ReceiverTable table(limits, expected);
    StatusSockets sockets(ports, options.unicast);
    sockets.Refresh(Message);

    HttpService http({[&] {
                          ExporterFacts facts;
                          facts.statusPortsListening = sockets.PortsListening();
                          facts.version = options.version;
                          facts.process = ReadProcessFigures();
                          return MetricsText(table.Snapshot(SteadyClock::now()), facts);
                      },
                      [&] { return IndexPage(table.Snapshot(SteadyClock::now())); }});
    std::string why;
    if (!http.Bind(listen->host, listen->port, &why))
        throw Failure(EXIT_USAGE, "cannot serve HTTP on " + listenText + ": " + why);

    std::atomic<bool> done{false};
    std::thread hearing([&] {
        auto nextRefresh = SteadyClock::now() + REFRESH_SOCKETS;
        while (!done.load()) {
            sockets.Hear(HEARING_WAIT, [&](std::span<const std::uint8_t> datagram,
                                           const Ipv4& source, std::uint16_t port) {
                TakeDatagram(table, datagram, source, port, SteadyClock::now(), UnixSeconds());
            });
            if (SteadyClock::now() >= nextRefresh) {
                sockets.Refresh(Message);
                nextRefresh = SteadyClock::now() + REFRESH_SOCKETS;
            }
        }
    });
    http.Start();
    const std::string bound = http.Address() == listen->host ? "" : " (" + http.Address() + ")";
    Message("exporter: metrics at http://" + UrlHost(listen->host) + ":" +
            std::to_string(http.Port()) + "/metrics" + bound + "; hearing status ports " +
            PortList(ports) +
            (options.unicast ? " (broadcasts and datagrams to this host)" : " (broadcasts)") +
            ExpectingText(expected.size()));

    while (!StopRequested()) SleepUnlessStopped(3600);
    done = true;
    http.Stop();
    hearing.join();
    return 0;
}

}  // namespace r40ctl
