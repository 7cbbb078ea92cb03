// Status datagrams that are only heard, not waited for: a program watching
// many receivers passively hands each datagram here with the address it
// came from. No device is opened, no socket made, nothing kept between
// calls, so it may run on any thread and beside every other entry point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "devicelib/devicelib.h"
#include "devicelib/status_record_size.h"

namespace devicelib {

// `sender` brings the source address and the status port the datagram was
// heard on; its MAC address and type code are filled in as discovery would
// (zero MAC when the datagram is too short to hold one, TYPE_UNRECOGNISED
// for an unknown model code). The datagram is then handed to a new device
// object of that model, which checks it as its listener would (the model's
// full length, the maker's MAC prefix, the model's own code) and decodes it
// into `record` as GetDeviceStatus does.
// 0; ERR_FOREIGN_MAC for another maker's receiver; RC_FAILED for anything
// else that is not a whole status of a known model, or a record too small.
std::int32_t DecodeHeardStatus(std::span<const std::uint8_t> datagram, DeviceInfo& sender,
                               void* record, std::size_t recordSize);

}  // namespace devicelib
