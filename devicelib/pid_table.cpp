#include "devicelib/pid_table.h"

#include <algorithm>
#include <cstring>

#include "devicelib/byte_order.h"
#include "devicelib/pid_list.h"

namespace devicelib {
namespace {

std::uint8_t* Entry(std::span<std::uint8_t> command, int i) {
    return command.data() + TableEntryOffset(i);
}

const std::uint8_t* Entry(std::span<const std::uint8_t> reply, int i) {
    return reply.data() + TableEntryOffset(i);
}

int EntriesThatFit(std::size_t bytes, int wanted) {
    const int fit = bytes < TABLE_HEADER_LENGTH
                        ? 0
                        : static_cast<int>((bytes - TABLE_HEADER_LENGTH) / TABLE_ENTRY_LENGTH);
    return std::min({fit, wanted, MAX_PIDS});
}

}  // namespace

void EncodeStandardTable(const PidListRecord& record, int entries, StandardControlRule rule,
                         std::span<std::uint8_t> command) {
    std::fill(command.begin(), command.end(), 0);
    StoreBigEndian16(command.data(), TABLE_COMMAND_WRITE);
    const int n = EntriesThatFit(command.size(), entries);
    for (int i = 0; i < n; ++i) {
        std::uint16_t word = NULL_PID;
        if (i < record.count) {
            const std::uint16_t pid = record.pid[i];
            word = pid;
            const bool pass = rule == StandardControlRule::AlwaysPassed || (record.control[i] & 1);
            if (pid != NULL_PID && pass) word |= 1u << ENTRY_CONTROL_SHIFT;
        }
        StoreHost16(Entry(command, i) + ENTRY_PID_WORD, word);
    }
}

void EncodeForwardingTable(const TrevanPidListRecord& record, std::span<std::uint8_t> command) {
    std::fill(command.begin(), command.end(), 0);
    StoreBigEndian16(command.data(), TABLE_COMMAND_WRITE);
    const int n = EntriesThatFit(command.size(), LONG_TABLE_ENTRIES);
    for (int i = 0; i < n; ++i) {
        std::uint8_t* entry = Entry(command, i);
        // Every entry carries its destination, used or not.
        std::memcpy(entry + ENTRY_ADDRESS, record.destination[i].address, 4);
        StoreHost16(entry + ENTRY_PORT, record.destination[i].port);
        std::uint16_t word = NULL_PID;
        if (i < record.count)
            word = static_cast<std::uint16_t>((record.control[i] << ENTRY_CONTROL_SHIFT) +
                                              record.pid[i]);
        StoreHost16(entry + ENTRY_PID_WORD, word);
    }
}

void ParseStandardTable(std::span<const std::uint8_t> reply, int entries, PidListRecord& record) {
    const int n = EntriesThatFit(reply.size(), entries);
    for (int i = 0; i < n; ++i) {
        const std::uint16_t word = LoadBigEndian16(Entry(reply, i) + ENTRY_PID_WORD);
        record.pid[i] = word & ENTRY_PID_BITS;
        record.control[i] = (word >> ENTRY_CONTROL_SHIFT) & 1;
    }
    record.count = n;
    CompactPidList(record, n);
}

void ParseForwardingTable(std::span<const std::uint8_t> reply, TrevanPidListRecord& record) {
    const int n = EntriesThatFit(reply.size(), LONG_TABLE_ENTRIES);
    for (int i = 0; i < n; ++i) {
        const std::uint8_t* entry = Entry(reply, i);
        const std::uint16_t word = LoadBigEndian16(entry + ENTRY_PID_WORD);
        record.pid[i] = word & ENTRY_PID_BITS;
        record.control[i] = static_cast<std::uint8_t>(word >> ENTRY_CONTROL_SHIFT);
        std::memcpy(record.destination[i].address, entry + ENTRY_ADDRESS, 4);
        record.destination[i].port = LoadBigEndian16(entry + ENTRY_PORT);
    }
    record.count = n;
    CompactTrevanPidList(record, n);
}

}  // namespace devicelib
