// PID lists: what goes on the wire for each record form, the checks before
// anything is sent, the read-back and its verification.
#include <gtest/gtest.h>

#include "devicelib/byte_order.h"
#include "devicelib/device_constants.h"
#include "devicelib/pid_list.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

PidListRecord StandardList(std::initializer_list<std::pair<std::uint16_t, std::uint8_t>> entries) {
    PidListRecord list{};
    for (auto& pid : list.pid) pid = 0x0ABC;  // junk beyond count
    int i = 0;
    for (auto [pid, control] : entries) {
        list.pid[i] = pid;
        list.control[i] = control;
        ++i;
    }
    list.count = i;
    return list;
}

std::uint16_t WireWord(const std::vector<std::uint8_t>& command, int entry, int offset) {
    return devicelib::LoadBigEndian16(&command[2 + 8 * entry + offset]);
}

std::vector<sim::ReceivedCommand> TableWrites(const sim::EmulatedReceiver& rx) {
    std::vector<sim::ReceivedCommand> writes;
    for (auto& c : rx.CommandsOnPort(devicelib::PORT_TABLE))
        if (c.bytes.size() > 2 && c.bytes[1] == 0x02) writes.push_back(c);
    return writes;
}

TEST(PidTable, R40SendsSixteenEntriesWithBit13) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 70});
    OpenedDevice device;
    Open(*rx, device);
    PidListRecord list = StandardList({{0x0031, 1}, {0x1FFF, 0}, {0x0100, 1}});
    EXPECT_TRUE(Succeeded(SetPidList(device.handle, &list)));

    const auto writes = TableWrites(*rx);
    ASSERT_EQ(writes.size(), 1u);
    const auto& command = writes[0].bytes;
    ASSERT_EQ(command.size(), 130u);
    EXPECT_EQ(command[0], 0x00);
    EXPECT_EQ(command[1], 0x02);
    EXPECT_EQ(WireWord(command, 0, 6), 0x2031);
    EXPECT_EQ(WireWord(command, 1, 6), 0x1FFF);
    EXPECT_EQ(WireWord(command, 2, 6), 0x2100);
    for (int i = 3; i < 16; ++i) EXPECT_EQ(WireWord(command, i, 6), 0x1FFF) << i;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(WireWord(command, i, 4), 0) << i;
    // The verification read the table back.
    const auto all = rx->CommandsOnPort(devicelib::PORT_TABLE);
    EXPECT_EQ(all.back().bytes, Bytes({0x00, 0x01}));
}

TEST(PidTable, T22V2SendsBit13FromControlBit0) {
    auto rx = StartReceiver(sim::Model::T22V2, {127, 0, 0, 71});
    OpenedDevice device;
    Open(*rx, device);
    PidListRecord list = StandardList({{0x0100, 0}, {0x0200, 1}, {0x0300, 3}});
    EXPECT_EQ(SetPidList(device.handle, &list), ERR_PID_LIST)
        << "control 3 reads back as 1 and cannot verify";
    const auto writes = TableWrites(*rx);
    ASSERT_EQ(writes.size(), 1u);
    ASSERT_EQ(writes[0].bytes.size(), 258u);
    EXPECT_EQ(WireWord(writes[0].bytes, 0, 6), 0x0100);
    EXPECT_EQ(WireWord(writes[0].bytes, 1, 6), 0x2100 + 0x100);
    EXPECT_EQ(WireWord(writes[0].bytes, 2, 6), 0x2300);
    EXPECT_EQ(WireWord(writes[0].bytes, 31, 6), 0x1FFF);
}

