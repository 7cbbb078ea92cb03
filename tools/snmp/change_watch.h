// Turns successive snapshots of the receiver table into notifications: one
// per change of a receiver's lock or life, never one per status. A
// receiver's first appearance is no change; an expected receiver heard for
// the first time is one (it was reported down until then).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/snmp/receiver_oids.h"

namespace r40snmp {

struct Notice {
    NoticeKind kind = NoticeKind::LockLost;
    r40ctl::Mac mac{};
    r40ctl::Ipv4 address{};
    std::uint16_t type = 0;
    bool operator==(const Notice&) const = default;
};

class ChangeWatch {
  public:
    // What changed since the last snapshot, in the order it happened for
    // each receiver (a receiver heard again comes back before its lock
    // changes are told).
    std::vector<Notice> Changes(const r40ctl::exporter::TableSnapshot& snapshot);

  private:
    struct Seen {
        bool up = false;
        bool heard = false;
        bool locked = false;  // as last told
        std::uint64_t lockLosses = 0;
    };
    std::map<r40ctl::Mac, Seen> m_seen;
};

}  // namespace r40snmp
