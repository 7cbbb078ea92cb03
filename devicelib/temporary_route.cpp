#include "devicelib/temporary_route.h"

#include <algorithm>
#include <vector>

namespace devicelib {

using platform::iphelper::NeighbourEntry;
using platform::iphelper::RouteRow;

TemporaryRoute::TemporaryRoute(platform::iphelper::IpHelper& helper,
                               const platform::iphelper::HostRoute& route,
                               const NeighbourEntry& neighbour)
    : m_lock(helper), m_helper(helper), m_route(route), m_neighbour(neighbour) {
    // Where the tables cannot be read or changed (no privilege), nothing is
    // added and the command goes out by the normal routing.
    std::vector<RouteRow> routes;
    if (m_helper.ReadRoutes(routes)) {
        const bool exists = std::any_of(routes.begin(), routes.end(), [&](const RouteRow& row) {
            return platform::iphelper::RowIsHostRoute(row, m_route);
        });
        if (!exists) {
            m_routeMade = m_helper.AddHostRoute(m_route);
            m_refused = !m_routeMade;
        }
    }
    std::vector<NeighbourEntry> neighbours;
    if (m_helper.ReadNeighbours(neighbours)) {
        const bool exists =
            std::any_of(neighbours.begin(), neighbours.end(), [&](const NeighbourEntry& n) {
                return n.interfaceIndex == m_neighbour.interfaceIndex &&
                       n.address == m_neighbour.address;
            });
        if (!exists) {
            m_neighbourMade = m_helper.AddStaticNeighbour(m_neighbour);
            m_refused = m_refused || !m_neighbourMade;
        }
    }
}

TemporaryRoute::~TemporaryRoute() {
    if (m_neighbourMade) m_helper.DeleteNeighbour(m_neighbour.interfaceIndex, m_neighbour.address);
    if (m_routeMade) m_helper.DeleteHostRoute(m_route);
}

}  // namespace devicelib
