// PID lists in their two record forms. A list object wraps one record of
// its form without owning it; FreeRecord frees a record made by NewPidList.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "devicelib/devicelib.h"

namespace devicelib {

// Table sizes of the receivers.
inline constexpr int SHORT_TABLE_ENTRIES = 16;
inline constexpr int LONG_TABLE_ENTRIES = 32;
// Table command words.
inline constexpr std::uint16_t TABLE_COMMAND_READ = 1;
inline constexpr std::uint16_t TABLE_COMMAND_WRITE = 2;
inline constexpr std::uint16_t TABLE_COMMAND_CA = 3;

// A table command or reply: the command word, then one 8-byte entry per
// table slot holding a destination address, a destination port and the PID
// word (bits 0-12 the PID, 13-15 the control value).
inline constexpr std::size_t TABLE_HEADER_LENGTH = 2;
inline constexpr std::size_t TABLE_ENTRY_LENGTH = 8;
inline constexpr std::size_t ENTRY_ADDRESS = 0;   // 4 bytes, first octet first
inline constexpr std::size_t ENTRY_PORT = 4;      // word
inline constexpr std::size_t ENTRY_PID_WORD = 6;  // word
inline constexpr std::uint16_t ENTRY_PID_BITS = 0x1FFF;
inline constexpr int ENTRY_CONTROL_SHIFT = 13;

inline constexpr std::size_t TableEntryOffset(int entry) {
    return TABLE_HEADER_LENGTH + TABLE_ENTRY_LENGTH * static_cast<std::size_t>(entry);
}
inline constexpr std::size_t TableCommandLength(int entries) {
    return TableEntryOffset(entries);
}

class PIDList {
  public:
    PIDList(const PIDList&) = delete;
    PIDList& operator=(const PIDList&) = delete;

    // Virtual operations, in slot order.
    virtual ~PIDList();                          // 0
    virtual void* Record() const = 0;            // 1
    virtual std::uint8_t* Pids() const = 0;      // 2: the 32 PID words
    virtual std::uint8_t* Controls() const = 0;  // 3: the 32 control bytes
    virtual void FreeRecord() = 0;               // 4

    std::uint16_t Pid(int i) const;
    std::uint8_t Control(int i) const;

  protected:
    PIDList() = default;
};

// A list over a record of one form; the two forms differ only in where the
// control bytes lie.
template <class Form>
class FormPIDList : public PIDList {
  public:
    explicit FormPIDList(Form* record) : m_record(record) {}
    void* Record() const override { return m_record; }
    std::uint8_t* Pids() const override {
        return reinterpret_cast<std::uint8_t*>(m_record) + offsetof(Form, pid);
    }
    std::uint8_t* Controls() const override {
        return reinterpret_cast<std::uint8_t*>(m_record) + offsetof(Form, control);
    }
    void FreeRecord() override {
        delete m_record;
        m_record = nullptr;
    }

  private:
    Form* m_record;
};

class StandardPIDList final : public FormPIDList<PidListRecord> {
  public:
    using FormPIDList::FormPIDList;
};

class TrevanPIDList final : public FormPIDList<TrevanPidListRecord> {
  public:
    using FormPIDList::FormPIDList;
};

// Moves the used entries among the first n to the front, in order; vacated
// entries become 0x1FFF with control 0; count becomes the number moved.
void CompactPidList(PidListRecord& record, int n);
// The same for the forwarding form; each destination travels with its PID.
void CompactTrevanPidList(TrevanPidListRecord& record, int n);

// A written table verifies when the read-back holds as many used entries
// among the first n, and every used entry written appears in it with the
// same control value, in any order.
bool PidListsAgree(const PIDList& written, const PIDList& readBack, int n);

}  // namespace devicelib
