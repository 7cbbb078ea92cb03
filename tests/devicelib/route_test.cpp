// Network settings through each local address with a temporary route, on
// in-memory route tables (the fake records every call). The receivers are
// real emulators on loopback; only the workstation's tables are stand-ins.
#include <gtest/gtest.h>

#include <algorithm>

#include "devicelib/device_models.h"
#include "devicelib/route_to_device.h"
#include "platform/iphelper/fake_ip_helper.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

using platform::iphelper::Adapter;
using platform::iphelper::FakeIpHelper;

NetworkSettings SettingsFor(std::uint8_t host, std::uint16_t port = 6516) {
    NetworkSettings s{};
    const std::uint8_t mask[4] = {255, 0, 0, 0};
    const std::uint8_t gateway[4] = {127, 0, 0, 254};
    const std::uint8_t unicast[4] = {255, 255, 255, 255};
    const std::uint8_t address[4] = {127, 0, 0, host};
    std::memcpy(s.subnetMask, mask, 4);
    std::memcpy(s.defaultGateway, gateway, 4);
    std::memcpy(s.unicastStatusAddress, unicast, 4);
    std::memcpy(s.deviceAddress, address, 4);
    s.statusPort = s.listenPort = port;
    return s;
}

std::vector<std::string> CallsStartingWith(const FakeIpHelper& fake, const std::string& prefix) {
    std::vector<std::string> found;
    for (const auto& call : fake.calls)
        if (call.rfind(prefix, 0) == 0) found.push_back(call);
    return found;
}

FakeIpHelper TwoAdapters() {
    FakeIpHelper fake;
    fake.adapters = {Adapter{4, "eth0", {{192, 168, 1, 5}}},
                     Adapter{7, "eth1", {{10, 0, 0, 7}, {0, 0, 0, 0}}}};
    return fake;
}

TEST(RouteAttempts, OneAttemptPerLocalAddressInAdapterOrder) {
    FakeIpHelper fake = TwoAdapters();
    devicelib::CR40 device;  // not attached: every attempt fails at once
    device.SetIpHelper(fake);
    device.SetAddress({192, 168, 7, 20});
    EXPECT_EQ(devicelib::ApplyNetworkSettingsThroughAdapters(device, SettingsFor(50)),
              ERR_NET_NOT_ATTACHED);
    EXPECT_EQ(CallsStartingWith(fake, "AddHostRoute"),
              (std::vector<std::string>{"AddHostRoute 192.168.7.20 if 4 via 192.168.1.5",
                                        "AddHostRoute 192.168.7.20 if 7 via 10.0.0.7",
                                        "AddHostRoute 192.168.7.20 if 7 via 0.0.0.0"}));
    EXPECT_EQ(CallsStartingWith(fake, "AddStaticNeighbour").size(), 3u);
    EXPECT_EQ(CallsStartingWith(fake, "DeleteHostRoute").size(), 3u);
    EXPECT_EQ(CallsStartingWith(fake, "DeleteNeighbour").size(), 3u);
    EXPECT_TRUE(fake.routes.empty());
    EXPECT_TRUE(fake.neighbours.empty());
    EXPECT_FALSE(device.RouteMade());
}

TEST(RouteAttempts, AddressWithFirstOctetZeroIsReachedAt10_10_10_10) {
    FakeIpHelper fake = TwoAdapters();
    devicelib::CT22_V3 device;
    device.SetIpHelper(fake);
    device.SetAddress({0, 1, 2, 3});
    devicelib::ApplyNetworkSettingsThroughAdapters(device, SettingsFor(50));
    const auto adds = CallsStartingWith(fake, "AddHostRoute");
    ASSERT_FALSE(adds.empty());
    EXPECT_EQ(adds[0], "AddHostRoute 10.10.10.10 if 4 via 192.168.1.5");
}

