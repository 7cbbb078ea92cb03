// r40ctl discover: discovery passes, one receiver per line.
#include <chrono>
#include <cstring>
#include <vector>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/stop_signal.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

namespace {

bool Listed(const std::vector<DeviceInfo>& heard, const DeviceInfo& entry) {
    for (const DeviceInfo& known : heard)
        if (std::memcmp(known.mac, entry.mac, 6) == 0) return true;
    return false;
}

}  // namespace

int RunDiscover(Context& context) {
    // One pass (about two seconds), or passes until --timeout is up, for
    // receivers that send their status less often: each receiver once, in
    // the order first heard, the refused datagrams of the busiest pass.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + ReceiverWait(context);
    std::vector<DeviceInfo> heard;
    DiscoveryCounts counts{};
    // Bounded: a pass takes about two seconds; --timeout is at most an hour.
    for (int pass = 0; pass < 4096; ++pass) {
        DeviceList list{};
        DiscoveryCounts passCounts{};
        DiscoverDevicesKeeping(&list, nullptr, &passCounts);
        for (int i = 0; i < list.count && i < MAX_DEVICES; ++i) {
            const DeviceInfo& entry = list.entries[i];
            if (context.port && entry.statusPort != *context.port) continue;
            if (!Listed(heard, entry) && heard.size() < MAX_DEVICES) heard.push_back(entry);
        }
        counts.sourceLimit = std::max(counts.sourceLimit, passCounts.sourceLimit);
        counts.listFull = std::max(counts.listFull, passCounts.listFull);
        counts.displaced = std::max(counts.displaced, passCounts.displaced);
        if (!context.timeout || Clock::now() >= deadline || StopRequested()) break;
    }

    if (context.json) {
        Json receivers = Json::array();
        for (const DeviceInfo& entry : heard) receivers.push_back(ReceiverJson(entry));
        PrintJson(Json{
            {"ok", !heard.empty()}, {"receivers", receivers}, {"refused", RefusedJson(counts)}});
    } else {
        std::vector<std::vector<std::string>> rows;
        for (const DeviceInfo& entry : heard)
            rows.push_back({FormatIpv4(entry.address), FormatMac(entry.mac),
                            DeviceTypeName(entry.deviceType), std::to_string(entry.statusPort)});
        PrintRows(rows);
    }
    if (const std::string refused = RefusedText(counts); !refused.empty())
        Message("warning: " + refused);
    if (heard.empty()) {
        Message("no receiver answered");
        return EXIT_NOT_FOUND;
    }
    return 0;
}

}  // namespace r40ctl
