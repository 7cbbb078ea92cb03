// Turns an accepted status datagram (already in host order where the
// device converted it) into a status record, through the record's view.
#pragma once

#include <cstdint>

#include "devicelib/device_constants.h"
#include "devicelib/status_views.h"

namespace devicelib {

// Fields of every model, and the PID table: `pidEntries` table words
// (16 or 32) with 1 or 3 control bits kept, compacted.
void DecodeCommonStatus(Status& view, const StatusBuffer& datagram, const Ipv4& deviceAddress,
                        int pidEntries, int controlBits);

// The family's fields, chosen by the view's family.
void DecodeFamilyStatus(ATSCStatus& view, const StatusBuffer& datagram);
void DecodeFamilyStatus(SatelliteStatus& view, const StatusBuffer& datagram);

// The 24-bit big-endian mantissa and the exponent of a satellite status.
std::uint32_t SatelliteMantissa(const StatusBuffer& datagram);

// Writers for fields reached through a view (records are packed).
void PutByte(std::uint8_t* field, std::uint8_t value);
void PutWord(std::uint8_t* field, std::uint16_t value);
void PutFloat(std::uint8_t* field, float value);

}  // namespace devicelib