TEST(RouteAttempts, NoAdaptersMeansNoAttempt) {
    FakeIpHelper unreadable;
    unreadable.adaptersReadable = false;
    devicelib::CR40 device;
    device.SetIpHelper(unreadable);
    EXPECT_EQ(devicelib::ApplyNetworkSettingsThroughAdapters(device, SettingsFor(50)),
              ERR_ADAPTER_NOT_FOUND);

    FakeIpHelper empty;
    empty.adapters = {Adapter{3, "eth0", {}}};
    device.SetIpHelper(empty);
    EXPECT_EQ(devicelib::ApplyNetworkSettingsThroughAdapters(device, SettingsFor(50)),
              ERR_ADAPTER_NOT_FOUND);
    EXPECT_TRUE(CallsStartingWith(empty, "AddHostRoute").empty());
}

TEST(CreateRoute, ChecksItsArgumentsAndTheAdapter) {
    FakeIpHelper fake = TwoAdapters();
    devicelib::CR40 device;
    device.SetIpHelper(fake);
    EXPECT_EQ(device.CreateRoute(nullptr), ERR_ROUTE_NO_LOCAL_ADDRESS);
    const devicelib::Ipv4 local{192, 168, 1, 5};
    EXPECT_EQ(device.CreateRoute(&local), ERR_ROUTE_NO_ADDRESS);
    device.SetAddress({192, 168, 7, 20});
    const devicelib::Ipv4 stranger{172, 16, 0, 1};
    EXPECT_EQ(device.CreateRoute(&stranger), ERR_ADAPTER_NOT_FOUND);
    EXPECT_TRUE(CallsStartingWith(fake, "Add").empty());

    EXPECT_EQ(device.CreateRoute(&local), RC_ROUTE_CREATED);
    EXPECT_TRUE(device.RouteMade());
    EXPECT_TRUE(device.ArpEntryMade());
    ASSERT_EQ(fake.routes.size(), 1u);
    EXPECT_EQ(fake.routes[0].metric, 3u);
    ASSERT_EQ(fake.neighbours.size(), 1u);
    EXPECT_TRUE(fake.neighbours[0].permanent);
    device.RemoveRoute();
    EXPECT_TRUE(fake.routes.empty());
    EXPECT_TRUE(fake.neighbours.empty());
}

TEST(CreateRoute, MakesNothingOnALinkWithoutNeighbours) {
    FakeIpHelper fake;
    fake.adapters = {Adapter{1, "lo", {{127, 0, 0, 1}}, false}};
    devicelib::CR40 device;
    device.SetIpHelper(fake);
    device.SetAddress({127, 0, 0, 20});
    const devicelib::Ipv4 local{127, 0, 0, 1};
    EXPECT_EQ(device.CreateRoute(&local), RC_ROUTE_CREATED);
    EXPECT_TRUE(CallsStartingWith(fake, "Add").empty());
    EXPECT_FALSE(device.RouteMade());
}

TEST(CreateRoute, LeavesEntriesThatExistedBeforeAlone) {
    FakeIpHelper fake = TwoAdapters();
    // The operator's own route and neighbour entry for the receiver.
    platform::iphelper::RouteRow theirs;
    theirs.destination = {192, 168, 7, 20};
    theirs.prefixLength = 32;
    theirs.interfaceIndex = 4;
    theirs.metric = 3;
    theirs.protocol = 4;
    fake.routes.push_back(theirs);
    const platform::iphelper::NeighbourEntry theirNeighbour{
        4, {192, 168, 7, 20}, {1, 2, 3, 4, 5, 6}, true, 0};
    fake.neighbours.push_back(theirNeighbour);

    devicelib::CR40 device;
    device.SetIpHelper(fake);
    device.SetAddress({192, 168, 7, 20});
    const devicelib::Ipv4 local{192, 168, 1, 5};
    EXPECT_EQ(device.CreateRoute(&local), RC_ROUTE_CREATED);
    EXPECT_FALSE(device.RouteMade());
    EXPECT_FALSE(device.ArpEntryMade());
    device.RemoveRoute();
    EXPECT_TRUE(CallsStartingWith(fake, "Delete").empty());
    EXPECT_EQ(fake.routes.size(), 1u);
    ASSERT_EQ(fake.neighbours.size(), 1u);
    EXPECT_EQ(fake.neighbours[0], theirNeighbour);
}

