// Opening, attaching, typing and closing device objects against emulated
// receivers.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "devicelib/device_models.h"
#include "platform/net/udp_socket.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

TEST(OpenDevice, OpensAnR40AndReportsItsType) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 20});
    OpenedDevice device;
    Open(*rx, device);
    uint16_t type = 0;
    EXPECT_EQ(GetDeviceType(device.handle, &type), 0);
    EXPECT_EQ(type, TYPE_R40);
}

TEST(OpenDevice, OpensEveryModel) {
    const sim::Model models[] = {sim::Model::R40,   sim::Model::R40V,  sim::Model::T22V2,
                                 sim::Model::T22V3, sim::Model::T22CA, sim::Model::Trevan};
    int host = 30;
    for (sim::Model model : models) {
        auto rx = StartReceiver(model, {127, 0, 0, static_cast<std::uint8_t>(host++)});
        OpenedDevice device;
        Open(*rx, device);
        uint16_t type = 0;
        EXPECT_EQ(GetDeviceType(device.handle, &type), 0);
        EXPECT_EQ(type, TypeCodeOf(model));
    }
}

TEST(OpenDevice, RefusesAForeignMacPrefix) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 21});
    DeviceInfo info = InfoFor(*rx);
    info.mac[0] = 0x00;
    int32_t result = 0;
    EXPECT_EQ(OpenDevice(&info, 1000, &result), nullptr);
    EXPECT_EQ(result, ERR_FOREIGN_MAC);
}

TEST(OpenDevice, RefusesTypeCodesOutsideTheModels) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 22});
    for (uint16_t bad : {0, 1, 2, 9, 0xFFFF}) {
        DeviceInfo info = InfoFor(*rx);
        info.deviceType = bad;
        int32_t result = 0;
        EXPECT_EQ(OpenDevice(&info, 1000, &result), nullptr) << bad;
        EXPECT_EQ(result, ERR_BAD_TYPE) << bad;
    }
}

TEST(OpenDevice, FailsWhenTheReceiverIsSilent) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 23});
    rx->SetFault(sim::Fault::Silence, true);
    const DeviceInfo info = InfoFor(*rx);
    int32_t result = 0;
    EXPECT_EQ(OpenDevice(&info, 300, &result), nullptr);
    EXPECT_EQ(result, ERR_STATUS_TIMEOUT);
}

TEST(OpenDevice, OnlyTheDevicesOwnStatusCounts) {
    // A receiver of another model on the same port at another address: the
    // source filter keeps its datagrams out, so the open times out.
    auto other = StartReceiver(sim::Model::R40V, {127, 0, 0, 24});
    DeviceInfo info = InfoFor(*other);
    info.address[3] = 25;  // nobody there
    info.deviceType = TYPE_R40_TREVAN;
    int32_t result = 0;
    EXPECT_EQ(OpenDevice(&info, 300, &result), nullptr);
    EXPECT_EQ(result, ERR_STATUS_TIMEOUT);
}

TEST(OpenDevice, NullArgumentsAreRefusedNotDereferenced) {
    int32_t result = 0;
    EXPECT_EQ(OpenDevice(nullptr, 100, &result), nullptr);
    EXPECT_NE(result, 0);
    EXPECT_EQ(CloseDevice(nullptr), 0);
    uint16_t type = 0;
    EXPECT_EQ(GetDeviceType(nullptr, &type), RC_FAILED);
    EXPECT_EQ(FindFreeStatusPort(nullptr), RC_FAILED);
}

TEST(OpenDeviceWithStatus, TakesAHeardStatusAsItsFirstAndNothingElse) {
    auto rx = StartReceiver(sim::Model::R40V, {127, 0, 0, 26});
    auto other = StartReceiver(sim::Model::R40V, {127, 0, 0, 27});
    ASSERT_TRUE(rx->Settle());
    ASSERT_TRUE(other->Settle());
    const DeviceInfo info = InfoFor(*rx);
    const std::vector<std::uint8_t> own = rx->LastStatusDatagram();
    const std::vector<std::uint8_t> othersOwn = other->LastStatusDatagram();
    // Under Wine both stand at 127.0.0.1: the other one must not answer for it.
    other->Stop();
    // Silent from now on: only the status handed over can open it.
    rx->SetFault(sim::Fault::Silence, true);

    std::vector<std::uint8_t> cut = own;
    cut.pop_back();
    std::vector<std::uint8_t> otherModel = own;
    otherModel[0x20] = 0x43;  // the R40's code in an R40V's datagram
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> refused{
        {"another receiver's status", othersOwn},
        {"one byte short", cut},
        {"another model's code", otherModel},
        {"empty", {}},
    };
    for (const auto& [what, datagram] : refused) {
        SCOPED_TRACE(what);
        int32_t result = 0;
        EXPECT_EQ(OpenDeviceWithStatus(&info, datagram.data(), datagram.size(), &result), nullptr);
        EXPECT_EQ(result, RC_FAILED);
    }
    int32_t result = 0;
    EXPECT_EQ(OpenDeviceWithStatus(&info, nullptr, own.size(), &result), nullptr);
    EXPECT_EQ(result, RC_FAILED);
    EXPECT_EQ(OpenDeviceWithStatus(nullptr, own.data(), own.size(), &result), nullptr);

    result = -99;
    DeviceHandle handle = OpenDeviceWithStatus(&info, own.data(), own.size(), &result);
    ASSERT_NE(handle, nullptr) << result;
    EXPECT_EQ(result, 0);
    uint16_t type = 0;
    EXPECT_EQ(GetDeviceType(handle, &type), 0);
    EXPECT_EQ(type, TYPE_R40_TREVAN);
    // The handle is a device like any other once the receiver speaks again.
    rx->SetFault(sim::Fault::Silence, false);
    const uint16_t channel = 41;
    EXPECT_EQ(SetChannel(handle, &channel), 0);
    EXPECT_EQ(rx->State().channel, 41);
    EXPECT_EQ(CloseDevice(handle), 0);
}

