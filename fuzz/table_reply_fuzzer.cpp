// PID table replies as a receiver sends them, parsed into either record
// form and compacted. The first byte chooses the form: 16 or 32 standard
// entries, or 32 entries with destinations; the rest is the reply.
#include <cstdint>
#include <cstring>

#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"

namespace {

// The used entries stand first, each a 13-bit PID, and the rest hold the
// null PID. (A null entry that was not moved keeps its control value: a
// reply word 0xFFFF reads as the null PID with control 7.)
template <class Record>
void CheckCompacted(const Record& record, int entries, int controlLimit) {
    if (record.count < 0 || record.count > entries) __builtin_trap();
    for (int i = 0; i < entries; ++i) {
        const bool used = i < record.count;
        if (used && (record.pid[i] == NULL_PID || record.pid[i] > NULL_PID)) __builtin_trap();
        if (!used && record.pid[i] != NULL_PID) __builtin_trap();
        if (record.control[i] > controlLimit) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::span<const std::uint8_t> reply(data + 1, size - 1);
    const int fit = reply.size() < 2 ? 0 : static_cast<int>((reply.size() - 2) / 8);
    switch (data[0] % 3) {
        case 0:
        case 1: {
            const int entries =
                data[0] % 3 == 0 ? devicelib::SHORT_TABLE_ENTRIES : devicelib::LONG_TABLE_ENTRIES;
            PidListRecord record;
            std::memset(&record, 0xA5, sizeof record);
            devicelib::ParseStandardTable(reply, entries, record);
            CheckCompacted(record, fit < entries ? fit : entries, 1);
            break;
        }
        default: {
            TrevanPidListRecord record;
            std::memset(&record, 0xA5, sizeof record);
            devicelib::ParseForwardingTable(reply, record);
            const int entries =
                fit < devicelib::LONG_TABLE_ENTRIES ? fit : devicelib::LONG_TABLE_ENTRIES;
            CheckCompacted(record, entries, 7);
            break;
        }
    }
    return 0;
}
