// Whatever a client sends, through r40ctl exporter's HTTP request path: the
// head as the event loop frames it (at most MOST_REQUEST_BYTES, answered
// once its empty line has come), the Range headers dropped, and
// cpp-httplib's parsing, routing and answer. An answer is never more than
// its page and a head: no request may make the exporter write, or hold,
// many times the metrics.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/r40ctl/exporter/http_answers.h"
#include "tools/r40ctl/exporter/index_page.h"
#include "tools/r40ctl/exporter/metrics_text.h"
#include "tools/r40ctl/exporter/receiver_table.h"

namespace {

using namespace r40ctl::exporter;

// Room for the status line and headers of any answer, and a short error page.
constexpr std::size_t MOST_HEAD_BYTES = 4096;

// A table of receivers, so that the pages are of some size.
TableSnapshot Snapshot() {
    ReceiverTable table({});
    const SteadyTime now = SteadyClock::now();
    for (int n = 0; n < 64; ++n) {
        DeviceInfo sender{};
        const std::uint8_t mac[6] = {0x02, 0x5C, 0xC1, 0, 0, static_cast<std::uint8_t>(n)};
        for (int i = 0; i < 6; ++i) sender.mac[i] = mac[i];
        sender.address[0] = 10;
        sender.address[3] = static_cast<std::uint8_t>(n);
        sender.deviceType = n % 2 ? TYPE_R40 : TYPE_T22_V3;
        sender.statusPort = 6516;
        Reading reading;
        reading.locked = true;
        reading.snrDecibels = 21.5;
        reading.pids = 4;
        table.Accepted(sender, reading, now, 1.7e9);
    }
    return table.Snapshot(now);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TableSnapshot snapshot = Snapshot();
    static const std::string metrics = MetricsText(snapshot, 10);
    static const std::string index = IndexPage(snapshot);
    static HttpAnswers answers({[] { return metrics; }, [] { return index; }});

    const std::string_view bytes(reinterpret_cast<const char*>(data),
                                 std::min(size, MOST_REQUEST_BYTES));
    if (!RequestHeadLength(bytes)) return 0;  // the loop waits for more, or gives up
    const std::string answer = answers.Answer(bytes, "10.0.0.1");
    if (answer.size() > std::max(metrics.size(), index.size()) + MOST_HEAD_BYTES) __builtin_trap();
    if (!answer.empty() && answer.rfind("HTTP/1.", 0) != 0) __builtin_trap();
    // No Range header survives, in any capitals.
    const std::string head = WithoutRanges(bytes.substr(0, *RequestHeadLength(bytes)));
    for (std::size_t at = head.find('\n'); at != std::string::npos; at = head.find('\n', at + 1)) {
        const std::size_t colon = head.find(':', at + 1);
        const std::size_t end = head.find('\n', at + 1);
        if (colon == std::string::npos || colon > end) continue;
        std::string name = head.substr(at + 1, colon - at - 1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == "range") __builtin_trap();
    }
    return 0;
}
