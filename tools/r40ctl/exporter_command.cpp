// r40ctl exporter: every receiver this host hears, for Prometheus. One
// thread hears the status ports and decodes what arrives; another serves
// every HTTP connection from an event loop, answering scrapes from a copy
// of the receiver table. Nothing is ever sent to a receiver.
#include <string>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/commands.h"
#include "tools/r40ctl/exporter/http_service.h"
#include "tools/r40ctl/exporter/index_page.h"
#include "tools/r40ctl/exporter/metrics_text.h"
#include "tools/r40ctl/exporter/process_figures.h"
#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/r40ctl/exporter/status_hearing.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/stop_signal.h"

namespace r40ctl {

namespace {

using namespace exporter;

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
    const HearingPlan plan = PlanHearing(options.hearing);
    ReceiverTable table(plan.limits, plan.expected);
    const StatusHearing hearing(table, plan);

    HttpService http({[&] {
                          ExporterFacts facts;
                          facts.statusPortsListening = hearing.PortsListening();
                          facts.version = options.version;
                          facts.process = ReadProcessFigures();
                          return MetricsText(table.Snapshot(SteadyClock::now()), facts);
                      },
                      [&] { return IndexPage(table.Snapshot(SteadyClock::now())); }});
    std::string why;
    if (!http.Bind(listen->host, listen->port, &why))
        throw Failure(EXIT_USAGE, "cannot serve HTTP on " + listenText + ": " + why);

    http.Start();
    const std::string bound = http.Address() == listen->host ? "" : " (" + http.Address() + ")";
    Message("exporter: metrics at http://" + UrlHost(listen->host) + ":" +
            std::to_string(http.Port()) + "/metrics" + bound + "; " + HearingText(plan));

    while (!StopRequested()) SleepUnlessStopped(3600);
    http.Stop();
    return 0;
}

}  // namespace r40ctl
