// The texts the console builds for devices: names of the models, device-list
// items and the description in the message line, in UTF-8.
#pragma once

#include <cstdint>
#include <string>

#include "devicelib/devicelib.h"

namespace console {

// "R40 ", "R40V ", "T22 (3.x) " or "Unsupported Device ": the blank at the
// end belongs to the name.
std::string DisplayName(std::uint16_t deviceType);

// "%.02X-%02X-%.02X-%.02X-%.02X-%.02X"
std::string FormatMac(const std::uint8_t* mac);
// "%d.%d.%d.%d"
std::string FormatAddress(const std::uint8_t* address);

// "<MAC> <name> (<address>) " for the device list.
std::string DeviceListItemText(const DeviceInfo& entry);

// " Device Type: <name> \n MAC Address: <MAC> \n IP Address: <address> ",
// with "\n Device Status: Online" when the device is open.
std::string DeviceDescription(std::uint16_t deviceType, const std::uint8_t* mac,
                              const std::uint8_t* address, bool online);

// The 24-bit number made of the MAC address's last three bytes; it names the
// selected device across discovery passes.
std::int32_t DeviceKey(const std::uint8_t* mac);

// No device selected.
inline constexpr std::int32_t NO_DEVICE_KEY = -1;

}  // namespace console