TEST(PidTable, ForwardingEntryCarriesControlAndDestination) {
    auto rx = StartReceiver(sim::Model::R40V, {127, 0, 0, 72});
    OpenedDevice device;
    Open(*rx, device);
    TrevanPidListRecord list{};
    for (auto& pid : list.pid) pid = NULL_PID;
    list.count = 2;
    list.pid[0] = 0x0100;
    list.control[0] = 5;
    list.destination[0] = {{239, 1, 2, 3}, 1234};
    list.pid[1] = 0x0042;
    list.control[1] = 1;
    list.destination[31] = {{10, 0, 0, 9}, 80};  // beyond count, still sent
    EXPECT_TRUE(Succeeded(SetPidList(device.handle, &list)));

    const auto writes = TableWrites(*rx);
    ASSERT_EQ(writes.size(), 1u);
    const auto& command = writes[0].bytes;
    ASSERT_EQ(command.size(), 258u);
    EXPECT_EQ(std::vector<std::uint8_t>(command.begin() + 2, command.begin() + 10),
              Bytes({239, 1, 2, 3, 0x04, 0xD2, 0xA1, 0x00}));
    EXPECT_EQ(WireWord(command, 1, 6), 0x2042);
    EXPECT_EQ(std::vector<std::uint8_t>(command.begin() + 2 + 8 * 31, command.end()),
              Bytes({10, 0, 0, 9, 0x00, 0x50, 0x1F, 0xFF}));

    TrevanPidListRecord back{};
    ASSERT_TRUE(Succeeded(GetPidList(device.handle, &back)));
    EXPECT_EQ(back.count, 2);
    EXPECT_EQ(back.pid[0], 0x0100);
    EXPECT_EQ(back.control[0], 5);
    EXPECT_EQ(back.destination[0].port, 1234);
    EXPECT_EQ(back.destination[0].address[0], 239);
    EXPECT_EQ(back.pid[1], 0x0042);
}

TEST(PidTable, LengthLimitsDependOnTheModel) {
    // The T22 first: under Wine only the first receiver answers commands,
    // and the R40 must refuse before anything is sent. A status port each,
    // as both send from 127.0.0.1 there.
    auto t22 = StartReceiver(sim::Model::T22V2, {127, 0, 0, 74});
    auto r40 = StartReceiver(sim::Model::R40, {127, 0, 0, 73}, 8309);
    OpenedDevice shortTable, longTable;
    Open(*r40, shortTable);
    Open(*t22, longTable);
    PidListRecord list{};
    list.count = 17;
    for (int i = 0; i < MAX_PIDS; ++i) {
        list.pid[i] = static_cast<std::uint16_t>(0x100 + i);
        list.control[i] = 1;
    }
    PidListRecord copy = list;
    EXPECT_EQ(SetPidList(shortTable.handle, &list), ERR_PID_LIST_TOO_LONG);
    EXPECT_TRUE(r40->CommandsOnPort(devicelib::PORT_TABLE).empty());
    EXPECT_TRUE(Succeeded(SetPidList(longTable.handle, &copy)));
    PidListRecord back{};
    ASSERT_TRUE(Succeeded(GetPidList(longTable.handle, &back)));
    EXPECT_EQ(back.count, 17);
}

TEST(PidTable, ReadBackIsCompacted) {
    auto rx = StartReceiver(sim::Model::T22V3, {127, 0, 0, 75});
    std::vector<sim::PidEntry> entries(16);
    entries[0] = sim::PidEntry::Make(0x0011, 1);
    entries[2] = sim::PidEntry::Make(0x0022, 1);
    entries[5] = sim::PidEntry::Make(0x0055, 0);
    rx->SetPidEntries(entries);
    OpenedDevice device;
    Open(*rx, device);
    PidListRecord back{};
    for (auto& pid : back.pid) pid = 0x0777;
    ASSERT_TRUE(Succeeded(GetPidList(device.handle, &back)));
    EXPECT_EQ(back.count, 3);
    EXPECT_EQ(back.pid[0], 0x0011);
    EXPECT_EQ(back.pid[1], 0x0022);
    EXPECT_EQ(back.pid[2], 0x0055);
    EXPECT_EQ(back.control[2], 0);
    for (int i = 3; i < 16; ++i) EXPECT_EQ(back.pid[i], NULL_PID) << i;
    EXPECT_EQ(back.pid[16], 0x0777);  // beyond the table: untouched
}

TEST(PidTable, TableThatDoesNotChangeFailsVerification) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 76});
    OpenedDevice device;
    Open(*rx, device);
    rx->SetFault(sim::Fault::IgnoreCommands, true);
    PidListRecord list = StandardList({{0x0100, 1}});
    EXPECT_EQ(SetPidList(device.handle, &list), ERR_PID_LIST);
}

