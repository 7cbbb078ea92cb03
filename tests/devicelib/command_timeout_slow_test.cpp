// Exchanges that wait out the receivers' real one-second time-outs.
#include <gtest/gtest.h>

#include <set>

#include "devicelib/device_models.h"
#include "platform/clock/clock.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

TEST(SilentReceiver, EchoedCommandTimesOutAfterFourFreshAttempts) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 41});
    devicelib::CR40 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    rx->SetFault(sim::Fault::NoEcho, true);
    const auto started = platform::clock::NowMilliseconds();
    EXPECT_EQ(device.Reset(), ERR_ECHO_TIMEOUT);
    const auto elapsed = platform::clock::NowMilliseconds() - started;
    EXPECT_GE(elapsed, 4000);  // four waits of a second each
    const auto commands = rx->CommandsOnPort(devicelib::PORT_RESET);
    ASSERT_EQ(commands.size(), 4u);
    std::set<std::uint16_t> sourcePorts;
    for (const auto& c : commands) sourcePorts.insert(c.sourcePort);
    EXPECT_EQ(sourcePorts.size(), 4u);
}

TEST(SilentReceiver, TableWriteThatHearsNothingIsAReceiveFailure) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 42});
    devicelib::CR40 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    rx->SetFault(sim::Fault::NoEcho, true);
    PidListRecord list{};
    list.count = 0;
    for (auto& pid : list.pid) pid = NULL_PID;
    EXPECT_EQ(device.WritePidTable(&list), ERR_TABLE_RECEIVE);
    EXPECT_EQ(rx->CommandsOnPort(devicelib::PORT_TABLE).size(), 4u);
}

TEST(SilentReceiver, TableReadThatHearsNothingIsAReceiveFailure) {
    auto rx = StartReceiver(sim::Model::T22V2, {127, 0, 0, 43});
    devicelib::CT22_V2 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    rx->SetFault(sim::Fault::NoEcho, true);
    PidListRecord list{};
    EXPECT_EQ(device.ReadPidTable(&list), ERR_TABLE_RECEIVE);
}

}  // namespace
}  // namespace devicelib_test
