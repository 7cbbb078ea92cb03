#include "console/device_text.h"

namespace console {

QString DisplayName(std::uint16_t deviceType) {
    switch (deviceType) {
        case TYPE_T22_V3:
            return QStringLiteral("T22 (3.x) ");
        case TYPE_R40:
            return QStringLiteral("R40 ");
        case TYPE_R40_TREVAN:
            return QStringLiteral("R40V ");
        default:
            return QStringLiteral("Unsupported Device ");
    }
}

QString FormatMac(const std::uint8_t* mac) {
    return QString::asprintf("%.02X-%02X-%.02X-%.02X-%.02X-%.02X", mac[0], mac[1], mac[2], mac[3],
                             mac[4], mac[5]);
}

QString FormatAddress(const std::uint8_t* address) {
    return QString::asprintf("%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
}

QString DeviceListItemText(const DeviceInfo& entry) {
    return QStringLiteral("%1 %2 (%3) ")
        .arg(FormatMac(entry.mac), DisplayName(entry.deviceType), FormatAddress(entry.address));
}

QString DeviceDescription(std::uint16_t deviceType, const std::uint8_t* mac,
                          const std::uint8_t* address, bool online) {
    QString text = QStringLiteral(" Device Type: %1 \n MAC Address: %2 \n IP Address: %3 ")
                       .arg(DisplayName(deviceType), FormatMac(mac), FormatAddress(address));
    if (online) text += QStringLiteral("\n Device Status: Online");
    return text;
}

std::int32_t DeviceKey(const std::uint8_t* mac) {
    return (static_cast<std::int32_t>(mac[3]) << 16) | (static_cast<std::int32_t>(mac[4]) << 8) |
           mac[5];
}

}  // namespace console