TEST(SetPidList, RefusesBadListsBeforeSendingAnything) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 77});
    OpenedDevice device;
    Open(*rx, device);

    PidListRecord repeated = StandardList({{0x0100, 1}, {0x0200, 1}, {0x0100, 1}});
    EXPECT_EQ(SetPidList(device.handle, &repeated), ERR_PID_LIST);
    // Entries from count on were cleared all the same.
    for (int i = 3; i < MAX_PIDS; ++i) EXPECT_EQ(repeated.pid[i], NULL_PID) << i;

    PidListRecord tooHigh = StandardList({{0x2000, 1}});
    EXPECT_EQ(SetPidList(device.handle, &tooHigh), ERR_PID_LIST);

    PidListRecord negative = StandardList({});
    negative.count = -1;
    EXPECT_EQ(SetPidList(device.handle, &negative), ERR_PID_LIST);
    EXPECT_EQ(negative.pid[0], 0x0ABC);  // a bad count clears nothing

    // More than any table holds: the code of a list too long for the table,
    // for distinct valid PIDs and for junk alike.
    PidListRecord tooMany = StandardList({});
    for (int i = 0; i < MAX_PIDS; ++i) tooMany.pid[i] = static_cast<std::uint16_t>(0x100 + i);
    tooMany.count = 33;
    EXPECT_EQ(SetPidList(device.handle, &tooMany), ERR_PID_LIST_TOO_LONG);
    PidListRecord tooManyJunk = StandardList({});
    tooManyJunk.count = 1000;
    EXPECT_EQ(SetPidList(device.handle, &tooManyJunk), ERR_PID_LIST_TOO_LONG);

    EXPECT_TRUE(rx->CommandsOnPort(devicelib::PORT_TABLE).empty());
}

TEST(SetPidList, NullPidsMayRepeatAndAFullListIsLeftAlone) {
    auto rx = StartReceiver(sim::Model::T22V2, {127, 0, 0, 78});
    OpenedDevice device;
    Open(*rx, device);
    PidListRecord list{};
    list.count = 32;
    for (int i = 0; i < MAX_PIDS; ++i) {
        list.pid[i] = i % 2 ? NULL_PID : static_cast<std::uint16_t>(0x40 + i);
        list.control[i] = 1;
    }
    const PidListRecord before = list;
    EXPECT_TRUE(Succeeded(SetPidList(device.handle, &list)));
    EXPECT_EQ(std::memcmp(&before, &list, sizeof list), 0);
}

TEST(Compaction, ForwardingEntriesKeepTheirDestinations) {
    TrevanPidListRecord list{};
    for (auto& pid : list.pid) pid = NULL_PID;
    list.pid[1] = 0x0101;
    list.control[1] = 2;
    list.destination[1] = {{1, 2, 3, 4}, 5};
    list.pid[4] = 0x0104;
    list.destination[4] = {{9, 9, 9, 9}, 9};
    devicelib::CompactTrevanPidList(list, 32);
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.pid[0], 0x0101);
    EXPECT_EQ(list.control[0], 2);
    EXPECT_EQ(list.destination[0].port, 5);
    EXPECT_EQ(list.pid[1], 0x0104);
    EXPECT_EQ(list.destination[1].address[0], 9);
    EXPECT_EQ(list.pid[4], NULL_PID);
    EXPECT_EQ(list.control[1], 0);
}

TEST(Compaction, OnlyTheFirstNEntriesAreTouched) {
    PidListRecord list{};
    for (auto& pid : list.pid) pid = NULL_PID;
    list.pid[3] = 0x33;
    list.pid[20] = 0x44;
    devicelib::CompactPidList(list, 16);
    EXPECT_EQ(list.count, 1);
    EXPECT_EQ(list.pid[0], 0x33);
    EXPECT_EQ(list.pid[20], 0x44);
}

TEST(Verification, OrderDoesNotMatterButEveryPidMustComeBack) {
    PidListRecord written{}, readBack{};
    for (int i = 0; i < MAX_PIDS; ++i) written.pid[i] = readBack.pid[i] = NULL_PID;
    written.pid[0] = 0x100;
    written.pid[1] = 0x200;
    written.control[0] = written.control[1] = 1;
    readBack.pid[0] = 0x200;
    readBack.pid[1] = 0x100;
    readBack.control[0] = readBack.control[1] = 1;
    devicelib::StandardPIDList w(&written), r(&readBack);
    EXPECT_TRUE(devicelib::PidListsAgree(w, r, 16));

    readBack.control[1] = 0;
    EXPECT_FALSE(devicelib::PidListsAgree(w, r, 16)) << "control values must agree";
    readBack.control[1] = 1;
    readBack.pid[0] = NULL_PID;
    EXPECT_FALSE(devicelib::PidListsAgree(w, r, 16)) << "0x200 missing";
    readBack.pid[0] = 0x300;
    EXPECT_FALSE(devicelib::PidListsAgree(w, r, 16)) << "0x300 was not written";
}

}  // namespace
}  // namespace devicelib_test
