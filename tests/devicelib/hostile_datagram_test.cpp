// Datagrams of every length from any source must never overrun a buffer or
// crash a device object; the sanitizer build runs this too.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "devicelib/device_identifier.h"
#include "devicelib/device_models.h"
#include "platform/clock/clock.h"
#include "platform/net/udp_socket.h"
#include "tests/devicelib/receiver_fixture.h"

namespace {

constexpr std::uint16_t PORT = 17781;

std::vector<std::unique_ptr<devicelib::COrvelDevice>> AllListeners() {
    std::vector<std::unique_ptr<devicelib::COrvelDevice>> devices;
    for (std::uint16_t type = TYPE_T22_V2; type <= TYPE_R40_TREVAN; ++type)
        devices.push_back(devicelib::MakeDevice(type));
    devices.push_back(std::make_unique<devicelib::CDeviceIdentifier>());
    return devices;
}

TEST(HostileDatagrams, EveryLengthFromEverySource) {
    auto devices = AllListeners();
    for (auto& device : devices) {
        device->SetStatusPort(PORT);
        const std::uint8_t mac[6] = {0x02, 0x5C, 0xC1, 0, 0, 1};
        device->CheckMac(mac);
        ASSERT_EQ(device->OpenListener(), 0);
    }
    platform::net::UdpSocket sender;
    ASSERT_TRUE(sender.Open());
    ASSERT_TRUE(sender.SetBroadcast(true));
    ASSERT_TRUE(sender.Bind({127, 0, 0, 130}, 0));

    std::mt19937 random(1234);
    std::vector<std::uint8_t> bytes(1500);
    for (std::size_t length = 0; length <= 1500; ++length) {
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        // A recognisable model code now and then, so acceptance paths run too.
        if (length > 0x20 && length % 3 == 0) bytes[0x20] = "2345CDT"[length % 7];
        ASSERT_EQ(sender.SendTo({bytes.data(), length}, {127, 255, 255, 255}, PORT),
                  static_cast<long>(length));
        for (auto& device : devices) {
            device->WaitStatus(1);
            device->IsStatusFresh();
            std::uint8_t record[256];
            device->GetStatusRecord(record);
        }
    }
    SUCCEED() << "no overrun, no crash";
}

TEST(HostileDatagrams, IdentifierRefusesDatagramsTooShortForTheMac) {
    devicelib::CDeviceIdentifier identifier;
    identifier.SetStatusPort(PORT);
    ASSERT_EQ(identifier.OpenListener(), 0);
    platform::net::UdpSocket sender;
    const platform::net::Ipv4 from = devicelib_test::TestAddress({127, 0, 0, 131});
    ASSERT_TRUE(sender.Open() && sender.Bind(from, 0));
    std::vector<std::uint8_t> bytes(0x36, 0);
    bytes[0x20] = 0x43;
    ASSERT_TRUE(sender.SendTo({bytes.data(), 0x35}, {127, 0, 0, 1}, PORT) == 0x35);
    EXPECT_NE(identifier.WaitStatus(1000), 0);
    ASSERT_TRUE(sender.SendTo(bytes, {127, 0, 0, 1}, PORT) == 0x36);
    EXPECT_EQ(identifier.WaitStatus(1000), 0);
    DeviceInfo info{};
    identifier.FillDeviceInfo(&info);
    EXPECT_EQ(info.deviceType, TYPE_R40);
    EXPECT_EQ(info.address[3], from[3]);
}

}  // namespace
