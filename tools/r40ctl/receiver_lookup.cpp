#include "tools/r40ctl/receiver_lookup.h"

#include <algorithm>
#include <cstring>

#include "tools/r40ctl/failure.h"

namespace r40ctl {

namespace {

constexpr int OPEN_TIMEOUT_MS = 3000;

std::string Describe(const DeviceInfo& entry) {
    return std::string(ModelName(entry.deviceType)) + " " + FormatMac(entry.mac) + " at " +
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

const char* ModelName(std::uint16_t type) {
    switch (type) {
        case TYPE_T22_V2:
            return "T22 (2.x)";
        case TYPE_T22_V3:
            return "T22 (3.x)";
        case TYPE_R40:
            return "R40";
        case TYPE_TREVAN:
            return "Trevan";
        case TYPE_T22CA:
            return "T22CA";
        case TYPE_R40_TREVAN:
            return "R40V";
        default:
            return "unknown";
    }
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

DeviceInfo FindReceiver(const ReceiverQuery& query, std::optional<std::uint16_t> port) {
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
    return found.front();
}

OpenReceiver Open(const DeviceInfo& entry) {
    std::int32_t result = RC_FAILED;
    DeviceHandle handle = OpenDevice(&entry, OPEN_TIMEOUT_MS, &result);
    if (handle == nullptr) throw Refused("cannot open the " + Describe(entry), result);
    OpenReceiver receiver;
    receiver.entry = entry;
    receiver.handle.reset(handle);
    return receiver;
}

}  // namespace r40ctl