TEST(CreateRoute, ARouteThroughAGatewayIsNotOurs) {
    FakeIpHelper fake = TwoAdapters();
    platform::iphelper::RouteRow viaGateway;
    viaGateway.destination = {192, 168, 7, 20};
    viaGateway.prefixLength = 32;
    viaGateway.gateway = {192, 168, 1, 254};
    viaGateway.interfaceIndex = 4;
    viaGateway.metric = 50;
    fake.routes.push_back(viaGateway);
    devicelib::CR40 device;
    device.SetIpHelper(fake);
    device.SetAddress({192, 168, 7, 20});
    const devicelib::Ipv4 local{192, 168, 1, 5};
    device.CreateRoute(&local);
    EXPECT_TRUE(device.RouteMade());
    EXPECT_EQ(fake.routes.size(), 2u);
    device.RemoveRoute();
    ASSERT_EQ(fake.routes.size(), 1u);
    EXPECT_EQ(fake.routes[0], viaGateway);
}

TEST(CreateRoute, DestroyingTheDeviceRemovesARouteStillStanding) {
    FakeIpHelper fake = TwoAdapters();
    {
        devicelib::CR40 device;
        device.SetIpHelper(fake);
        device.SetAddress({192, 168, 7, 20});
        const devicelib::Ipv4 local{10, 0, 0, 7};
        ASSERT_EQ(device.CreateRoute(&local), RC_ROUTE_CREATED);
        ASSERT_EQ(fake.routes.size(), 1u);
    }
    EXPECT_TRUE(fake.routes.empty());
    EXPECT_TRUE(fake.neighbours.empty());
}

TEST(RouteAttempts, OurLeftoversGoFirstEveryoneElsesStay) {
    FakeIpHelper fake = TwoAdapters();
    // Left by a killed attempt: marked as ours.
    ASSERT_TRUE(fake.AddHostRoute({{192, 168, 7, 21}, {10, 0, 0, 7}, 7, 3}));
    ASSERT_TRUE(fake.AddStaticNeighbour({7, {192, 168, 7, 21}, {2, 0x5C, 0xC1, 0, 0, 1}, true}));
    // The operator's: same kind of entries, other makers.
    platform::iphelper::RouteRow theirs;
    theirs.destination = {192, 168, 7, 22};
    theirs.prefixLength = 32;
    theirs.interfaceIndex = 7;
    theirs.metric = 3;
    theirs.protocol = 4;
    fake.routes.push_back(theirs);
    fake.neighbours.push_back({7, {192, 168, 7, 22}, {1, 2, 3, 4, 5, 6}, true, 0});
    fake.neighbours.push_back(
        {7, {192, 168, 7, 23}, {1, 2, 3, 4, 5, 7}, false, platform::iphelper::OWN_ENTRY_PROTOCOL});
    const auto othersRoutes = std::vector<platform::iphelper::RouteRow>{theirs};
    const auto othersNeighbours = std::vector<platform::iphelper::NeighbourEntry>(
        fake.neighbours.begin() + 1, fake.neighbours.end());

    devicelib::CR40 device;  // not attached: every attempt fails at once
    device.SetIpHelper(fake);
    device.SetAddress({192, 168, 7, 20});
    devicelib::ApplyNetworkSettingsThroughAdapters(device, SettingsFor(50));
    EXPECT_EQ(fake.routes, othersRoutes);
    EXPECT_EQ(fake.neighbours, othersNeighbours);
}

