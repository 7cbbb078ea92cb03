// PID lists as callers hand them in: compaction of either record form, and
// a valid list written as a table command and read back as the receiver
// would echo it, which must agree with what was written.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "devicelib/byte_order.h"
#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"

namespace {

using devicelib::LONG_TABLE_ENTRIES;

// Compaction keeps the used entries among the first n, in order, and
// leaves the others empty.
template <class Record>
void CheckCompaction(Record record, int n) {
    const int limit = std::clamp(n, 0, MAX_PIDS);
    std::vector<std::uint16_t> used;
    for (int i = 0; i < limit; ++i)
        if (record.pid[i] != NULL_PID) used.push_back(record.pid[i]);
    if constexpr (sizeof(Record) == sizeof(PidListRecord))
        devicelib::CompactPidList(record, n);
    else
        devicelib::CompactTrevanPidList(record, n);
    if (record.count != static_cast<int>(used.size())) __builtin_trap();
    for (int i = 0; i < limit; ++i) {
        const std::uint16_t expected = i < record.count ? used[i] : NULL_PID;
        if (record.pid[i] != expected) __builtin_trap();
    }
}

// The table command as it goes out, read back as the reply a receiver that
// kept it would send: the entry words are big-endian on the wire.
std::vector<std::uint8_t> AsReply(std::vector<std::uint8_t> command, bool ports) {
    for (std::size_t entry = 2; entry + 8 <= command.size(); entry += 8) {
        devicelib::HostToBigEndianInPlace(&command[entry + 6]);
        if (ports) devicelib::HostToBigEndianInPlace(&command[entry + 4]);
    }
    return command;
}

// A list SetPidList would send: count 0 to 32, 13-bit PIDs, no PID twice,
// entries from count on empty.
template <class Record>
bool MakeValid(Record& record, int controlLimit) {
    if (record.count < 0 || record.count > MAX_PIDS) return false;
    for (int i = 0; i < MAX_PIDS; ++i) {
        if (i >= record.count) {
            record.pid[i] = NULL_PID;
            continue;
        }
        if (record.pid[i] > NULL_PID || record.control[i] > controlLimit) return false;
        for (int k = 0; k < i; ++k)
            if (record.pid[i] != NULL_PID && record.pid[k] == record.pid[i]) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PidListRecord standard{};
    TrevanPidListRecord forwarding{};
    if (size < 1) return 0;
    const int n = static_cast<std::int8_t>(data[0]);
    std::memcpy(&standard, data + 1, std::min(size - 1, sizeof standard));
    std::memcpy(&forwarding, data + 1, std::min(size - 1, sizeof forwarding));
    CheckCompaction(standard, n);
    CheckCompaction(forwarding, n);

    if (MakeValid(standard, 1)) {
        std::vector<std::uint8_t> command(devicelib::TableCommandLength(LONG_TABLE_ENTRIES));
        devicelib::EncodeStandardTable(standard, LONG_TABLE_ENTRIES,
                                       devicelib::StandardControlRule::FromControlBit0, command);
        PidListRecord readBack{};
        devicelib::ParseStandardTable(AsReply(command, false), LONG_TABLE_ENTRIES, readBack);
        devicelib::StandardPIDList written(&standard), read(&readBack);
        if (!devicelib::PidListsAgree(written, read, LONG_TABLE_ENTRIES)) __builtin_trap();
    }
    if (MakeValid(forwarding, 7)) {
        std::vector<std::uint8_t> command(devicelib::TableCommandLength(LONG_TABLE_ENTRIES));
        devicelib::EncodeForwardingTable(forwarding, command);
        TrevanPidListRecord readBack{};
        devicelib::ParseForwardingTable(AsReply(command, true), readBack);
        devicelib::TrevanPIDList written(&forwarding), read(&readBack);
        if (!devicelib::PidListsAgree(written, read, LONG_TABLE_ENTRIES)) __builtin_trap();
    }
    return 0;
}
