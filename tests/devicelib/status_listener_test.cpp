// The status listener and the device's waits, fed with hand-made datagrams
// from chosen loopback addresses.
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "devicelib/device_models.h"
#include "devicelib/status_listener.h"
#include "platform/clock/clock.h"
#include "platform/clock/fake_clock.h"
#include "platform/net/udp_socket.h"
#include "sim/status_datagram.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

using devicelib::Ipv4;

constexpr std::uint16_t PORT = 17525;

// Sends datagrams to the listener's port from a given loopback address.
class Sender {
  public:
    explicit Sender(Ipv4 from) {
        EXPECT_TRUE(m_socket.Open());
        EXPECT_TRUE(m_socket.Bind(from, 0));
    }
    void Send(const std::vector<std::uint8_t>& bytes) {
        ASSERT_EQ(m_socket.SendTo(bytes, {127, 0, 0, 1}, PORT), static_cast<long>(bytes.size()));
    }

  private:
    platform::net::UdpSocket m_socket;
};

std::vector<std::uint8_t> Pattern(std::size_t length, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(length);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

class Listener : public ::testing::Test {
  protected:
    void SetUp() override {
        buffer.fill(0xEE);
        ASSERT_TRUE(listener.Configure(filter, device, buffer, receivedAt, 170, 170));
        ASSERT_EQ(listener.Open(PORT), RC_LISTENER_OPEN);
    }
    bool filter = false;
    Ipv4 device{127, 0, 0, 60};
    devicelib::StatusBuffer buffer{};
    std::uint32_t receivedAt = 0;
    devicelib::CStatusListner listener;
};

TEST_F(Listener, LongDatagramIsAcceptedWithItsFirstBytes) {
    Sender(device).Send(Pattern(180, 0));
    ASSERT_EQ(listener.Receive(1000), 0);
    for (std::size_t i = 0; i < 170; ++i) ASSERT_EQ(buffer[i], static_cast<std::uint8_t>(i));
    EXPECT_EQ(buffer[170], 0xEE);  // nothing written past the expected length
    EXPECT_EQ(buffer[171], 0xEE);
    EXPECT_NE(receivedAt, 0u);
}

TEST_F(Listener, ShortDatagramIsSkippedAndTheWaitGoesOn) {
    Sender sender(device);
    sender.Send(Pattern(170, 0));
    ASSERT_EQ(listener.Receive(1000), 0);
    sender.Send(std::vector<std::uint8_t>(169, 0xAA));
    EXPECT_EQ(listener.Receive(100), ERR_STATUS_TIMEOUT);
    EXPECT_EQ(buffer[0], 0);
    sender.Send(std::vector<std::uint8_t>(100, 0xAA));
    sender.Send(Pattern(170, 1));
    ASSERT_EQ(listener.Receive(1000), 0);
    EXPECT_EQ(buffer[0], 1);
    EXPECT_EQ(buffer[169], 170);
    EXPECT_EQ(listener.LastLength(), 170u);
}

TEST_F(Listener, FilterSkipsOtherSourcesButRecordsThem) {
#ifdef _WIN32
    GTEST_SKIP() << "under Wine every test datagram leaves from 127.0.0.1: no second source";
#endif
    listener.Close();
    filter = true;
    ASSERT_EQ(listener.Open(PORT), RC_LISTENER_OPEN);
    Sender(Ipv4{127, 0, 0, 61}).Send(Pattern(170, 7));
    EXPECT_EQ(listener.Receive(200), ERR_STATUS_TIMEOUT);
    Ipv4 last{};
    listener.LastSource(last);
    EXPECT_EQ(last, (Ipv4{127, 0, 0, 61}));
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_EQ(receivedAt, 0u);

    Sender(device).Send(Pattern(170, 1));
    EXPECT_EQ(listener.Receive(1000), 0);
    EXPECT_EQ(buffer[0], 1);
}

TEST_F(Listener, ShortWaitReturnsAtOnceOrWithWhatIsQueued) {
    const auto before = platform::clock::NowMilliseconds();
    EXPECT_EQ(listener.Receive(1), ERR_STATUS_TIMEOUT);
    EXPECT_LT(platform::clock::NowMilliseconds() - before, 500);
    Sender(device).Send(Pattern(170, 3));
    platform::clock::SleepMilliseconds(20);
    EXPECT_EQ(listener.Receive(1), 0);
    EXPECT_EQ(buffer[0], 3);
}

TEST_F(Listener, DrainDropsWhatIsQueued) {
    Sender sender(device);
    for (int i = 0; i < 20; ++i) sender.Send(Pattern(170, static_cast<std::uint8_t>(i)));
    platform::clock::SleepMilliseconds(20);
    EXPECT_TRUE(listener.Drain());
    EXPECT_EQ(listener.Receive(1), ERR_STATUS_TIMEOUT);
    EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(Listener, ClosedListenerRefuses) {
    listener.Close();
    EXPECT_FALSE(listener.IsOpen());
    EXPECT_EQ(listener.Receive(10), ERR_LISTENER_NOT_OPEN);
    EXPECT_FALSE(listener.Drain());
}

TEST_F(Listener, ConfigureIsRefusedWhileOpen) {
    EXPECT_FALSE(listener.Configure(filter, device, buffer, receivedAt, 138, 138));
}

TEST(ListenerWithoutBuffer, CannotOpen) {
    devicelib::CStatusListner listener;
    EXPECT_EQ(listener.Open(PORT), ERR_LISTENER_NO_BUFFER);
}

TEST(ListenerPort, HeldExclusivelyFailsToBind) {
    platform::net::UdpSocket holder;
    ASSERT_TRUE(holder.Open() && holder.Bind(platform::net::ANY_ADDRESS, PORT));
    bool filter = false;
    Ipv4 device{};
    devicelib::StatusBuffer buffer{};
    std::uint32_t at = 0;
    devicelib::CStatusListner listener;
    listener.Configure(filter, device, buffer, at, 138, 138);
    EXPECT_EQ(listener.Open(PORT), ERR_STATUS_SOCKET);
    EXPECT_FALSE(listener.IsOpen());
}

TEST(Freshness, FlipsAfterFourWholeSeconds) {
    // An R40's own datagram, handed over without a socket, on a clock the
    // test moves.
    const sim::ReceiverConfig config = sim::ReceiverConfig::For(sim::Model::R40, {127, 0, 0, 66});
    const sim::EmulatedReceiver rx(config);  // never started: only its identity is used
    const std::vector<std::uint8_t> datagram =
        sim::BuildStatusDatagram(sim::Model::R40, config.initial);
    platform::clock::FakeClock clock;
    devicelib::CR40 device;
    device.UseClock(clock);
    ASSERT_EQ(device.Attach(InfoFor(rx)), RC_ATTACHED);
    EXPECT_FALSE(device.IsStatusFresh());  // never heard

    ASSERT_EQ(device.TakeStatusDatagram(datagram, rx.Address()), devicelib::StatusIntake::Accepted);
    EXPECT_TRUE(device.IsStatusFresh());
    clock.AdvanceSeconds(3);
    EXPECT_TRUE(device.IsStatusFresh());
    clock.AdvanceSeconds(1);
    EXPECT_FALSE(device.IsStatusFresh());

    // A new status is fresh again; a refused one (another model's code)
    // does not refresh an aged one.
    ASSERT_EQ(device.TakeStatusDatagram(datagram, rx.Address()), devicelib::StatusIntake::Accepted);
    EXPECT_TRUE(device.IsStatusFresh());
    clock.AdvanceSeconds(4);
    sim::StatusOverrides foreign;
    foreign.modelCode = 0x44;
    EXPECT_EQ(device.TakeStatusDatagram(
                  sim::BuildStatusDatagram(sim::Model::R40, config.initial, foreign), rx.Address()),
              devicelib::StatusIntake::Refused);
    EXPECT_FALSE(device.IsStatusFresh());
}

TEST(DeviceWaits, R40RefusesAnR40VModelCode) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 62});
    devicelib::CR40 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    ASSERT_EQ(device.OpenListener(), 0);
    device.SetSourceFilter(true);
    EXPECT_EQ(device.WaitFreshStatus(1000), 0);
    rx->SetModelCodeOverride(0x44);
    EXPECT_EQ(device.WaitFreshStatus(1000), RC_FAILED);
    EXPECT_EQ(device.WaitStatus(1000), RC_FAILED);
}

