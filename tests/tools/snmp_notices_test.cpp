// r40-snmp-agent's notifications and its view of the table, on a receiver
// table whose clock the test moves: one notification per change of lock or
// life, whatever happens between two looks; a silent receiver's reading
// left out of the MIB.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/tools/table_senders.h"
#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/snmp/change_watch.h"
#include "tools/snmp/mib_view.h"

namespace r40snmp {
namespace {

using namespace std::chrono_literals;
using r40ctl::exporter::Reading;
using r40ctl::exporter::ReceiverTable;
using r40ctl::exporter::SteadyTime;
using r40ctl::exporter::TableLimits;

const SteadyTime T0{std::chrono::hours(1000)};

using table_test::Sender;

Reading Lock(bool locked) {
    Reading reading;
    reading.locked = locked;
    reading.snrDecibels = 20.5;
    reading.channel = 30;
    return reading;
}

struct Step {
    const char* what;
    // Statuses of receiver 1 (true: locked), 100 ms apart, before the look.
    std::vector<bool> statuses;
    std::chrono::milliseconds lookAfter;  // from the last status
    std::vector<NoticeKind> told;
};

TEST(SnmpNotices, EachChangeOfLockOrLifeIsToldOnce) {
    using K = NoticeKind;
    const std::vector<Step> steps = {
        {"first heard, locked: no change", {true, true}, 0ms, {}},
        {"lock lost", {false}, 0ms, {K::LockLost}},
        {"still unlocked", {false, false}, 0ms, {}},
        {"lock regained", {true}, 0ms, {K::LockRegained}},
        {"lost and regained between two looks", {false, true}, 0ms, {K::LockLost, K::LockRegained}},
        {"lost again", {false}, 0ms, {K::LockLost}},
        {"a regain and a loss between two looks tell both",
         {true, false},
         0ms,
         {K::LockRegained, K::LockLost}},
        {"silent", {}, 3000ms, {K::ReceiverSilent}},
        {"still silent", {}, 6000ms, {}},
        {"back, locked: regained since its last unlocked status",
         {true},
         0ms,
         {K::ReceiverBack, K::LockRegained}},
        {"silent again", {}, 3000ms, {K::ReceiverSilent}},
        {"back unlocked: the loss happened unheard",
         {false, false},
         0ms,
         {K::ReceiverBack, K::LockLost}},
    };
    ReceiverTable table(TableLimits{});
    ChangeWatch watch;
    SteadyTime t = T0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        for (bool locked : step.statuses) table.Accepted(Sender(1), Lock(locked), t += 100ms, 0);
        std::vector<NoticeKind> told;
        for (const Notice& n : watch.Changes(table.Snapshot(t + step.lookAfter))) {
            told.push_back(n.kind);
            EXPECT_EQ(n.mac[5], 1);
            EXPECT_EQ(n.address[3], 1);
            EXPECT_EQ(n.type, TYPE_R40);
        }
        EXPECT_EQ(told, step.told);
        t += step.lookAfter;
    }
}

TEST(SnmpNotices, ExpectedReceiversComeBackAndForgottenOnesAreNew) {
    TableLimits limits;
    limits.forgetAfter = 60s;
    const r40ctl::Mac expected{0x02, 0x5C, 0xC1, 0x00, 0x00, 9};
    ReceiverTable table(limits, {expected});
    ChangeWatch watch;
    EXPECT_TRUE(watch.Changes(table.Snapshot(T0)).empty()) << "an expected receiver is no change";
    DeviceInfo nine = Sender(9);
    table.Accepted(nine, Lock(true), T0 + 1s, 0);
    const std::vector<Notice> heard = watch.Changes(table.Snapshot(T0 + 1s));
    ASSERT_EQ(heard.size(), 1u) << "back, and its lock no change";
    EXPECT_EQ(heard[0].kind, NoticeKind::ReceiverBack);

    // Receiver 2, first heard unlocked, is forgotten; heard again much
    // later it is new, and tells nothing.
    table.Accepted(Sender(2), Lock(false), T0 + 2s, 0);
    EXPECT_TRUE(watch.Changes(table.Snapshot(T0 + 2s)).empty());
    EXPECT_EQ(watch.Changes(table.Snapshot(T0 + 70s)).size(), 1u) << "receiver 9 went silent";
    table.Accepted(Sender(2), Lock(true), T0 + 80s, 0);
    for (const Notice& n : watch.Changes(table.Snapshot(T0 + 80s)))
        EXPECT_NE(n.mac[5], 2) << static_cast<int>(n.kind);
}

TEST(SnmpMibView, ASilentReceiverKeepsItsRowButNotItsReading) {
    ReceiverTable table(TableLimits{});
    table.Accepted(Sender(1), Lock(true), T0, 0);
    table.Refused(Sender(7), RC_FAILED);
    const r40ctl::Mac mac{0x02, 0x5C, 0xC1, 0x00, 0x00, 1};

    MibView up = BuildMibView(table.Snapshot(T0), "1.2.3");
    EXPECT_EQ(up.at(ColumnOid(Column::Snr, mac)).number, 2050);
    EXPECT_EQ(up.at(ColumnOid(Column::Channel, mac)).number, 30);
    EXPECT_EQ(up.at(ColumnOid(Column::Locked, mac)).number, SNMP_TRUE);
    EXPECT_EQ(up.count(ColumnOid(Column::Frequency, mac)), 0u) << "no satellite values";
    EXPECT_EQ(up.at(ScalarOid(AgentScalar::Accepted)).number, 1);
    EXPECT_EQ(up.at(ScalarOid(AgentScalar::Refused)).number, 1);
    EXPECT_EQ(up.at(ScalarOid(AgentScalar::Version)).octets, "1.2.3");
    EXPECT_EQ(up.at(ColumnOid(Column::Address, mac)).octets, std::string("\x0a\x00\x00\x01", 4));
    // Scalars come before the table, columns in order, rows by MAC address.
    EXPECT_EQ(up.begin()->first, ScalarOid(AgentScalar::Receivers));
    EXPECT_EQ(std::prev(up.end())->first, ColumnOid(Column::LockLosses, mac));

    MibView silent = BuildMibView(table.Snapshot(T0 + 5s), "1.2.3");
    EXPECT_EQ(silent.at(ColumnOid(Column::Up, mac)).number, SNMP_FALSE);
    EXPECT_EQ(silent.at(ColumnOid(Column::SecondsSinceStatus, mac)).number, 5);
    for (Column gone :
         {Column::Locked, Column::DataActive, Column::Snr, Column::Channel, Column::Pids})
        EXPECT_EQ(silent.count(ColumnOid(gone, mac)), 0u) << static_cast<int>(gone);
}

}  // namespace
}  // namespace r40snmp
