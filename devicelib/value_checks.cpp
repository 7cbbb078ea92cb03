#include "devicelib/value_checks.h"

#include "devicelib/pid_list.h"

namespace devicelib {

namespace {

std::uint32_t Bits(const std::uint8_t address[4]) {
    return (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) |
           (std::uint32_t{address[2]} << 8) | address[3];
}

constexpr std::uint32_t NONE = 0;               // 0.0.0.0
constexpr std::uint32_t ALL_ONES = 0xFFFFFFFF;  // 255.255.255.255
constexpr std::uint32_t MULTICAST_FIRST = 224u << 24;
constexpr std::uint32_t RESERVED_FIRST = 240u << 24;  // up to the broadcast

// An address some one host can have: not in 0.0.0.0/8 ("this network"),
// not multicast, not reserved and not the limited broadcast. Loopback is a
// host address here: the emulated receivers stand on it.
bool IsHostAddress(std::uint32_t address) {
    return (address >> 24) != 0 && address < MULTICAST_FIRST;
}

bool IsMulticast(std::uint32_t address) {
    return address >= MULTICAST_FIRST && address < RESERVED_FIRST;
}

// Contiguous one bits from the top, leaving at least two bits of host part
// (a network, a broadcast and a host between them).
bool IsUsableMask(std::uint32_t mask) {
    const std::uint32_t host = ~mask;
    const bool contiguous = (host & (host + 1)) == 0;
    return mask != 0 && contiguous && host >= 3;
}

// Host part all zeros or all ones under `mask`: the subnet itself or its
// broadcast, no host's address.
bool IsSubnetEdge(std::uint32_t address, std::uint32_t mask) {
    const std::uint32_t host = address & ~mask;
    return host == 0 || host == ~mask;
}

bool IsStatusPort(std::uint16_t port) {
    for (std::uint16_t candidate : STATUS_PORTS)
        if (candidate == port) return true;
    return false;
}

int TableEntries(std::uint16_t deviceType) {
    return deviceType == TYPE_R40 || deviceType == TYPE_T22_V3 ? SHORT_TABLE_ENTRIES
                                                               : LONG_TABLE_ENTRIES;
}

bool IsForwardingType(std::uint16_t type) {
    return type == TYPE_TREVAN || type == TYPE_T22CA || type == TYPE_R40_TREVAN;
}

// Where a forwarded PID goes: nowhere (0.0.0.0, port 0), or a host or
// multicast group with a port.
bool IsUsableDestination(const PidDestination& destination) {
    const std::uint32_t address = Bits(destination.address);
    if (address == NONE && destination.port == 0) return true;
    return (IsHostAddress(address) || IsMulticast(address)) && destination.port != 0;
}

// The largest control value a forwarding entry carries: three bits of the
// PID word.
constexpr std::uint8_t HIGHEST_FORWARDING_CONTROL = 7;

// The list in either form. The records are packed and a caller may hold
// one at any address, so entries are read through the record, never through
// a plain pointer to its arrays (which would assume their alignment).
struct ListView {
    const PidListRecord* standard = nullptr;
    const TrevanPidListRecord* forwarding = nullptr;  // set for the forwarding form

    std::int32_t Count() const { return forwarding ? forwarding->count : standard->count; }
    std::uint16_t Pid(int i) const { return forwarding ? forwarding->pid[i] : standard->pid[i]; }
};

ListView ViewOf(std::uint16_t deviceType, const void* list) {
    if (IsForwardingType(deviceType))
        return {nullptr, static_cast<const TrevanPidListRecord*>(list)};
    return {static_cast<const PidListRecord*>(list), nullptr};
}

}  // namespace

std::int32_t CheckNetworkValues(const NetworkSettings& settings) {
    const std::uint32_t address = Bits(settings.deviceAddress);
    const std::uint32_t mask = Bits(settings.subnetMask);
    const std::uint32_t gateway = Bits(settings.defaultGateway);
    const std::uint32_t statusCopy = Bits(settings.unicastStatusAddress);
    if ((address & ~mask) == 0) return ERR_NET_HOST_PART_ZERO;
    if (!IsUsableMask(mask)) return ERR_NET_MASK_INVALID;
    if (!IsHostAddress(address) || IsSubnetEdge(address, mask)) return ERR_NET_ADDRESS_INVALID;
    // No gateway at all is a choice; one in the receiver's own subnet must
    // be a host there.
    const bool gatewayInSubnet = (gateway & mask) == (address & mask);
    if (gateway != NONE &&
        (!IsHostAddress(gateway) || (gatewayInSubnet && IsSubnetEdge(gateway, mask))))
        return ERR_NET_GATEWAY_INVALID;
    if (statusCopy != ALL_ONES && !IsHostAddress(statusCopy)) return ERR_NET_STATUS_COPY_INVALID;
    if (!IsStatusPort(settings.listenPort) || !IsStatusPort(settings.statusPort))
        return ERR_PORT_NOT_IN_TABLE;
    return 0;
}

std::int32_t CheckPidListValues(std::uint16_t deviceType, const void* list,
                                std::int32_t* badEntry) {
    std::int32_t scratch = 0;
    std::int32_t& bad = badEntry != nullptr ? *badEntry : scratch;
    bad = -1;
    if (deviceType < TYPE_T22_V2 || deviceType > TYPE_R40_TREVAN) return ERR_BAD_TYPE;
    const ListView view = ViewOf(deviceType, list);
    const std::int32_t count = view.Count();
    if (count > MAX_PIDS) return ERR_PID_LIST_TOO_LONG;
    if (count < 0) return ERR_PID_LIST;
    for (int i = 0; i < count; ++i) {
        bad = i;
        const std::uint16_t pid = view.Pid(i);
        // The null PID marks an entry left empty; it is sent as such.
        if (pid == NULL_PID) continue;
        if (pid > HIGHEST_PID) return ERR_PID_LIST;
        for (int k = 0; k < i; ++k)
            if (view.Pid(k) == pid) return ERR_PID_LIST;
        if (view.forwarding != nullptr &&
            (view.forwarding->control[i] > HIGHEST_FORWARDING_CONTROL ||
             !IsUsableDestination(view.forwarding->destination[i])))
            return ERR_PID_FORWARDING;
    }
    bad = -1;
    if (count > TableEntries(deviceType)) return ERR_PID_LIST_TOO_LONG;
    return 0;
}

}  // namespace devicelib
