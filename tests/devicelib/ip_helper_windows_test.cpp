// The IP Helper backend against the machine's own tables, checked against
// what the newer IP Helper calls (GetAdaptersAddresses, GetIpForwardTable2)
// report of the same tables. Adding and deleting entries needs an
// administrator, and Wine accepts those calls without keeping anything: the
// test that changes the tables says so and is skipped where that is seen.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>
// The IP Helper headers need Winsock's first.
#include <iphlpapi.h>
#include <netioapi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "devicelib/device_models.h"
#include "devicelib/devicelib.h"
#include "platform/iphelper/ip_helper.h"

namespace {

using platform::iphelper::Adapter;
using platform::iphelper::HostRoute;
using platform::iphelper::Ipv4;
using platform::iphelper::NeighbourEntry;
using platform::iphelper::RouteRow;
using platform::iphelper::SystemIpHelper;

Ipv4 FromSockaddr(const SOCKADDR* address) {
    Ipv4 out{};
    std::memcpy(out.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, 4);
    return out;
}

// Interface index -> IPv4 unicast addresses, as GetAdaptersAddresses sees them.
std::map<std::uint32_t, std::set<Ipv4>> AddressesByInterface() {
    std::map<std::uint32_t, std::set<Ipv4>> found;
    ULONG size = 16384;
    std::vector<std::uint8_t> buffer;
    ULONG rc = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 5 && rc == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.assign(size, 0);
        rc = ::GetAdaptersAddresses(AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST,
                                    nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()),
                                    &size);
    }
    if (rc != NO_ERROR) return found;
    for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a != nullptr;
         a = a->Next) {
        if (a->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;  // GetAdaptersInfo leaves it out
        auto& addresses = found[a->IfIndex];
        for (auto* u = a->FirstUnicastAddress; u != nullptr; u = u->Next)
            addresses.insert(FromSockaddr(u->Address.lpSockaddr));
    }
    return found;
}

TEST(WindowsIpHelper, AdaptersCarryTheIndexAndAddressesTheSystemReports) {
    std::vector<Adapter> adapters;
    ASSERT_TRUE(SystemIpHelper().ReadAdapters(adapters));
    const auto expected = AddressesByInterface();
    for (const Adapter& adapter : adapters) {
        SCOPED_TRACE(adapter.name);
        EXPECT_TRUE(adapter.resolvesNeighbours);
        const auto it = expected.find(adapter.index);
        ASSERT_NE(it, expected.end()) << "index " << adapter.index << " is no interface";
        for (const Ipv4& address : adapter.addresses) {
            // GetAdaptersInfo lists an adapter without an address as 0.0.0.0.
            if (address == Ipv4{0, 0, 0, 0}) continue;
            EXPECT_TRUE(it->second.count(address))
                << int(address[0]) << "." << int(address[1]) << "." << int(address[2]) << "."
                << int(address[3]) << " is not an address of interface " << adapter.index;
        }
    }
    // Every interface with an IPv4 address is an adapter of the list.
    for (const auto& [index, addresses] : expected) {
        if (addresses.empty()) continue;
        EXPECT_TRUE(std::any_of(adapters.begin(), adapters.end(),
                                [&](const Adapter& a) { return a.index == index; }))
            << "interface " << index << " is missing";
    }
}

TEST(WindowsIpHelper, RoutesAreTheSystemsIpv4Routes) {
    std::vector<RouteRow> routes;
    ASSERT_TRUE(SystemIpHelper().ReadRoutes(routes));
    MIB_IPFORWARD_TABLE2* table = nullptr;
    ASSERT_EQ(::GetIpForwardTable2(AF_INET, &table), NO_ERROR);
    std::set<std::tuple<Ipv4, int, std::uint32_t>> expected;
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IPFORWARD_ROW2& row = table->Table[i];
        expected.insert(
            {FromSockaddr(reinterpret_cast<const SOCKADDR*>(&row.DestinationPrefix.Prefix.Ipv4)),
             row.DestinationPrefix.PrefixLength, row.InterfaceIndex});
    }
    ::FreeMibTable(table);
    std::set<std::tuple<Ipv4, int, std::uint32_t>> read;
    for (const RouteRow& row : routes) {
        EXPECT_GE(row.prefixLength, 0);
        EXPECT_LE(row.prefixLength, 32);
        // A direct route names no gateway; its next hop is the local address.
        if (row.gateway != Ipv4{0, 0, 0, 0}) {
            EXPECT_EQ(row.preferredSource, (Ipv4{0, 0, 0, 0}));
        }
        read.insert({row.destination, row.prefixLength, row.interfaceIndex});
    }
    // The older table leaves some routes out (loopback, multicast, broadcast)
    // but invents none.
    for (const auto& route : read) EXPECT_TRUE(expected.count(route));
}

