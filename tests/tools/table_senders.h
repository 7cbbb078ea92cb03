// Receivers for tests of the receiver table and what is built on it:
// receiver n has the MAC address 02-5C-C1-00-00-n and the address 10.0.0.n,
// and reads locked or not with an SNR of 20.5 dB.
#pragma once

#include <cstdint>
#include <cstring>

#include "devicelib/devicelib.h"
#include "tools/r40ctl/exporter/receiver_table.h"

namespace table_test {

inline DeviceInfo Sender(int n, std::uint16_t type = TYPE_R40) {
    DeviceInfo sender{};
    const std::uint8_t mac[6] = {0x02, 0x5C, 0xC1, 0x00, 0x00, static_cast<std::uint8_t>(n)};
    std::memcpy(sender.mac, mac, 6);
    const std::uint8_t address[4] = {10, 0, 0, static_cast<std::uint8_t>(n)};
    std::memcpy(sender.address, address, 4);
    sender.statusPort = 6516;
    sender.deviceType = type;
    return sender;
}

inline r40ctl::exporter::Reading Locked(bool locked) {
    r40ctl::exporter::Reading reading;
    reading.locked = locked;
    reading.snrDecibels = 20.5;
    return reading;
}

}  // namespace table_test
