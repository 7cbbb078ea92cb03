// Which of the two PID list records a device type takes. The library reads
// the form with forwarding destinations (TrevanPidListRecord) for types 6, 7
// and 8 and the standard form (PidListRecord) for 3, 4 and 5; a record of
// the other form would be read as garbage, so every caller asks here.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <variant>

#include "devicelib/devicelib.h"

namespace config {

inline bool TakesForwardingPidList(std::uint16_t deviceType) {
    return deviceType == TYPE_TREVAN || deviceType == TYPE_T22CA || deviceType == TYPE_R40_TREVAN;
}

inline bool TakesStandardPidList(std::uint16_t deviceType) {
    return deviceType == TYPE_T22_V2 || deviceType == TYPE_T22_V3 || deviceType == TYPE_R40;
}

// A record with every slot empty: all zero but the 32 PIDs, which are the
// null PID. A file's list read into it overwrites only what the file holds.
template <typename Record>
Record EmptyPidList() {
    Record list{};
    std::fill(std::begin(list.pid), std::end(list.pid), static_cast<std::uint16_t>(NULL_PID));
    return list;
}

using AnyPidList = std::variant<PidListRecord, TrevanPidListRecord>;

// An empty list of the form the type takes.
inline AnyPidList EmptyPidListFor(std::uint16_t deviceType) {
    if (TakesForwardingPidList(deviceType)) return EmptyPidList<TrevanPidListRecord>();
    return EmptyPidList<PidListRecord>();
}

}  // namespace config
