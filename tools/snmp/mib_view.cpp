#include "tools/snmp/mib_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "devicelib/devicelib.h"

namespace r40snmp {

namespace {

using r40ctl::exporter::ReceiverView;
using r40ctl::exporter::TableSnapshot;

constexpr std::int64_t MOST_32_BITS = std::numeric_limits<std::uint32_t>::max();

MibValue Integer(std::int64_t n) {
    return {MibValue::Type::Integer, n, {}};
}
MibValue Unsigned(std::int64_t n) {
    return {MibValue::Type::Unsigned, n, {}};
}
// A gauge stays at its top rather than wrap.
MibValue Gauge(std::uint64_t n) {
    return {MibValue::Type::Gauge,
            static_cast<std::int64_t>(std::min<std::uint64_t>(n, MOST_32_BITS)),
            {}};
}
// A counter wraps, as every manager expects of a Counter32.
MibValue Counter(std::uint64_t n) {
    return {MibValue::Type::Counter, static_cast<std::int64_t>(n & MOST_32_BITS), {}};
}
MibValue Truth(bool value) {
    return Integer(value ? SNMP_TRUE : SNMP_FALSE);
}
MibValue Text(std::string text) {
    return {MibValue::Type::Octets, 0, std::move(text)};
}

// Whole units of a decoded value; the decoders keep every value well inside
// 32 bits, the clamp only keeps a surprise from becoming undefined.
std::int64_t Whole(double value) {
    if (!std::isfinite(value)) return 0;
    return std::llround(std::fmax(std::fmin(value, 4e9), -2.1e9));
}

void AddRow(MibView& view, const ReceiverView& r) {
    const auto put = [&](Column column, MibValue value) {
        view.emplace(ColumnOid(column, r.mac), std::move(value));
    };
    put(Column::Address,
        {MibValue::Type::IpAddress, 0, std::string(r.address.begin(), r.address.end())});
    put(Column::Model, Text(DeviceTypeName(r.type)));
    put(Column::StatusPort, Unsigned(r.statusPort));
    put(Column::Up, Truth(r.up));
    put(Column::SecondsSinceStatus,
        Gauge(r.heard ? static_cast<std::uint64_t>(std::fmax(r.secondsSinceStatus, 0)) : 0));
    put(Column::LockLosses, Counter(r.lockLosses));
    // A silent receiver's last reading is no longer true: it is left out.
    if (!r.up || !r.heard) return;
    const r40ctl::exporter::Reading& reading = r.reading;
    put(Column::Locked, Truth(reading.locked));
    put(Column::DataActive, Truth(reading.dataActive));
    if (reading.snrDecibels) put(Column::Snr, Integer(Whole(*reading.snrDecibels * 100)));
    if (reading.signalRatio) put(Column::Signal, Integer(Whole(*reading.signalRatio * 100)));
    if (reading.carrierOffsetHertz)
        put(Column::CarrierOffset, Integer(Whole(*reading.carrierOffsetHertz)));
    if (reading.channel) put(Column::Channel, Unsigned(*reading.channel));
    if (reading.frequencyHertz)
        put(Column::Frequency, Unsigned(Whole(*reading.frequencyHertz / 1000)));
    if (reading.symbolRate) put(Column::SymbolRate, Unsigned(Whole(*reading.symbolRate)));
    put(Column::Pids, Gauge(reading.pids));
}

}  // namespace

Oid MacIndex(const r40ctl::Mac& mac) {
    return Oid(mac.begin(), mac.end());
}

Oid ColumnOid(Column column, const r40ctl::Mac& mac) {
    Oid oid = ObjectsRoot();
    oid.insert(oid.end(), {RECEIVER_TABLE_BRANCH, 1, static_cast<std::uint32_t>(column)});
    oid.insert(oid.end(), mac.begin(), mac.end());
    return oid;
}

Oid ScalarOid(AgentScalar scalar) {
    Oid oid = ObjectsRoot();
    oid.insert(oid.end(), {AGENT_BRANCH, static_cast<std::uint32_t>(scalar), 0});
    return oid;
}

MibView BuildMibView(const TableSnapshot& snapshot, const std::string& version) {
    MibView view;
    std::uint64_t heard = 0;
    for (const ReceiverView& r : snapshot.receivers) {
        heard += r.heard;
        AddRow(view, r);
    }
    view.emplace(ScalarOid(AgentScalar::Receivers), Gauge(heard));
    view.emplace(ScalarOid(AgentScalar::Accepted), Counter(snapshot.accepted));
    view.emplace(ScalarOid(AgentScalar::Refused), Counter(snapshot.datagrams - snapshot.accepted));
    view.emplace(ScalarOid(AgentScalar::Version), Text(version));
    return view;
}

}  // namespace r40snmp
