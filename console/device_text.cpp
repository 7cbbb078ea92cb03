#include "console/device_text.h"

#include <cstdio>

namespace console {

std::string DisplayName(std::uint16_t deviceType) {
    switch (deviceType) {
        case TYPE_T22_V3:
            return "T22 (3.x) ";
        case TYPE_R40:
            return "R40 ";
        case TYPE_R40_TREVAN:
            return "R40V ";
        default:
            return "Unsupported Device ";
    }
}

std::string FormatMac(const std::uint8_t* mac) {
    char text[32];
    std::snprintf(text, sizeof text, "%.02X-%02X-%.02X-%.02X-%.02X-%.02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::string FormatAddress(const std::uint8_t* address) {
    char text[24];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    return text;
}

std::string DeviceListItemText(const DeviceInfo& entry) {
    return FormatMac(entry.mac) + " " + DisplayName(entry.deviceType) + " (" +
           FormatAddress(entry.address) + ") ";
}

std::string DeviceDescription(std::uint16_t deviceType, const std::uint8_t* mac,
                              const std::uint8_t* address, bool online) {
    std::string text = " Device Type: " + DisplayName(deviceType) +
                       " \n MAC Address: " + FormatMac(mac) +
                       " \n IP Address: " + FormatAddress(address) + " ";
    if (online) text += "\n Device Status: Online";
    return text;
}
std::int32_t DeviceKey(const std::uint8_t* mac) {
    return (static_cast<std::int32_t>(mac[3]) << 16) | (static_cast<std::int32_t>(mac[4]) << 8) |
           mac[5];
}

}  // namespace console
