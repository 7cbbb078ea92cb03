// The host route and static neighbour entry that make a receiver outside
// the workstation's subnets reachable through one adapter, for as long as
// this object lives. Only what it added is removed again: a route or
// neighbour entry that existed before is neither replaced nor deleted. What
// it adds is marked as the library's (OWN_ENTRY_PROTOCOL), and it holds the
// attempt lock while its entries may exist, so that a sweep for leftovers
// (devicelib/route_leftovers.h) leaves them alone.
#pragma once

#include "devicelib/route_leftovers.h"
#include "platform/iphelper/ip_helper.h"

namespace devicelib {

class TemporaryRoute {
  public:
    TemporaryRoute(platform::iphelper::IpHelper& helper, const platform::iphelper::HostRoute& route,
                   const platform::iphelper::NeighbourEntry& neighbour);
    ~TemporaryRoute();
    TemporaryRoute(const TemporaryRoute&) = delete;
    TemporaryRoute& operator=(const TemporaryRoute&) = delete;

    bool RouteMade() const { return m_routeMade; }
    bool NeighbourMade() const { return m_neighbourMade; }
    // An entry was missing and the workstation would not add it (most often
    // for want of the privilege to change its tables).
    bool Refused() const { return m_refused; }

  private:
    AttemptLock m_lock;  // first in, last out: held before adding, until removed
    platform::iphelper::IpHelper& m_helper;
    platform::iphelper::HostRoute m_route;
    platform::iphelper::NeighbourEntry m_neighbour;
    bool m_routeMade = false;
    bool m_neighbourMade = false;
    bool m_refused = false;
};

}  // namespace devicelib