TEST(Attach, ChecksTypeThenAttachmentThenMac) {
    DeviceInfo info{};
    const std::uint8_t address[4] = {127, 0, 0, 26};
    const std::uint8_t mac[6] = {0x02, 0x5C, 0xC1, 0x00, 0x00, 0x01};
    std::memcpy(info.address, address, 4);
    std::memcpy(info.mac, mac, 6);
    info.statusPort = 8309;
    info.deviceType = TYPE_R40;

    devicelib::CR40 device;
    EXPECT_EQ(device.TypeCode(), TYPE_UNRECOGNISED);
    info.deviceType = TYPE_R40_TREVAN;
    EXPECT_EQ(device.Attach(info), ERR_TYPE_MISMATCH);
    info.deviceType = TYPE_R40;
    info.mac[0] = 0x00;
    EXPECT_EQ(device.Attach(info), ERR_FOREIGN_MAC);
    EXPECT_FALSE(device.IsAttached());
    info.mac[0] = 0x02;
    EXPECT_EQ(device.Attach(info), RC_ATTACHED);
    EXPECT_EQ(device.TypeCode(), TYPE_R40);
    EXPECT_EQ(device.StatusPort(), 8309);
    devicelib::Ipv4 got{};
    EXPECT_TRUE(device.GetAddress(got));
    EXPECT_EQ(got, (devicelib::Ipv4{127, 0, 0, 26}));

    // A second attach changes nothing.
    DeviceInfo other = info;
    other.address[3] = 99;
    other.statusPort = 9077;
    EXPECT_EQ(device.Attach(other), ERR_ALREADY_ATTACHED);
    EXPECT_TRUE(device.GetAddress(got));
    EXPECT_EQ(got[3], 26);
    EXPECT_EQ(device.StatusPort(), 8309);
}

TEST(Attach, SourceFilterNeedsAKnownAddress) {
    devicelib::CR40 device;
    EXPECT_FALSE(device.SetSourceFilter(true));
    device.SetAddress({127, 0, 0, 1});
    EXPECT_TRUE(device.SetSourceFilter(true));
    EXPECT_FALSE(device.SetSourceFilter(false));
}

TEST(GetDeviceType, UnattachedObjectReportsUnrecognised) {
    // OpenDevice hands out attached objects only; the object itself tells.
    devicelib::CT22_V3 device;
    EXPECT_EQ(device.TypeCode(), TYPE_UNRECOGNISED);
    DeviceInfo info{};
    info.deviceType = TYPE_T22_V3;
    info.mac[0] = 0x02, info.mac[1] = 0x5C, info.mac[2] = 0xC1;
    ASSERT_EQ(device.Attach(info), RC_ATTACHED);
    EXPECT_EQ(device.TypeCode(), TYPE_T22_V3);
}

TEST(FindFreeStatusPort, SkipsPortsOtherProgramsHold) {
    uint16_t port = 0;
    ASSERT_TRUE(Succeeded(FindFreeStatusPort(&port)));
    EXPECT_EQ(port, 6516);

    platform::net::UdpSocket first, second;
    ASSERT_TRUE(first.Open() && first.Bind(platform::net::ANY_ADDRESS, 6516));
    ASSERT_TRUE(second.Open() && second.Bind(platform::net::ANY_ADDRESS, 8309));
    port = 0;
    ASSERT_TRUE(Succeeded(FindFreeStatusPort(&port)));
    EXPECT_EQ(port, 8565);
}

TEST(FindFreeStatusPort, SharesAPortOthersHoldWithAddressReuse) {
    // A monitoring program hearing the broadcasts, and another listener that
    // shares: the console's listener can bind beside both, so the port is free.
    platform::net::UdpSocket broadcasts, shared;
    ASSERT_TRUE(broadcasts.Open() && broadcasts.SetReuseAddress(true) &&
                broadcasts.Bind({127, 255, 255, 255}, 6516));
    ASSERT_TRUE(shared.Open() && shared.SetReuseAddress(true) &&
                shared.Bind(platform::net::ANY_ADDRESS, 6516));
    uint16_t port = 0;
    ASSERT_EQ(FindFreeStatusPort(&port), 0);
    EXPECT_EQ(port, 6516);
}

TEST(FindFreeStatusPort, AllPortsTakenLeavesTheVariableAlone) {
    std::vector<platform::net::UdpSocket> holders(STATUS_PORT_COUNT);
    for (int i = 0; i < STATUS_PORT_COUNT; ++i)
        ASSERT_TRUE(holders[i].Open() &&
                    holders[i].Bind(platform::net::ANY_ADDRESS, STATUS_PORTS[i]));
    uint16_t port = 1234;
    EXPECT_EQ(FindFreeStatusPort(&port), RC_FAILED);
    EXPECT_EQ(port, 1234);
}

TEST(CloseDevice, ReleasesTheStatusPort) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 27}, 9333);
    {
        OpenedDevice device;
        Open(*rx, device);
        // The listener shares the port (address reuse), so an exclusive
        // bind fails while the device is open...
        platform::net::UdpSocket probe;
        ASSERT_TRUE(probe.Open());
        EXPECT_FALSE(probe.Bind(platform::net::ANY_ADDRESS, 9333));
    }
    // ...and succeeds once it is closed.
    platform::net::UdpSocket probe;
    ASSERT_TRUE(probe.Open());
    EXPECT_TRUE(probe.Bind(platform::net::ANY_ADDRESS, 9333));
}

}  // namespace
}  // namespace devicelib_test
