// Finding the receiver a command names and opening it. RECEIVER is an IPv4
// address (found by hearing its own status), a MAC address or the last
// three bytes of one (the device key the console shows; found with one
// discovery pass).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "devicelib/devicelib.h"
#include "tools/r40ctl/heard_receiver.h"
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

// The library's name of the model: "R40", "T22 (3.x)", ... or "unknown".
inline const char* ModelName(std::uint16_t type) {
    return DeviceTypeName(type);
}
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

// How long a receiver is waited for when --timeout does not say: longer
// than the 2 seconds within which every receiver sends its status.
inline constexpr std::chrono::milliseconds DEFAULT_RECEIVER_WAIT{3000};

// The receiver a command works on, and its status when it was found by it.
struct FoundReceiver {
    DeviceInfo entry{};
    std::optional<HeardReceiver> heard;
};

// The receiver the query names: by an address, the first status heard from
// it within `wait`; by a MAC address or its tail, one discovery pass. Throws
// Failure: EXIT_NOT_FOUND when none answered, EXIT_USAGE when the query
// names more than one.
FoundReceiver FindReceiver(const ReceiverQuery& query, std::optional<std::uint16_t> port,
                           std::chrono::milliseconds wait);

// Opens the receiver: at once with the status it was found by while that
// is fresh, else waiting up to `wait` for its first status. Throws Failure (EXIT_REFUSED
// with the library's result) when it cannot.
OpenReceiver Open(const FoundReceiver& found, std::chrono::milliseconds wait);

}  // namespace r40ctl
