// In-memory route and neighbour tables for unit tests, recording every call.
#pragma once

#include <string>
#include <vector>

#include "platform/iphelper/ip_helper.h"

namespace platform::iphelper {

class FakeIpHelper final : public IpHelper {
  public:
    bool ReadAdapters(std::vector<Adapter>& adapters) override;
    bool ReadRoutes(std::vector<RouteRow>& routes) override;
    bool ReadNeighbours(std::vector<NeighbourEntry>& neighbours) override;
    bool AddHostRoute(const HostRoute& route) override;
    bool DeleteHostRoute(const HostRoute& route) override;
    bool AddStaticNeighbour(const NeighbourEntry& entry) override;
    bool DeleteNeighbour(std::uint32_t interfaceIndex, const Ipv4& address) override;

    // The tables and switches a test sets up.
    std::vector<Adapter> adapters;
    std::vector<RouteRow> routes;
    std::vector<NeighbourEntry> neighbours;
    bool adaptersReadable = true;
    bool refuseChanges = false;  // as without the privilege to change routes

    // Every call, e.g. "AddHostRoute 192.168.1.20 if 2".
    std::vector<std::string> calls;
};

}  // namespace platform::iphelper