TEST(DeviceWaits, RefusedDatagramsDoNotRefreshTheStatus) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 63});
    devicelib::CR40 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    ASSERT_EQ(device.OpenListener(), 0);
    device.SetSourceFilter(true);
    rx->SetFault(sim::Fault::ForeignMacPrefix, true);
    EXPECT_EQ(device.WaitFreshStatus(1000), RC_FAILED);
    EXPECT_FALSE(device.IsStatusFresh());
}

TEST(DeviceWaits, WaitStatusOpensAClosedListenerButFreshWaitDoesNot) {
    auto rx = StartReceiver(sim::Model::T22V3, {127, 0, 0, 64});
    devicelib::CT22_V3 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    EXPECT_EQ(device.WaitFreshStatus(1000), ERR_LISTENER_CLOSED);
    EXPECT_EQ(device.WaitStatus(1000), 0);
    EXPECT_TRUE(device.IsListenerOpen());
    EXPECT_TRUE(device.IsStatusFresh());
}

TEST(DeviceWaits, StatusPortZeroIsInvalid) {
    devicelib::CR40 device;
    device.SetStatusPort(0);
    EXPECT_EQ(device.OpenListener(), ERR_STATUS_PORT_INVALID);
}

// A family without a model has no status datagram to listen for.
class BareAtsc : public devicelib::ATSCDevice {
  public:
    BareAtsc() : ATSCDevice(TYPE_R40, 0) {}
    std::unique_ptr<devicelib::PIDList> NewPidList() override { return nullptr; }
    void ParsePidTable(std::span<std::uint8_t>) override {}
};

TEST(DeviceWaits, AbstractFamilyHasNoStatusBuffer) {
    BareAtsc device;
    EXPECT_EQ(device.OpenListener(), ERR_NO_STATUS_BUFFER);
}

TEST(DeviceWaits, AddressFollowsTheAcceptedStatusSource) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 65});
    devicelib::CR40 device;
    ASSERT_EQ(device.Attach(InfoFor(*rx)), RC_ATTACHED);
    device.SetAddress({127, 0, 0, 99});  // wrong, and no filter yet
    ASSERT_EQ(device.OpenListener(), 0);
    EXPECT_EQ(device.WaitFreshStatus(1000), 0);
    Ipv4 address{};
    ASSERT_TRUE(device.GetAddress(address));
    EXPECT_EQ(address, rx->Address());
}

}  // namespace
}  // namespace devicelib_test
