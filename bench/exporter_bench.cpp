// Prints how fast r40ctl exporter decodes status datagrams on one core, and
// how long a scrape takes with 64 receivers (building the text, and a whole
// HTTP exchange on loopback). Figures only: nothing here passes or fails.
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/receiver_model.h"
#include "sim/status_datagram.h"
#include "tools/r40ctl/exporter/heard_datagram.h"
#include "tools/r40ctl/exporter/http_service.h"
#include "tools/r40ctl/exporter/metrics_text.h"

namespace {

using namespace r40ctl::exporter;
using Clock = std::chrono::steady_clock;

constexpr int RECEIVERS = 64;

struct Heard {
    std::vector<std::uint8_t> bytes;
    r40ctl::Ipv4 source;
};

// One status datagram of each of 64 receivers, the six models in turn.
std::vector<Heard> Datagrams() {
    std::vector<Heard> heard;
    for (int i = 0; i < RECEIVERS; ++i) {
        const sim::Model model = sim::ALL_MODELS[i % sim::ALL_MODELS.size()];
        const sim::Ipv4 address{10, 0, 0, static_cast<std::uint8_t>(10 + i)};
        sim::ReceiverState state = sim::DefaultState(model, address);
        state.pids[0] = sim::PidEntry::Make(0x30, 1);
        heard.push_back({sim::BuildStatusDatagram(model, state), {10, 0, 0, address[3]}});
    }
    return heard;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main() {
    const std::vector<Heard> heard = Datagrams();
    ReceiverTable table({});

    constexpr int DATAGRAMS = 300000;
    const auto start = Clock::now();
    for (int i = 0; i < DATAGRAMS; ++i) {
        const Heard& h = heard[i % heard.size()];
        TakeDatagram(table, h.bytes, h.source, 6516, Clock::now(), 0);
    }
    const double took = Seconds(Clock::now() - start);
    std::printf(
        "decoding: %d status datagrams of %d receivers in %.3f s on one thread: %.0f "
        "datagrams/s (%.2f us each)\n",
        DATAGRAMS, RECEIVERS, took, DATAGRAMS / took, took / DATAGRAMS * 1e6);

    constexpr int TEXTS = 2000;
    std::size_t bytes = 0;
    const auto textStart = Clock::now();
    for (int i = 0; i < TEXTS; ++i) bytes = MetricsText(table.Snapshot(Clock::now()), 10).size();
    const double textTook = Seconds(Clock::now() - textStart);
    std::printf("scrape text, %d receivers: %.1f us per scrape (%zu bytes)\n", RECEIVERS,
                textTook / TEXTS * 1e6, bytes);

    HttpService http({[&] { return MetricsText(table.Snapshot(Clock::now()), 10); },
                      [] { return std::string(); }});
    std::string why;
    if (!http.Bind("127.0.0.1", 0, &why)) {
        std::fprintf(stderr, "exporter_bench: cannot bind loopback: %s\n", why.c_str());
        return 1;
    }
    http.Start();
    httplib::Client client("127.0.0.1", http.Port());
    constexpr int SCRAPES = 300;
    int answered = 0;
    const auto httpStart = Clock::now();
    for (int i = 0; i < SCRAPES; ++i) {
        const httplib::Result got = client.Get("/metrics");
        answered += got && got->status == 200;
    }
    const double httpTook = Seconds(Clock::now() - httpStart);
    std::printf(
        "scrape over HTTP on loopback, %d receivers: %.2f ms per scrape (%d of %d "
        "answered)\n",
        RECEIVERS, httpTook / SCRAPES * 1e3, answered, SCRAPES);
    http.Stop();
    return 0;
}
