// Whatever arrives on a status port, through r40ctl exporter's whole
// hearing path: the library's DecodeStatusDatagram, r40ctl's reading of
// the record, the receiver table and the scrape text. The first byte of an
// input is the last octet of the sender's address, the rest the datagram.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tools/r40ctl/exporter/heard_datagram.h"
#include "tools/r40ctl/exporter/metrics_text.h"
#include "tools/r40ctl/exporter/receiver_table.h"

namespace {

using namespace r40ctl::exporter;

// Small, so that the limit is reached and its counting exercised.
constexpr std::size_t MOST_RECEIVERS = 8;

TableLimits Limits() {
    TableLimits limits;
    limits.maxReceivers = MOST_RECEIVERS;
    return limits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ReceiverTable table(Limits());
    static std::uint64_t inputs = 0;
    if (size < 1) return 0;
    // One moment for every input: no receiver is ever forgotten, so every
    // datagram stays counted somewhere.
    static const SteadyTime now = SteadyClock::now();
    const r40ctl::Ipv4 source{10, 0, 0, data[0]};
    TakeDatagram(table, std::span<const std::uint8_t>(data + 1, size - 1), source, 6516, now,
                 1.7e9);
    ++inputs;
    const TableSnapshot snapshot = table.Snapshot(now);
    const std::uint64_t dropped = snapshot.dropped.unrecognised + snapshot.dropped.foreignMac +
                                  snapshot.dropped.receiverLimit + snapshot.dropped.sourceLimit;
    std::uint64_t counted = dropped;
    for (const ReceiverView& r : snapshot.receivers)
        counted += r.statusDatagrams + r.refusedDatagrams;
    // Never more receivers than the limit; every datagram counted once.
    if (snapshot.receivers.size() > MOST_RECEIVERS || snapshot.datagrams != inputs ||
        counted != inputs)
        __builtin_trap();
    if (inputs % 64 == 0 && MetricsText(snapshot, 10).empty()) __builtin_trap();
    return 0;
}
