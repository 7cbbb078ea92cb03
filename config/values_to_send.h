// What an apply of a configuration file would send, checked before it sends
// anything. The reads of the document take what the file format allows (a
// negative address number, words after an address, a PID beyond 13 bits,
// a port beyond 16 bits, all cut down to fit); an apply must not send what
// such cutting made of a value. Here each value that would be sent must
// stand in the file exactly as a number or address of its kind, and then
// pass the device library's judgement of what a receiver can be given
// (CheckNetworkSettings, CheckPidList).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/configuration_apply.h"
#include "config/r40_settings_to_xml_doc.h"

namespace config {

// A value of the file that no receiver can be given.
struct ValueFault {
    ApplyStage stage = ApplyStage::Network;  // the stage that would send it
    std::string element;                     // where it stands: "DeviceIP", "PIDEntry 2 Entry", ...
    std::string value;                       // the text the file holds there
    std::string why;                         // what is wrong with it

    // DeviceIP "255.255.255.255": the new address is no receiver's ...
    std::string Text() const;
};

// The first value of the file that the apply would send to a device of
// `deviceType` and must not: the network settings (when all five are in the
// file and `networkSent`: another receiver's are skipped, not sent), then
// the PID list in the form the type takes (when the file has one). Settings
// the file lacks are left to the apply, which reports them as missing; the
// status port is the caller's, judged when it is sent.
std::optional<ValueFault> CheckValuesToSend(const CR40SettingsToXmlDoc& document,
                                            std::uint16_t deviceType, bool networkSent = true);

}  // namespace config
