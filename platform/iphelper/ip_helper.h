// What the device library needs of the workstation's IPv4 configuration:
// its adapters with their addresses, the route table and the neighbour
// (ARP) table, with host routes and static neighbour entries added and
// deleted one at a time. Linux speaks rtnetlink, Windows the IP Helper
// functions; FakeIpHelper keeps everything in memory for unit tests.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::iphelper {

using Ipv4 = std::array<std::uint8_t, 4>;  // first octet first
using MacAddress = std::array<std::uint8_t, 6>;

struct Adapter {
    std::uint32_t index = 0;  // interface index
    std::string name;
    std::vector<Ipv4> addresses;  // IPv4 addresses, in the system's order
    // False for loopback and point-to-point links, which resolve no
    // neighbours: a host route or neighbour entry there would only misdirect
    // traffic (on Linux a loopback neighbour entry captures every address).
    bool resolvesNeighbours = true;
};

// A host route: `destination`/32 directly on the link of `interfaceIndex`,
// preferring `localAddress` as source (the next hop of the Windows row).
struct HostRoute {
    Ipv4 destination{};
    Ipv4 localAddress{};
    std::uint32_t interfaceIndex = 0;
    std::uint32_t metric = 3;
    bool operator==(const HostRoute&) const = default;
};

// One row of the route table as read.
struct RouteRow {
    Ipv4 destination{};
    int prefixLength = 0;
    Ipv4 gateway{};  // 0.0.0.0 when the destination is on the link
    Ipv4 preferredSource{};
    std::uint32_t interfaceIndex = 0;
    std::uint32_t metric = 0;
    int protocol = 0;  // who made it (kernel, boot, static...)
    int scope = 0;
    std::uint32_t table = 0;
    bool operator==(const RouteRow&) const = default;
};

struct NeighbourEntry {
    std::uint32_t interfaceIndex = 0;
    Ipv4 address{};
    MacAddress mac{};
    bool permanent = false;  // static, never expires
    int protocol = 0;        // who made it, where the system keeps that (0: unknown)
    bool operator==(const NeighbourEntry&) const = default;
};

// Every host route and neighbour entry added through an IpHelper carries
// this protocol number, which no routing daemon uses, so that what a killed
// process left behind can be told from everyone else's entries. Linux keeps
// it on routes and, from 5.2 on, on neighbour entries; Windows keeps neither
// (its routes all read as "network management"), so nothing reads as ours there.
inline constexpr int OWN_ENTRY_PROTOCOL = 240;

inline bool IsOwnRoute(const RouteRow& row) {
    return row.protocol == OWN_ENTRY_PROTOCOL && row.prefixLength == 32;
}
inline bool IsOwnNeighbour(const NeighbourEntry& entry) {
    return entry.protocol == OWN_ENTRY_PROTOCOL && entry.permanent;
}

class IpHelper {
  public:
    virtual ~IpHelper() = default;

    // False when the table cannot be read.
    virtual bool ReadAdapters(std::vector<Adapter>& adapters) = 0;
    virtual bool ReadRoutes(std::vector<RouteRow>& routes) = 0;
    virtual bool ReadNeighbours(std::vector<NeighbourEntry>& neighbours) = 0;

    // False when the system refused (no privilege, no such interface...).
    // Routes and neighbour entries are added with OWN_ENTRY_PROTOCOL, and
    // DeleteHostRoute removes only a route that carries it.
    virtual bool AddHostRoute(const HostRoute& route) = 0;
    virtual bool DeleteHostRoute(const HostRoute& route) = 0;
    virtual bool AddStaticNeighbour(const NeighbourEntry& entry) = 0;
    virtual bool DeleteNeighbour(std::uint32_t interfaceIndex, const Ipv4& address) = 0;
};

// The workstation's own tables. Never null.
IpHelper& SystemIpHelper();

// True when `row` is the host route `route`: destination/32 on the link of
// the same interface, with the same metric. Other routes to the destination
// (through a gateway, another interface or metric) are someone else's.
bool RowIsHostRoute(const RouteRow& row, const HostRoute& route);

}  // namespace platform::iphelper
