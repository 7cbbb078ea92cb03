// A receiver named by its IPv4 address is found by listening for its own
// status: the status ports are bound and the first whole status from that
// address (a model the library recognises, the maker's MAC prefix) gives
// its MAC address, model and status port. That takes one status interval
// of the receiver rather than a discovery pass, and the status heard is the
// first one the device is opened with.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "devicelib/devicelib.h"
#include "tools/r40ctl/receiver_status.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

struct HeardReceiver {
    DeviceInfo entry{};
    std::vector<std::uint8_t> datagram;  // the status as it arrived
    AnyStatusRecord record;              // and as the library decoded it
    std::chrono::steady_clock::time_point at;

    // Young enough to stand for the receiver's current status: within the
    // 2 seconds in which every receiver sends its next one.
    bool Fresh() const { return std::chrono::steady_clock::now() - at < std::chrono::seconds(2); }
};

struct Hearing {
    std::optional<HeardReceiver> heard;  // nullopt: nothing from the address in time
    int portsBound = 0;                  // status ports listened on
    int othersHeard = 0;                 // datagrams from other sources or refused
};

// Listens on `port` (all ten when none) for up to `wait`.
Hearing HearReceiverAt(const Ipv4& address, std::optional<std::uint16_t> port,
                       std::chrono::milliseconds wait);

}  // namespace r40ctl
