// The texts the console shows for devices.
#include <gtest/gtest.h>

#include <cstring>

#include "console/device_text.h"

namespace {

TEST(DeviceText, ListItemsAndDescriptionsKeepTheNamesTrailingBlank) {
    DeviceInfo entry{};
    const std::uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    const std::uint8_t address[4] = {192, 168, 1, 20};
    std::memcpy(entry.mac, mac, 6);
    std::memcpy(entry.address, address, 4);
    entry.deviceType = TYPE_R40;
    EXPECT_EQ(console::DeviceListItemText(entry), "00-1A-2B-3C-4D-5E R40  (192.168.1.20) ");
    EXPECT_EQ(console::DeviceDescription(TYPE_R40_TREVAN, mac, address, false),
              " Device Type: R40V  \n MAC Address: 00-1A-2B-3C-4D-5E \n IP Address: 192.168.1.20 ");
    EXPECT_TRUE(console::DeviceDescription(TYPE_R40, mac, address, true)
                    .ends_with(" \n Device Status: Online"));

    // The T22 (3.x) keeps its name; models the console does not follow are
    // listed under one name.
    entry.deviceType = TYPE_T22_V3;
    EXPECT_EQ(console::DeviceListItemText(entry), "00-1A-2B-3C-4D-5E T22 (3.x)  (192.168.1.20) ");
    for (int other : {TYPE_T22_V2, TYPE_TREVAN, TYPE_T22CA, 0}) {
        entry.deviceType = static_cast<std::uint16_t>(other);
        EXPECT_EQ(console::DeviceListItemText(entry),
                  "00-1A-2B-3C-4D-5E Unsupported Device  (192.168.1.20) ")
            << other;
    }
}

}  // namespace
