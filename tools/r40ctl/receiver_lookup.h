// Finding the receiver a command names, with one discovery pass, and
// opening it. RECEIVER is an IPv4 address, a MAC address or the last three
// bytes of one (the device key the console shows).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "devicelib/devicelib.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

struct ReceiverQuery {
    enum class Kind { Address, Mac, MacTail } kind = Kind::Address;
    Ipv4 address{};
    Mac mac{};
    std::array<std::uint8_t, 3> tail{};
    std::string text;  // as the operator wrote it

    bool Matches(const DeviceInfo& entry) const;
};

// Nullopt when the text is none of the three forms.
std::optional<ReceiverQuery> ParseReceiverQuery(std::string_view text);

// The entries of `list` the query names, heard on `port` when one is given.
std::vector<DeviceInfo> MatchingEntries(const DeviceList& list, const ReceiverQuery& query,
                                        std::optional<std::uint16_t> port);

// "R40", "R40V", "T22 (3.x)", "T22 (2.x)", "T22CA", "Trevan", or "unknown".
const char* ModelName(std::uint16_t type);
bool IsAtsc(std::uint16_t type);  // types 5 and 8

struct CloseDeviceHandle {
    void operator()(DeviceHandleTag* handle) const { CloseDevice(handle); }
};
using DeviceOwner = std::unique_ptr<DeviceHandleTag, CloseDeviceHandle>;

// An open receiver: the discovery entry it was opened from (its address is
// kept up to date by the commands that move it) and the library's handle.
struct OpenReceiver {
    DeviceInfo entry{};
    DeviceOwner handle;
    DeviceHandle get() const { return handle.get(); }
};

// What a pass left out, for a person: "" when nothing, else e.g. "213
// datagrams of receivers not listed: 200 beyond their source's share of 4".
std::string RefusedText(const DiscoveryCounts& counts);

// One discovery pass, then the receiver the query names. Throws Failure:
// EXIT_NOT_FOUND when none answered, EXIT_USAGE when the query names more
// than one.
DeviceInfo FindReceiver(const ReceiverQuery& query, std::optional<std::uint16_t> port);

// Opens a discovered receiver, waiting up to 3 seconds for its status.
// Throws Failure (EXIT_REFUSED with the library's result) when it cannot.
OpenReceiver Open(const DeviceInfo& entry);

}  // namespace r40ctl
