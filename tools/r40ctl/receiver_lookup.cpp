#include "tools/r40ctl/receiver_lookup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"

namespace r40ctl {

namespace {

std::string Describe(const DeviceInfo& entry) {
    return std::string(DeviceTypeName(entry.deviceType)) + " " + FormatMac(entry.mac) + " at " +
           FormatIpv4(entry.address);
}

}  // namespace

bool ReceiverQuery::Matches(const DeviceInfo& entry) const {
    switch (kind) {
        case Kind::Address:
            return std::memcmp(entry.address, address.data(), 4) == 0;
        case Kind::Mac:
            return std::memcmp(entry.mac, mac.data(), 6) == 0;
        case Kind::MacTail:
            return std::memcmp(entry.mac + 3, tail.data(), 3) == 0;
    }
    return false;
}

std::optional<ReceiverQuery> ParseReceiverQuery(std::string_view text) {
    ReceiverQuery query;
    query.text = std::string(text);
    if (const auto address = ParseIpv4(text)) {
        query.kind = ReceiverQuery::Kind::Address;
        query.address = *address;
    } else if (const auto mac = ParseMac(text)) {
        query.kind = ReceiverQuery::Kind::Mac;
        query.mac = *mac;
    } else if (const auto tail = ParseMacTail(text)) {
        query.kind = ReceiverQuery::Kind::MacTail;
        query.tail = *tail;
    } else {
        return std::nullopt;
    }
    return query;
}

std::vector<DeviceInfo> MatchingEntries(const DeviceList& list, const ReceiverQuery& query,
                                        std::optional<std::uint16_t> port) {
    std::vector<DeviceInfo> found;
    const int count = std::min<int>(list.count, MAX_DEVICES);
    for (int i = 0; i < count; ++i) {
        const DeviceInfo& entry = list.entries[i];
        if (port && entry.statusPort != *port) continue;
        if (query.Matches(entry)) found.push_back(entry);
    }
    return found;
}

bool IsAtsc(std::uint16_t type) {
    return type == TYPE_R40 || type == TYPE_R40_TREVAN;
}

std::string RefusedText(const DiscoveryCounts& counts) {
    std::string parts;
    auto add = [&](std::uint32_t n, const std::string& why) {
        if (n > 0) parts += (parts.empty() ? "" : ", ") + std::to_string(n) + " " + why;
    };
    add(counts.sourceLimit,
        "beyond their source's share of " + std::to_string(MAX_MACS_PER_SOURCE));
    add(counts.listFull, "while the list of " + std::to_string(MAX_DEVICES) + " was full");
    add(counts.displaced, "receivers listed, then displaced by one named");
    if (parts.empty()) return "";
    return "datagrams of receivers not listed: " + parts;
}

namespace {

// A receiver named by its address is heard, not discovered: it is the
// source of its own status, whatever else the LAN holds.
FoundReceiver HearReceiver(const ReceiverQuery& query, std::optional<std::uint16_t> port,
                           std::chrono::milliseconds wait) {
    Hearing hearing = HearReceiverAt(query.address, port, wait);
    if (hearing.heard) return FoundReceiver{hearing.heard->entry, std::move(hearing.heard)};
    StopIfRequested();
    const std::string where = port ? " on status port " + std::to_string(*port) : "";
    if (hearing.portsBound == 0)
        throw Failure(EXIT_NOT_FOUND, "cannot listen for " + query.text + where +
                                          ": the status port" + (port ? " is" : "s are") +
                                          " held by another program");
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(wait.count()) / 1000.0);
    throw Failure(EXIT_NOT_FOUND, "no receiver " + query.text + " answered" + where +
                                      " (no status from it within " + seconds + " s)");
}

}  // namespace

FoundReceiver FindReceiver(const ReceiverQuery& query, std::optional<std::uint16_t> port,
                           std::chrono::milliseconds wait) {
    if (query.kind == ReceiverQuery::Kind::Address) return HearReceiver(query, port, wait);
    // A receiver named by its whole MAC address is found even where forged
    // receivers fill the list.
    DeviceList known{};
    if (query.kind == ReceiverQuery::Kind::Mac) {
        known.count = 1;
        std::memcpy(known.entries[0].mac, query.mac.data(), 6);
    }
    DeviceList list{};
    DiscoveryCounts counts{};
    DiscoverDevicesKeeping(&list, &known, &counts);
    const std::vector<DeviceInfo> found = MatchingEntries(list, query, port);
    if (found.empty()) {
        std::string where = port ? " on status port " + std::to_string(*port) : "";
        const std::string refused = RefusedText(counts);
        throw Failure(EXIT_NOT_FOUND, "no receiver " + query.text + " answered" + where + " (" +
                                          std::to_string(list.count) + " heard" +
                                          (refused.empty() ? "" : "; " + refused) + ")");
    }
    if (found.size() > 1) {
        std::string names;
        for (const DeviceInfo& entry : found)
            names += (names.empty() ? "" : ", ") + Describe(entry);
        throw Failure(EXIT_USAGE, query.text + " names more than one receiver (" + names +
                                      "); give the full MAC address");
    }
    return FoundReceiver{found.front(), std::nullopt};
}

OpenReceiver Open(const FoundReceiver& found, std::chrono::milliseconds wait) {
    const DeviceInfo& entry = found.entry;
    std::int32_t result = RC_FAILED;
    DeviceHandle handle = found.heard && found.heard->Fresh()
                              ? OpenDeviceWithStatus(&entry, found.heard->datagram.data(),
                                                     found.heard->datagram.size(), &result)
                              : OpenDevice(&entry, static_cast<int>(wait.count()), &result);
    if (handle == nullptr) throw Refused("cannot open the " + Describe(entry), result);
    OpenReceiver receiver;
    receiver.entry = entry;
    receiver.handle.reset(handle);
    return receiver;
}

}  // namespace r40ctl
