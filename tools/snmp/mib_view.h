// The receiver table as the MIB presents it: every instance the agent
// answers for, with its value, in OID order. Made from a snapshot of the
// table, so an answer never waits on the hearing thread; nothing here knows
// net-snmp.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/snmp/receiver_oids.h"

namespace r40snmp {

struct MibValue {
    enum class Type { Integer, Unsigned, Gauge, Counter, Octets, IpAddress };
    Type type = Type::Integer;
    std::int64_t number = 0;  // all but Octets and IpAddress
    std::string octets;       // Octets (text or bytes); IpAddress: its 4 bytes
    bool operator==(const MibValue&) const = default;
};

// Ordered as SNMP orders OIDs: sub-identifier by sub-identifier, a prefix
// before what extends it.
using MibView = std::map<Oid, MibValue>;

// The instance suffix of a receiver's row: the six bytes of its MAC
// address (MacAddress is of fixed size, so no length comes first).
Oid MacIndex(const r40ctl::Mac& mac);

// The OID of a column's instance for the receiver `mac`.
Oid ColumnOid(Column column, const r40ctl::Mac& mac);
// The OID of an agent scalar's instance (.0).
Oid ScalarOid(AgentScalar scalar);

// Every instance: the agent's scalars (`version` its r40AgentVersion) and a
// row per receiver. A receiver's reading columns are present only while it
// is up, and only those its model reports.
MibView BuildMibView(const r40ctl::exporter::TableSnapshot& snapshot, const std::string& version);

}  // namespace r40snmp
