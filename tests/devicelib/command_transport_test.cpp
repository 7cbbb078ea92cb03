// Echoed commands and table exchanges against an emulated receiver, checking
// what reached it on the wire.
#include <gtest/gtest.h>

#include <set>

#include "devicelib/device_models.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

const std::vector<std::uint8_t> TUNE_TO_69 = Bytes({0x00, 0x45, 0x00, 0x00, 0x00, 0x00});

class Transport : public ::testing::Test {
  protected:
    void SetUp() override {
        rx = StartReceiver(sim::Model::R40, {127, 0, 0, 40});
        ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
        rx->SetFault(sim::Fault::IgnoreCommands, true);  // keep its state still
    }
    std::int32_t Echo() {
        return device.EchoExchange(devicelib::PORT_TUNE, TUNE_TO_69.data(), TUNE_TO_69.size());
    }
    std::unique_ptr<sim::EmulatedReceiver> rx;
    devicelib::CR40 device;
};

TEST_F(Transport, RightEchoSucceedsWithTheBytesOnTheWire) {
    EXPECT_EQ(Echo(), 0);
    const auto commands = rx->CommandsOnPort(devicelib::PORT_TUNE);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].bytes, TUNE_TO_69);
}

TEST_F(Transport, ShortEchoIsAWrongLength) {
    rx->SetFault(sim::Fault::ShortEcho, true);
    EXPECT_EQ(Echo(), ERR_ECHO_TIMEOUT);
}

TEST_F(Transport, ChangedEchoIsAMismatch) {
    rx->SetFault(sim::Fault::ChangedEcho, true);
    EXPECT_EQ(Echo(), ERR_ECHO_MISMATCH);
}

TEST_F(Transport, RetriesUseAFreshSocketEachAndKeepTheLastResult) {
    rx->SetFault(sim::Fault::ChangedEcho, true);
    EXPECT_EQ(device.EchoWithRetries(devicelib::PORT_TUNE, TUNE_TO_69.data(), TUNE_TO_69.size()),
              ERR_ECHO_MISMATCH);
    const auto commands = rx->CommandsOnPort(devicelib::PORT_TUNE);
    ASSERT_EQ(commands.size(), 4u);
    std::set<std::uint16_t> sourcePorts;
    for (const auto& c : commands) sourcePorts.insert(c.sourcePort);
    EXPECT_EQ(sourcePorts.size(), 4u);
}

TEST_F(Transport, RetriesStopAtTheFirstGoodEcho) {
    EXPECT_EQ(device.EchoWithRetries(devicelib::PORT_TUNE, TUNE_TO_69.data(), TUNE_TO_69.size()),
              0);
    EXPECT_EQ(rx->CommandsOnPort(devicelib::PORT_TUNE).size(), 1u);
}

TEST_F(Transport, ResetSendsTheResetCode) {
    EXPECT_EQ(device.Reset(), 0);
    const auto commands = rx->CommandsOnPort(devicelib::PORT_RESET);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].bytes, Bytes({0x4B, 0x2E, 0x90, 0x61}));
}

TEST_F(Transport, TableWriteIsRetriedOnADifferingEchoAndNotVerified) {
    rx->SetFault(sim::Fault::ChangedEcho, true);
    PidListRecord list{};
    list.count = 1;
    list.pid[0] = 0x100;
    list.control[0] = 1;
    for (int i = 1; i < MAX_PIDS; ++i) list.pid[i] = NULL_PID;
    EXPECT_EQ(device.WritePidTable(&list), ERR_TABLE_REPLY_LENGTH);
    const auto commands = rx->CommandsOnPort(devicelib::PORT_TABLE);
    // Four writes of 130 bytes and no read-back request.
    ASSERT_EQ(commands.size(), 4u);
    for (const auto& c : commands) EXPECT_EQ(c.bytes.size(), 130u);
}

TEST_F(Transport, TableReadTwoBytesShortFailsAfterFourAttempts) {
    rx->SetFault(sim::Fault::ShortTableReply, true);
    PidListRecord list{};
    EXPECT_EQ(device.ReadPidTable(&list), ERR_TABLE_REPLY_LENGTH);
    const auto requests = rx->CommandsOnPort(devicelib::PORT_TABLE);
    ASSERT_EQ(requests.size(), 4u);
    for (const auto& r : requests) EXPECT_EQ(r.bytes, Bytes({0x00, 0x01}));
}

TEST_F(Transport, UnattachedObjectsRefuseCommands) {
    devicelib::CR40 loose;
    EXPECT_EQ(loose.Reset(), ERR_RESET_NOT_ATTACHED);
    const std::uint16_t channel = 5;
    EXPECT_EQ(loose.Tune(&channel), ERR_TUNE_NOT_ATTACHED);
    NetworkSettings settings{};
    EXPECT_EQ(loose.ApplyNetworkSettings(settings), ERR_NET_NOT_ATTACHED);
    devicelib::CT22CA ca;
    EXPECT_EQ(ca.Reset(), ERR_RESET_NOT_ATTACHED);
}

}  // namespace
}  // namespace devicelib_test
