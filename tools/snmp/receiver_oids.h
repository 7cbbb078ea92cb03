// Where R40-RECEIVER-MIB (the file beside this one) stands in the OID tree,
// and the numbers of its objects. The MIB file and these constants must
// name the same numbers; the agent's tests walk the agent with the MIB
// loaded, so a difference shows as a name net-snmp cannot resolve.
#pragma once

#include <cstdint>
#include <vector>

namespace r40snmp {

using Oid = std::vector<std::uint32_t>;

// 32473 is the private enterprise number set aside for examples in
// documentation: a placeholder. The owners replace it with their own here
// and in R40-RECEIVER-MIB.txt (r40Enterprise), both at once.
inline constexpr std::uint32_t R40_ENTERPRISE_NUMBER = 32473;
// The receivers' module under the enterprise.
inline constexpr std::uint32_t RECEIVER_MIB_ARC = 40;

// r40ReceiverMIB: iso.org.dod.internet.private.enterprises.E.40
inline Oid ReceiverMibRoot() {
    return {1, 3, 6, 1, 4, 1, R40_ENTERPRISE_NUMBER, RECEIVER_MIB_ARC};
}
// r40Objects: everything an SNMP read reaches.
inline Oid ObjectsRoot() {
    Oid oid = ReceiverMibRoot();
    oid.push_back(1);
    return oid;
}

// Under r40Objects.
inline constexpr std::uint32_t AGENT_BRANCH = 1;
inline constexpr std::uint32_t RECEIVER_TABLE_BRANCH = 2;  // .1 is the entry
inline constexpr std::uint32_t EVENTS_BRANCH = 3;

// r40Agent scalars.
enum class AgentScalar : std::uint32_t { Receivers = 1, Accepted = 2, Refused = 3, Version = 4 };

// r40ReceiverEntry columns; 1 is the MAC address index.
enum class Column : std::uint32_t {
    Mac = 1,
    Address = 2,
    Model = 3,
    StatusPort = 4,
    Up = 5,
    Locked = 6,
    DataActive = 7,
    Snr = 8,
    Signal = 9,
    CarrierOffset = 10,
    Channel = 11,
    Frequency = 12,
    SymbolRate = 13,
    Pids = 14,
    SecondsSinceStatus = 15,
    LockLosses = 16,
};

// r40Events: what a notification carries beside the columns.
inline constexpr std::uint32_t EVENT_MAC = 1;

// r40Notifications (the module's arc 0).
enum class NoticeKind : std::uint32_t {
    LockLost = 1,
    LockRegained = 2,
    ReceiverSilent = 3,
    ReceiverBack = 4,
};

// TruthValue.
inline constexpr std::int64_t SNMP_TRUE = 1;
inline constexpr std::int64_t SNMP_FALSE = 2;

}  // namespace r40snmp
