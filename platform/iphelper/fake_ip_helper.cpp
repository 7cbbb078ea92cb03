#include "platform/iphelper/fake_ip_helper.h"

#include <algorithm>

namespace platform::iphelper {
namespace {

std::string Text(const Ipv4& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

}  // namespace

bool FakeIpHelper::ReadAdapters(std::vector<Adapter>& out) {
    calls.push_back("ReadAdapters");
    if (!adaptersReadable) return false;
    out = adapters;
    return true;
}

bool FakeIpHelper::ReadRoutes(std::vector<RouteRow>& out) {
    calls.push_back("ReadRoutes");
    out = routes;
    return true;
}

bool FakeIpHelper::ReadNeighbours(std::vector<NeighbourEntry>& out) {
    calls.push_back("ReadNeighbours");
    out = neighbours;
    return true;
}

bool FakeIpHelper::AddHostRoute(const HostRoute& route) {
    calls.push_back("AddHostRoute " + Text(route.destination) + " if " +
                    std::to_string(route.interfaceIndex) + " via " + Text(route.localAddress));
    if (refuseChanges) return false;
    for (const RouteRow& row : routes)
        if (RowIsHostRoute(row, route)) return false;  // the system refuses duplicates
    RouteRow row;
    row.destination = route.destination;
    row.prefixLength = 32;
    row.preferredSource = route.localAddress;
    row.interfaceIndex = route.interfaceIndex;
    row.metric = route.metric;
    row.protocol = OWN_ENTRY_PROTOCOL;
    routes.push_back(row);
    return true;
}

bool FakeIpHelper::DeleteHostRoute(const HostRoute& route) {
    calls.push_back("DeleteHostRoute " + Text(route.destination) + " if " +
                    std::to_string(route.interfaceIndex));
    if (refuseChanges) return false;
    auto it = std::find_if(routes.begin(), routes.end(), [&](const RouteRow& row) {
        return RowIsHostRoute(row, route) && row.protocol == OWN_ENTRY_PROTOCOL;
    });
    if (it == routes.end()) return false;
    routes.erase(it);
    return true;
}

bool FakeIpHelper::AddStaticNeighbour(const NeighbourEntry& entry) {
    calls.push_back("AddStaticNeighbour " + Text(entry.address) + " if " +
                    std::to_string(entry.interfaceIndex));
    if (refuseChanges) return false;
    NeighbourEntry marked = entry;
    marked.protocol = OWN_ENTRY_PROTOCOL;
    for (NeighbourEntry& existing : neighbours) {
        if (existing.interfaceIndex == entry.interfaceIndex && existing.address == entry.address) {
            existing = marked;  // replaces, as the system does
            return true;
        }
    }
    neighbours.push_back(marked);
    return true;
}

bool FakeIpHelper::DeleteNeighbour(std::uint32_t interfaceIndex, const Ipv4& address) {
    calls.push_back("DeleteNeighbour " + Text(address) + " if " + std::to_string(interfaceIndex));
    if (refuseChanges) return false;
    auto it = std::find_if(neighbours.begin(), neighbours.end(), [&](const NeighbourEntry& n) {
        return n.interfaceIndex == interfaceIndex && n.address == address;
    });
    if (it == neighbours.end()) return false;
    neighbours.erase(it);
    return true;
}

}  // namespace platform::iphelper
