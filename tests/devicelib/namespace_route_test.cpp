// Reaching a receiver outside the workstation's subnet, in real network
// namespaces with real routes.
#include "tests/devicelib/namespace_fixture.h"

namespace devicelib_test {
namespace {

TEST_F(TwoNamespaces, ReachesAReceiverOutsideTheSubnetAndLeavesNothingBehind) {
    Link(Name("w"), "10.0.0.7", b, Name("r"));
    ReceiverLink(Name("w"), Name("r"));
    auto rx = StartReceiverInB();
    EnterA();
    DeviceHandle device = OpenReceiver();
    ASSERT_NE(device, nullptr);
    auto* object = devicelib::DeviceBehindHandle(device);

    // Without a route the receiver cannot be reached from A.
    const std::uint8_t probe[6] = {0, 30, 0, 0, 0, 0};
    EXPECT_NE(object->EchoExchange(devicelib::PORT_TUNE, probe, sizeof probe), 0);

    const NetworkSettings settings = NewSettings();
    EXPECT_TRUE(Succeeded(SetNetworkSettings(device, &settings)));
    EXPECT_EQ(rx->Address(), RECEIVER_AFTER);
    R40StatusRecord status{};
    EXPECT_TRUE(Succeeded(GetDeviceStatus(device, &status)));
    EXPECT_EQ(status.statusPort, 8309);
    EXPECT_EQ(status.deviceAddress[3], 21);
    CloseDevice(device);

    EXPECT_EQ(RoutesTo(RECEIVER), 0);
    EXPECT_EQ(NeighboursOf(RECEIVER), 0);
}

TEST_F(TwoNamespaces, ARouteThatExistedBeforeIsStillThereAfter) {
    Link(Name("w"), "10.0.0.7", b, Name("r"));
    ReceiverLink(Name("w"), Name("r"));
    ASSERT_TRUE(Shell("ip -n " + a + " route add 192.168.1.20/32 via 10.0.0.99 dev " + Name("w") +
                      " metric 50"));
    auto rx = StartReceiverInB();
    EnterA();
    DeviceHandle device = OpenReceiver();
    ASSERT_NE(device, nullptr);
    const NetworkSettings settings = NewSettings();
    EXPECT_TRUE(Succeeded(SetNetworkSettings(device, &settings)));
    CloseDevice(device);
    EXPECT_EQ(RoutesTo(RECEIVER), 1);
    std::vector<platform::iphelper::RouteRow> routes;
    platform::iphelper::SystemIpHelper().ReadRoutes(routes);
    for (const auto& r : routes) {
        if (r.destination == RECEIVER) {
            EXPECT_EQ(r.metric, 50u);
        }
    }
}

}  // namespace
}  // namespace devicelib_test