TEST(WindowsIpHelper, NeighboursAreReadEvenWhenThereAreNone) {
    std::vector<NeighbourEntry> neighbours{NeighbourEntry{}};
    ASSERT_TRUE(SystemIpHelper().ReadNeighbours(neighbours));
    std::vector<Adapter> adapters;
    ASSERT_TRUE(SystemIpHelper().ReadAdapters(adapters));
    for (const NeighbourEntry& entry : neighbours) EXPECT_NE(entry.address, (Ipv4{0, 0, 0, 0}));
}

// A host route and static neighbour entry through the first adapter with an
// address, to a documentation address nothing answers, removed again.
TEST(WindowsIpHelper, AHostRouteAndNeighbourEntryComeAndGo) {
    std::vector<Adapter> adapters;
    ASSERT_TRUE(SystemIpHelper().ReadAdapters(adapters));
    const Adapter* adapter = nullptr;
    for (const Adapter& a : adapters)
        if (!a.addresses.empty() && a.addresses.front() != Ipv4{0, 0, 0, 0}) adapter = &a;
    if (adapter == nullptr) GTEST_SKIP() << "no adapter with an address";

    HostRoute route;
    route.destination = {198, 51, 100, 77};
    route.localAddress = adapter->addresses.front();
    route.interfaceIndex = adapter->index;
    NeighbourEntry neighbour;
    neighbour.interfaceIndex = adapter->index;
    neighbour.address = route.destination;
    neighbour.mac = {0x02, 0x5C, 0xC1, 0x00, 0x00, 0x77};
    neighbour.permanent = true;

    const auto routeThere = [&] {
        std::vector<RouteRow> routes;
        EXPECT_TRUE(SystemIpHelper().ReadRoutes(routes));
        return std::any_of(routes.begin(), routes.end(), [&](const RouteRow& row) {
            return platform::iphelper::RowIsHostRoute(row, route);
        });
    };
    const auto neighbourThere = [&] {
        std::vector<NeighbourEntry> entries;
        EXPECT_TRUE(SystemIpHelper().ReadNeighbours(entries));
        return std::any_of(entries.begin(), entries.end(), [&](const NeighbourEntry& e) {
            return e.interfaceIndex == neighbour.interfaceIndex && e.address == neighbour.address &&
                   e.mac == neighbour.mac && e.permanent;
        });
    };
    ASSERT_FALSE(routeThere());
    if (!SystemIpHelper().AddHostRoute(route))
        GTEST_SKIP() << "adding routes needs an administrator";
    const bool routeKept = routeThere();
    const bool neighbourAdded = SystemIpHelper().AddStaticNeighbour(neighbour);
    const bool neighbourKept = neighbourThere();
    EXPECT_TRUE(SystemIpHelper().DeleteNeighbour(neighbour.interfaceIndex, neighbour.address) ||
                !neighbourAdded);
    SystemIpHelper().DeleteHostRoute(route);
    EXPECT_FALSE(routeThere());
    EXPECT_FALSE(neighbourThere());
    if (!routeKept)
        GTEST_SKIP() << "the system accepted the route but keeps no such row (Wine's IP Helper "
                        "accepts route and neighbour changes without making them)";
    EXPECT_TRUE(neighbourAdded);
    EXPECT_TRUE(neighbourKept);
}

// The device library's use of the adapter list: a local address no adapter
// holds is refused before anything is added.
TEST(WindowsIpHelper, CreateRouteRefusesALocalAddressNoAdapterHolds) {
    devicelib::CR40 device;  // on the system's tables
    device.SetAddress({198, 51, 100, 78});
    const devicelib::Ipv4 nobodys{203, 0, 113, 9};
    EXPECT_EQ(device.CreateRoute(&nobodys), ERR_ADAPTER_NOT_FOUND);
    EXPECT_EQ(device.CreateRoute(nullptr), ERR_ROUTE_NO_LOCAL_ADDRESS);
    std::vector<RouteRow> routes;
    ASSERT_TRUE(SystemIpHelper().ReadRoutes(routes));
    EXPECT_FALSE(std::any_of(routes.begin(), routes.end(), [&](const RouteRow& row) {
        return row.destination == Ipv4{198, 51, 100, 78} && row.prefixLength == 32;
    }));
}

}  // namespace
