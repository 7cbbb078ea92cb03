// The 32 slots of a PID list record, in either of the device library's two
// forms, behind one interface: the standard form (PID and control byte per
// slot) and the forwarding form, which adds a UDP destination per slot. A
// view never reaches past the record it was made for.
#pragma once

#include <cstdint>
#include <variant>

#include "devicelib/devicelib.h"

namespace dialogs {

// A slot emptied during one run of the content dialog, told apart from a
// free slot (NULL_PID) until OK closes the gaps. No PID has this value.
inline constexpr std::uint16_t PID_REMOVED = 0x2000;

class PidListSlots {
  public:
    PidListSlots() = default;
    explicit PidListSlots(PidListRecord* record);
    explicit PidListSlots(TrevanPidListRecord* record);

    bool IsAttached() const { return !std::holds_alternative<std::monostate>(m_record); }
    bool HasDestinations() const { return std::holds_alternative<TrevanPidListRecord*>(m_record); }

    // Slots are 0 to MAX_PIDS - 1; without a record every read is 0 and
    // every write does nothing.
    std::uint16_t Pid(int slot) const;
    void SetPid(int slot, std::uint16_t pid);
    std::uint8_t Control(int slot) const;
    void SetControl(int slot, std::uint8_t control);
    // The standard form has none: it reads 0.0.0.0 port 0 and ignores writes.
    PidDestination Destination(int slot) const;
    void SetDestination(int slot, const PidDestination& destination);
    std::int32_t Count() const;
    void SetCount(std::int32_t count);

  private:
    std::variant<std::monostate, PidListRecord*, TrevanPidListRecord*> m_record;
};

// True when address and port are all zero.
bool IsNoDestination(const PidDestination& destination);

}  // namespace dialogs
