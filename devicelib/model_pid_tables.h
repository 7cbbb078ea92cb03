// The PID-table slots of a model, by the record form its table uses. A model
// derives from its family through one of these.
#pragma once

#include <memory>
#include <span>

#include "devicelib/orvel_device.h"
#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"

namespace devicelib {

// Standard form: `Entries` table entries, the control value sent by `Rule`.
template <class Family, int Entries, StandardControlRule Rule>
class WithStandardPidTable : public Family {
  public:
    std::int32_t ReadPidTable(void* record) override {
        return this->ReadTableInto(record, Entries);
    }
    std::int32_t WritePidTable(void* record) override {
        return this->WriteStandardTable(static_cast<PidListRecord*>(record), Entries, Rule);
    }
    std::unique_ptr<PIDList> NewPidList() override {
        return std::make_unique<StandardPIDList>(new PidListRecord{});
    }
    void ParsePidTable(std::span<std::uint8_t> reply) override {
        if (this->m_pidTarget != nullptr)
            ParseStandardTable(reply, Entries, *static_cast<PidListRecord*>(this->m_pidTarget));
    }

  protected:
    using Family::Family;
};

// Forwarding form: 32 entries, each with a UDP destination.
template <class Family>
class WithForwardingPidTable : public Family {
  public:
    std::int32_t ReadPidTable(void* record) override {
        return this->ReadTableInto(record, LONG_TABLE_ENTRIES);
    }
    std::int32_t WritePidTable(void* record) override {
        return this->WriteForwardingTable(static_cast<TrevanPidListRecord*>(record));
    }
    std::unique_ptr<PIDList> NewPidList() override {
        return std::make_unique<TrevanPIDList>(new TrevanPidListRecord{});
    }
    void ParsePidTable(std::span<std::uint8_t> reply) override {
        if (this->m_pidTarget != nullptr)
            ParseForwardingTable(reply, *static_cast<TrevanPidListRecord*>(this->m_pidTarget));
    }

  protected:
    using Family::Family;
};

}  // namespace devicelib
