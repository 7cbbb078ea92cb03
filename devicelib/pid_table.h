// The PID table commands: entries of 8 bytes after a 2-byte command word;
// each entry holds a destination address, a destination port and a PID word
// (bits 0-12 PID, bits 13-15 control).
#pragma once

#include <cstdint>
#include <span>

#include "devicelib/devicelib.h"

namespace devicelib {

// How a standard-form receiver is told the control value.
enum class StandardControlRule {
    AlwaysPassed,     // bit 13 set on every used PID; the control value is not sent
    FromControlBit0,  // bit 13 set when bit 0 of the control value is set
};

// Builds a write command of TableCommandLength(entries) bytes. The command
// word is big-endian; the entry words are in host order, as WriteTable
// converts them when it sends.
void EncodeStandardTable(const PidListRecord& record, int entries, StandardControlRule rule,
                         std::span<std::uint8_t> command);
void EncodeForwardingTable(const TrevanPidListRecord& record, std::span<std::uint8_t> command);

// Decodes a table reply (big-endian) into a record, then compacts it.
void ParseStandardTable(std::span<const std::uint8_t> reply, int entries, PidListRecord& record);
void ParseForwardingTable(std::span<const std::uint8_t> reply, TrevanPidListRecord& record);

}  // namespace devicelib