TEST(SetNetworkSettings, SucceedsThroughTheFirstAdapterAndLeavesNothingBehind) {
#ifdef _WIN32
    GTEST_SKIP() << "under Wine a receiver cannot move to another loopback address";
#endif
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 140});
    OpenedDevice device;
    Open(*rx, device);
    FakeIpHelper fake = TwoAdapters();
    auto* object = devicelib::DeviceBehindHandle(device.handle);
    object->SetIpHelper(fake);
    const NetworkSettings settings = SettingsFor(141, 8565);
    EXPECT_TRUE(Succeeded(SetNetworkSettings(device.handle, &settings)));
    EXPECT_EQ(CallsStartingWith(fake, "AddHostRoute").size(), 1u);
    EXPECT_TRUE(fake.routes.empty());
    EXPECT_TRUE(fake.neighbours.empty());
    EXPECT_EQ(rx->Address(), (sim::Ipv4{127, 0, 0, 141}));
    R40StatusRecord status{};
    EXPECT_TRUE(Succeeded(GetDeviceStatus(device.handle, &status)));
    EXPECT_EQ(status.statusPort, 8565);
}

TEST(SetNetworkSettings, WithoutThePrivilegeTheCommandGoesByNormalRouting) {
    auto rx = StartReceiver(sim::Model::T22V3, {127, 0, 0, 142});
    OpenedDevice device;
    Open(*rx, device);
    FakeIpHelper fake = TwoAdapters();
    fake.refuseChanges = true;
    devicelib::DeviceBehindHandle(device.handle)->SetIpHelper(fake);
    const NetworkSettings settings = SettingsFor(rx->Address()[3]);
    EXPECT_TRUE(Succeeded(SetNetworkSettings(device.handle, &settings)));
    EXPECT_TRUE(CallsStartingWith(fake, "Delete").empty()) << "nothing was made";
}

TEST(SetNetworkSettings, SettingsThatReachNobodyBlameARefusedRouteOnlyWhenThereWasOne) {
    // The receiver has gone quiet; whether the workstation refused the
    // route decides what the operator is told.
    const struct {
        bool refuseChanges;
        bool blamesTheRoute;
    } cases[] = {{true, true}, {false, false}};
    std::uint8_t host = 144;
    for (const auto& c : cases) {
        auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, host});
        OpenedDevice device;
        Open(*rx, device);
        FakeIpHelper fake;
        fake.adapters = {Adapter{4, "eth0", {{192, 168, 1, 5}}}};
        fake.refuseChanges = c.refuseChanges;
        devicelib::DeviceBehindHandle(device.handle)->SetIpHelper(fake);
        rx->Stop();
        const NetworkSettings settings = SettingsFor(host++);
        const std::int32_t result = SetNetworkSettings(device.handle, &settings);
        EXPECT_FALSE(Succeeded(result));
        EXPECT_EQ(result == ERR_ROUTE_REFUSED, c.blamesTheRoute)
            << std::hex << result << ": " << DeviceResultText(result);
    }
    EXPECT_NE(std::string(DeviceResultText(ERR_ROUTE_REFUSED)).find("administrator rights"),
              std::string::npos);
}

TEST(SetNetworkSettings, RefusedSettingsEndEveryAttemptBeforeSending) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 143});
    OpenedDevice device;
    Open(*rx, device);
    FakeIpHelper fake = TwoAdapters();
    devicelib::DeviceBehindHandle(device.handle)->SetIpHelper(fake);
    NetworkSettings settings = SettingsFor(143);
    settings.listenPort = 5000;
    EXPECT_EQ(SetNetworkSettings(device.handle, &settings), ERR_PORT_NOT_IN_TABLE);
    EXPECT_TRUE(rx->CommandsOnPort(devicelib::PORT_NETWORK).empty());
    EXPECT_TRUE(fake.routes.empty());
}

}  // namespace
}  // namespace devicelib_test
