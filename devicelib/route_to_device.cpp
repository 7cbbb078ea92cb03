// Network settings reach a receiver whatever its address: for each local
// address in turn the receiver is made reachable on that adapter's link for
// one attempt, and the entries are removed again before the next.
#include <cstring>
#include <string>
#include <vector>

#include "devicelib/device_models.h"
#include "devicelib/route_leftovers.h"
#include "devicelib/route_to_device.h"
#include "devicelib/temporary_route.h"

namespace devicelib {
namespace {

using platform::iphelper::Adapter;

// The route's metric: below the usual routes, so the host route wins.
constexpr std::uint32_t HOST_ROUTE_METRIC = 3;

// The command reached nobody: no echo came back (or could not be awaited).
bool ReachedNobody(std::int32_t result) {
    return result == ERR_ECHO_CONNECT || result == ERR_ECHO_SEND || result == ERR_ECHO_RECEIVE ||
           result == ERR_ECHO_TIMEOUT;
}

const Adapter* AdapterOwning(const std::vector<Adapter>& adapters, const Ipv4& local) {
    for (const Adapter& adapter : adapters)
        for (const platform::iphelper::Ipv4& address : adapter.addresses)
            if (address == local) return &adapter;
    return nullptr;
}

}  // namespace

std::int32_t COrvelDevice::CreateRoute(const Ipv4* localAddress) {
    if (localAddress == nullptr) return ERR_ROUTE_NO_LOCAL_ADDRESS;
    if (!m_addressKnown && !m_macKnown) return ERR_ROUTE_NO_ADDRESS;
    std::vector<Adapter> adapters;
    if (!m_ipHelper->ReadAdapters(adapters)) return ERR_ADAPTER_NOT_FOUND;
    m_route.mac = m_mac;
    m_route.deviceAddress = m_address;
    m_route.localAddress = *localAddress;
    const Adapter* adapter = AdapterOwning(adapters, *localAddress);
    if (adapter == nullptr) return ERR_ADAPTER_NOT_FOUND;
    RemoveRoute();  // nothing of an earlier attempt stays
    // A link that resolves no neighbours (loopback) is used as it is.
    if (!adapter->resolvesNeighbours) return RC_ROUTE_CREATED;

    platform::iphelper::HostRoute route;
    route.destination = m_route.deviceAddress;
    route.localAddress = m_route.localAddress;
    route.interfaceIndex = adapter->index;
    route.metric = HOST_ROUTE_METRIC;
    platform::iphelper::NeighbourEntry neighbour;
    neighbour.interfaceIndex = adapter->index;
    neighbour.address = m_route.deviceAddress;
    neighbour.mac = m_route.mac;
    neighbour.permanent = true;
    m_temporaryRoute = std::make_unique<TemporaryRoute>(*m_ipHelper, route, neighbour);
    m_routeMade = m_temporaryRoute->RouteMade();
    m_arpEntryMade = m_temporaryRoute->NeighbourMade();
    return RC_ROUTE_CREATED;
}

void COrvelDevice::RemoveRoute() {
    m_temporaryRoute.reset();
    m_routeMade = false;
    m_arpEntryMade = false;
}

bool COrvelDevice::RouteRefused() const {
    return m_temporaryRoute != nullptr && m_temporaryRoute->Refused();
}

std::int32_t ApplyNetworkSettingsThroughAdapters(COrvelDevice& device,
                                                 const NetworkSettings& settings) {
    // A device whose address begins with 0 is addressed as 10.10.10.10.
    if (device.Address()[0] == 0) device.SetAddress({10, 10, 10, 10});

    // Entries a killed process left for this or any receiver would misdirect
    // the attempts below (and everyone's traffic to those addresses).
    RemoveLeftoverEntries(device.IpHelper());

    std::vector<Adapter> adapters;
    if (!device.IpHelper().ReadAdapters(adapters)) return ERR_ADAPTER_NOT_FOUND;

    std::int32_t result = ERR_ADAPTER_NOT_FOUND;  // when no attempt can be made
    bool refused = false;                         // an attempt went without the entries it needed
    for (const Adapter& adapter : adapters) {
        for (const platform::iphelper::Ipv4& local : adapter.addresses) {
            // The entries go on every way out of the attempt.
            struct RouteGuard {
                COrvelDevice& device;
                ~RouteGuard() { device.RemoveRoute(); }
            } guard{device};
            device.CreateRoute(&local);
            refused = refused || device.RouteRefused();
            result = device.ApplyNetworkSettings(settings);
            if (result == 0) return 0;
        }
    }
    // Said plainly: the operator can do something about it.
    if (refused && ReachedNobody(result)) return ERR_ROUTE_REFUSED;
    return result;
}

}  // namespace devicelib
