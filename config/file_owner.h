// Which receiver a configuration file belongs to.
//
// A file carries the last three bytes of the MAC address of the receiver it
// was made for (the MACByte attributes): the device key, which tells the
// maker's receivers apart. Its network settings are that receiver's own
// identity; put on another receiver they would give two receivers one
// address. So a file's network settings start a receiver's dialogs or reach
// it in an apply only when the file belongs to it. A file without MAC bytes
// (written by hand, or by an older console) belongs to no one in
// particular: an apply uses all of it, as it always did, and the dialogs
// take its values when its address is the receiver's own.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

class CR40SettingsToXmlDoc;

namespace config {

// The fourth, fifth and sixth byte of a receiver's MAC address.
using ReceiverKey = std::array<std::uint8_t, 3>;

ReceiverKey KeyOfMac(std::span<const std::uint8_t, 6> mac);

// "00-60-35": the key as the console shows MAC addresses.
std::string KeyText(const ReceiverKey& key);

enum class FileOwner {
    Unmarked,       // the file carries no (valid) MAC bytes
    ThisReceiver,   // its MAC bytes are the receiver's key
    OtherReceiver,  // its MAC bytes name another receiver
};

// Whose file a loaded document is, seen from the receiver `key`. When it
// names another receiver, `fileKey` gets that receiver's key.
FileOwner OwnerOf(const CR40SettingsToXmlDoc& document, const ReceiverKey& key,
                  ReceiverKey* fileKey = nullptr);

// True when the document describes the receiver at `address` with key
// `key`: its MAC bytes are the key, or it has none and its DeviceIP is
// the receiver's address.
bool DescribesReceiver(const CR40SettingsToXmlDoc& document, const ReceiverKey& key,
                       std::span<const std::uint8_t, 4> address);

}  // namespace config
