// Two workstation adapters, only the second of which leads to the
// receiver: the first attempt waits out its echoes and fails, the second
// succeeds, and neither leaves anything behind.
#include "tests/devicelib/namespace_fixture.h"

namespace devicelib_test {
namespace {

TEST_F(TwoNamespaces, FirstAdapterFailsTheSecondSucceeds) {
    // The dead end is made first, so its interface index comes first.
    Link(Name("x"), "192.168.9.5", c, Name("y"));
    Link(Name("w"), "10.0.0.7", b, Name("r"));
    ReceiverLink(Name("w"), Name("r"));
    auto rx = StartReceiverInB();
    EnterA();
    std::vector<platform::iphelper::Adapter> adapters;
    ASSERT_TRUE(platform::iphelper::SystemIpHelper().ReadAdapters(adapters));
    ASSERT_GE(adapters.size(), 2u);
    ASSERT_EQ(adapters[0].name, Name("x"));
    ASSERT_EQ(adapters[1].name, Name("w"));

    DeviceHandle device = OpenReceiver();
    ASSERT_NE(device, nullptr);
    const NetworkSettings settings = NewSettings();
    EXPECT_TRUE(Succeeded(SetNetworkSettings(device, &settings)));
    EXPECT_EQ(rx->Address(), RECEIVER_AFTER);
    // Four tries went out the dead end before the one that worked.
    EXPECT_EQ(rx->CommandsOnPort(devicelib::PORT_NETWORK).size(), 1u);
    CloseDevice(device);
    EXPECT_EQ(RoutesTo(RECEIVER), 0);
    EXPECT_EQ(NeighboursOf(RECEIVER), 0);
}

}  // namespace
}  // namespace devicelib_test
