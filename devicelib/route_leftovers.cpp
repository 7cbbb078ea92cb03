#include "devicelib/route_leftovers.h"

#include <vector>

#include "devicelib/devicelib.h"

namespace devicelib {
namespace {

using platform::iphelper::NeighbourEntry;
using platform::iphelper::RouteRow;

}  // namespace

int RemoveLeftoverEntries(platform::iphelper::IpHelper& helper) {
    const SweepLock lock(helper);
    if (!lock.Acquired()) return 0;  // an attempt is running; its entries are its own
    int removed = 0;
    std::vector<NeighbourEntry> neighbours;
    if (helper.ReadNeighbours(neighbours)) {
        for (const NeighbourEntry& entry : neighbours)
            if (platform::iphelper::IsOwnNeighbour(entry) &&
                helper.DeleteNeighbour(entry.interfaceIndex, entry.address))
                ++removed;
    }
    std::vector<RouteRow> routes;
    if (helper.ReadRoutes(routes)) {
        for (const RouteRow& row : routes) {
            if (!platform::iphelper::IsOwnRoute(row)) continue;
            platform::iphelper::HostRoute route;
            route.destination = row.destination;
            route.localAddress = row.preferredSource;
            route.interfaceIndex = row.interfaceIndex;
            route.metric = row.metric;
            if (helper.DeleteHostRoute(route)) ++removed;
        }
    }
    return removed;
}

}  // namespace devicelib

extern "C" DEVICELIB_API int32_t RemoveStaleRoutes(void) {
    try {
        return devicelib::RemoveLeftoverEntries(platform::iphelper::SystemIpHelper());
    } catch (...) {
        return 0;
    }
}
