#include "dialogs/pid_list_slots.h"

namespace dialogs {

namespace {

using Record = std::variant<std::monostate, PidListRecord*, TrevanPidListRecord*>;

// Runs `use` on the record whichever its form; `none` without one. Both
// forms name their fields alike.
template <class Result, class Use>
Result WithRecord(const Record& record, Result none, Use use) {
    if (auto* standard = std::get_if<PidListRecord*>(&record)) return use(**standard);
    if (auto* forwarding = std::get_if<TrevanPidListRecord*>(&record)) return use(**forwarding);
    return none;
}

template <class Use>
void ChangeRecord(const Record& record, Use use) {
    if (auto* standard = std::get_if<PidListRecord*>(&record)) use(**standard);
    if (auto* forwarding = std::get_if<TrevanPidListRecord*>(&record)) use(**forwarding);
}

bool InRange(int slot) {
    return slot >= 0 && slot < MAX_PIDS;
}

}  // namespace

PidListSlots::PidListSlots(PidListRecord* record) {
    if (record != nullptr) m_record = record;
}

PidListSlots::PidListSlots(TrevanPidListRecord* record) {
    if (record != nullptr) m_record = record;
}

std::uint16_t PidListSlots::Pid(int slot) const {
    if (!InRange(slot)) return 0;
    return WithRecord(m_record, std::uint16_t{0}, [slot](auto& r) { return r.pid[slot]; });
}

void PidListSlots::SetPid(int slot, std::uint16_t pid) {
    if (!InRange(slot)) return;
    ChangeRecord(m_record, [&](auto& r) { r.pid[slot] = pid; });
}

std::uint8_t PidListSlots::Control(int slot) const {
    if (!InRange(slot)) return 0;
    return WithRecord(m_record, std::uint8_t{0}, [slot](auto& r) { return r.control[slot]; });
}

void PidListSlots::SetControl(int slot, std::uint8_t control) {
    if (!InRange(slot)) return;
    ChangeRecord(m_record, [&](auto& r) { r.control[slot] = control; });
}

PidDestination PidListSlots::Destination(int slot) const {
    auto* const* forwarding = std::get_if<TrevanPidListRecord*>(&m_record);
    if (forwarding == nullptr || !InRange(slot)) return PidDestination{};
    return (*forwarding)->destination[slot];
}

void PidListSlots::SetDestination(int slot, const PidDestination& destination) {
    auto* const* forwarding = std::get_if<TrevanPidListRecord*>(&m_record);
    if (forwarding != nullptr && InRange(slot)) (*forwarding)->destination[slot] = destination;
}

std::int32_t PidListSlots::Count() const {
    return WithRecord(m_record, std::int32_t{0}, [](auto& r) { return r.count; });
}

void PidListSlots::SetCount(std::int32_t count) {
    ChangeRecord(m_record, [count](auto& r) { r.count = count; });
}

bool IsNoDestination(const PidDestination& destination) {
    return destination.address[0] == 0 && destination.address[1] == 0 &&
           destination.address[2] == 0 && destination.address[3] == 0 && destination.port == 0;
}

}  // namespace dialogs
