// Each fault switch of the emulated receiver does what it says, and only
// while it is on.
#include <algorithm>

#include "receiver_fixture.h"
#include "sim/status_datagram.h"

namespace {

using namespace simtest;
using sim::Fault;
using sim::Model;
namespace off = sim::status_offset;

constexpr Ipv4 HERE{127, 0, 0, 20};

class Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_listener.ok());
        m_rx = StartReceiver(FastConfig(Model::R40, HERE));
    }
    StatusListener m_listener{6516};
    std::unique_ptr<sim::EmulatedReceiver> m_rx;
};

TEST_F(Faults, NoEchoAnswersNothing) {
    m_rx->SetFault(Fault::NoEcho, true);
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, AtscTune(50), 300ms).has_value());
    EXPECT_FALSE(Exchange(HERE, sim::TABLE_PORT, TABLE_READ, 300ms).has_value());
    EXPECT_EQ(m_rx->Channel(), 50) << "the command is still applied";
    EXPECT_EQ(m_rx->Commands().size(), 2u);
    m_rx->SetFault(Fault::NoEcho, false);
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(51)).has_value());
}

TEST_F(Faults, ChangedEchoFlipsExactlyOneByte) {
    m_rx->SetFault(Fault::ChangedEcho, true);
    for (const auto& command : {AtscTune(50), RESET_BYTES}) {
        const std::uint16_t port = command.size() == 6 ? sim::TUNE_PORT : sim::RESET_PORT;
        auto echo = Exchange(HERE, port, command);
        ASSERT_TRUE(echo.has_value());
        ASSERT_EQ(echo->bytes.size(), command.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < command.size(); ++i) differing += echo->bytes[i] != command[i];
        EXPECT_EQ(differing, 1u);
    }
}

TEST_F(Faults, ShortEchoLacksOneByte) {
    m_rx->SetFault(Fault::ShortEcho, true);
    const auto command = AtscTune(52);
    auto echo = Exchange(HERE, sim::TUNE_PORT, command);
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->bytes, std::vector(command.begin(), command.end() - 1));
}

TEST_F(Faults, ShortTableReplyIsTwoBytesShort) {
    m_rx->SetFault(Fault::ShortTableReply, true);
    auto reply = Exchange(HERE, sim::TABLE_PORT, TABLE_READ);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes.size(), 128u);
    // Echoes of table writes are whole.
    const auto write = sim::EncodePidTableWrite(Model::R40, {});
    EXPECT_EQ(Exchange(HERE, sim::TABLE_PORT, write)->bytes, write);
}

TEST_F(Faults, SilenceStopsEveryStatus) {
    ASSERT_TRUE(m_rx->WaitForNewStatuses(1, 1s));
    m_rx->SetFault(Fault::Silence, true);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    const std::uint64_t before = m_rx->StatusesSent();
    EXPECT_TRUE(m_listener.Collect(200ms).empty());
    EXPECT_EQ(m_rx->StatusesSent(), before);
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(53)).has_value())
        << "a silent receiver still answers commands";
    m_rx->SetFault(Fault::Silence, false);
    EXPECT_TRUE(m_listener.NextFrom(HERE, 1s).has_value());
}

TEST_F(Faults, IgnoreCommandsEchoesButAppliesNothing) {
    const auto before = m_rx->BuildStatusDatagram();
    m_rx->SetFault(Fault::IgnoreCommands, true);
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(60)).has_value());
    EXPECT_TRUE(
        Exchange(HERE, sim::TABLE_PORT,
                 sim::EncodePidTableWrite(Model::R40, std::vector{sim::PidEntry::Make(0x31, 1)}))
            .has_value());
    EXPECT_TRUE(Exchange(HERE, sim::NETWORK_PORT,
                         NetworkCommand({127, 0, 0, 1}, {255, 0, 0, 0}, {127, 0, 0, 1}, 8309,
                                        {127, 0, 0, 31}, 8309, 4))
                    .has_value());
    EXPECT_TRUE(Exchange(HERE, sim::RESET_PORT, RESET_BYTES).has_value());
    EXPECT_EQ(m_rx->ResetCount(), 0u);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    auto d = m_listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value()) << "no restart, same address and port";
    EXPECT_EQ(d->bytes, before);
    EXPECT_EQ(Exchange(HERE, sim::TABLE_PORT, TABLE_READ)->bytes,
              sim::EncodePidTableWrite(Model::R40, {}));
}

TEST_F(Faults, WrongModelCodeReplacesByte0x20Only) {
    const auto good = m_rx->BuildStatusDatagram();
    m_rx->SetModelCodeOverride(0x44);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    auto d = m_listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes[off::MODEL_CODE], 0x44);
    d->bytes[off::MODEL_CODE] = 0x43;
    EXPECT_EQ(d->bytes, good);
    m_rx->SetModelCodeOverride(std::nullopt);
    EXPECT_EQ(m_rx->BuildStatusDatagram(), good);
}

TEST_F(Faults, ForeignMacPrefixShowsInStatus) {
    m_rx->SetFault(Fault::ForeignMacPrefix, true);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    auto d = m_listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(std::vector(d->bytes.begin() + off::MAC, d->bytes.begin() + off::MAC + 6),
              (std::vector<std::uint8_t>{0x00, 0x5C, 0xC1, 0x00, 0x00, 0x14}));
    EXPECT_EQ(m_rx->Mac()[0], 0x02) << "the receiver's own MAC is unchanged";
}

TEST_F(Faults, SpoofedSourceSendsTheSameDatagramFromAnotherAddress) {
    const Ipv4 spoof{127, 0, 0, 99};
    m_rx->SetSpoofedSource(spoof);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    auto fake = m_listener.NextFrom(spoof, 1s);
    ASSERT_TRUE(fake.has_value());
    auto real = m_listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(real.has_value());
    EXPECT_EQ(fake->bytes, real->bytes);
    // Only status is spoofed: nothing listens for commands on the spoofed address.
    EXPECT_FALSE(Exchange(spoof, sim::TUNE_PORT, AtscTune(9), 200ms).has_value());

    m_rx->SetSpoofedSource(std::nullopt);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    const auto heard = m_listener.Collect(150ms);
    EXPECT_FALSE(heard.empty());
    for (const Datagram& d : heard) EXPECT_EQ(d.source, HERE);
}

TEST_F(Faults, StatusLengthOverrideTruncatesOrPads) {
    for (std::size_t length : {0u, 1u, 100u, 137u, 139u, 200u, 1500u}) {
        m_rx->SetStatusLengthOverride(length);
        ASSERT_TRUE(m_rx->Settle());
        m_listener.Drain();
        auto d = m_listener.NextFrom(HERE, 1s);
        ASSERT_TRUE(d.has_value()) << length;
        EXPECT_EQ(d->bytes.size(), length);
    }
    m_rx->SetStatusLengthOverride(std::nullopt);
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    EXPECT_EQ(m_listener.NextFrom(HERE, 1s)->bytes.size(), 138u);
}

TEST_F(Faults, ClearFaultsRestoresGoodBehaviour) {
    m_rx->SetFault(Fault::NoEcho, true);
    m_rx->SetFault(Fault::Silence, true);
    m_rx->SetModelCodeOverride(0x35);
    m_rx->SetStatusLengthOverride(10);
    m_rx->ClearFaults();
    EXPECT_FALSE(m_rx->FaultOn(Fault::NoEcho));
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(12)).has_value());
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    auto d = m_listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes, m_rx->BuildStatusDatagram());
}

}  // namespace
