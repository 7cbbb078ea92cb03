#include "config/file_owner.h"

#include <algorithm>
#include <cstdio>

#include "config/r40_settings_to_xml_doc.h"

namespace config {

ReceiverKey KeyOfMac(std::span<const std::uint8_t, 6> mac) {
    return {mac[3], mac[4], mac[5]};
}

std::string KeyText(const ReceiverKey& key) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X", key[0], key[1], key[2]);
    return text;
}

FileOwner OwnerOf(const CR40SettingsToXmlDoc& document, const ReceiverKey& key,
                  ReceiverKey* fileKey) {
    ReceiverKey marked{};
    if (!document.ReadMACBytes(marked)) return FileOwner::Unmarked;
    if (marked == key) return FileOwner::ThisReceiver;
    if (fileKey != nullptr) *fileKey = marked;
    return FileOwner::OtherReceiver;
}

bool DescribesReceiver(const CR40SettingsToXmlDoc& document, const ReceiverKey& key,
                       std::span<const std::uint8_t, 4> address) {
    switch (OwnerOf(document, key)) {
        case FileOwner::ThisReceiver:
            return true;
        case FileOwner::OtherReceiver:
            return false;
        case FileOwner::Unmarked:
            break;
    }
    std::array<std::uint8_t, 4> fileAddress{};
    return document.ReadDeviceIP(fileAddress) &&
           std::equal(fileAddress.begin(), fileAddress.end(), address.begin());
}

}  // namespace config
