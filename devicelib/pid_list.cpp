#include "devicelib/pid_list.h"

#include <cstddef>
#include <type_traits>

#include "devicelib/byte_order.h"

namespace devicelib {

PIDList::~PIDList() = default;

std::uint16_t PIDList::Pid(int i) const {
    return LoadHost16(Pids() + 2 * i);
}

std::uint8_t PIDList::Control(int i) const {
    return Controls()[i];
}

namespace {

// Moves the used entries to the front; a forwarding entry takes its
// destination along (the vacated destination is left as it was).
template <class Form>
void Compact(Form& record, int n) {
    int j = 0;
    for (int i = 0; i < n && i < MAX_PIDS; ++i) {
        if (record.pid[i] == NULL_PID) continue;
        const std::uint16_t pid = record.pid[i];
        const std::uint8_t control = record.control[i];
        record.pid[i] = NULL_PID;
        record.control[i] = 0;
        record.pid[j] = pid;
        record.control[j] = control;
        if constexpr (std::is_same_v<Form, TrevanPidListRecord>)
            record.destination[j] = record.destination[i];
        ++j;
    }
    record.count = j;
}

}  // namespace

void CompactPidList(PidListRecord& record, int n) {
    Compact(record, n);
}

void CompactTrevanPidList(TrevanPidListRecord& record, int n) {
    Compact(record, n);
}

bool PidListsAgree(const PIDList& written, const PIDList& readBack, int n) {
    auto usedEntries = [n](const PIDList& list) {
        int used = 0;
        for (int i = 0; i < n; ++i)
            if (list.Pid(i) != NULL_PID) ++used;
        return used;
    };
    if (usedEntries(written) != usedEntries(readBack)) return false;
    for (int i = 0; i < n; ++i) {
        const std::uint16_t pid = written.Pid(i);
        if (pid == NULL_PID) continue;
        bool found = false;
        for (int k = 0; k < n && !found; ++k)
            found = readBack.Pid(k) == pid && readBack.Control(k) == written.Control(i);
        if (!found) return false;
    }
    return true;
}

}  // namespace devicelib
