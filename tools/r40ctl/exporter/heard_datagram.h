// One datagram heard on a status port, from its bytes to the receiver
// table: decoded by the device library (DecodeStatusDatagram), read into the
// exporter's values, counted for its receiver or as dropped.
#pragma once

#include <cstdint>
#include <span>

#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/r40ctl/receiver_status.h"

namespace r40ctl::exporter {

// The exporter's values of a decoded status.
Reading ReadingOf(const ReceiverStatus& status);

void TakeDatagram(ReceiverTable& table, std::span<const std::uint8_t> datagram, const Ipv4& source,
                  std::uint16_t port, SteadyTime now, double unixSeconds);

}  // namespace r40ctl::exporter
