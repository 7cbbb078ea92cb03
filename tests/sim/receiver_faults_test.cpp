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

constexpr Ipv4 kHere{127, 0, 0, 20};

class Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(listener_.ok());
        rx_ = StartReceiver(FastConfig(Model::R40, kHere));
    }
    StatusListener listener_{6516};
    std::unique_ptr<sim::EmulatedReceiver> rx_;
};

TEST_F(Faults, NoEchoAnswersNothing) {
    rx_->SetFault(Fault::NoEcho, true);
    EXPECT_FALSE(Exchange(kHere, sim::kTunePort, AtscTune(50), 300ms).has_value());
    EXPECT_FALSE(Exchange(kHere, sim::kTablePort, kTableRead, 300ms).has_value());
    EXPECT_EQ(rx_->Channel(), 50) << "the command is still applied";
    EXPECT_EQ(rx_->Commands().size(), 2u);
    rx_->SetFault(Fault::NoEcho, false);
    EXPECT_TRUE(Exchange(kHere, sim::kTunePort, AtscTune(51)).has_value());
}

TEST_F(Faults, ChangedEchoFlipsExactlyOneByte) {
    rx_->SetFault(Fault::ChangedEcho, true);
    for (const auto& command : {AtscTune(50), kResetBytes}) {
        const std::uint16_t port = command.size() == 6 ? sim::kTunePort : sim::kResetPort;
        auto echo = Exchange(kHere, port, command);
        ASSERT_TRUE(echo.has_value());
        ASSERT_EQ(echo->bytes.size(), command.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < command.size(); ++i) differing += echo->bytes[i] != command[i];
        EXPECT_EQ(differing, 1u);
    }
}

TEST_F(Faults, ShortEchoLacksOneByte) {
    rx_->SetFault(Fault::ShortEcho, true);
    const auto command = AtscTune(52);
    auto echo = Exchange(kHere, sim::kTunePort, command);
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->bytes, std::vector(command.begin(), command.end() - 1));
}

TEST_F(Faults, ShortTableReplyIsTwoBytesShort) {
    rx_->SetFault(Fault::ShortTableReply, true);
    auto reply = Exchange(kHere, sim::kTablePort, kTableRead);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes.size(), 128u);
    // Echoes of table writes are whole.
    const auto write = sim::EncodePidTableWrite(Model::R40, {});
    EXPECT_EQ(Exchange(kHere, sim::kTablePort, write)->bytes, write);
}

TEST_F(Faults, SilenceStopsEveryStatus) {
    ASSERT_TRUE(rx_->WaitForNewStatuses(1, 1s));
    rx_->SetFault(Fault::Silence, true);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    const std::uint64_t before = rx_->StatusesSent();
    EXPECT_TRUE(listener_.Collect(200ms).empty());
    EXPECT_EQ(rx_->StatusesSent(), before);
    EXPECT_TRUE(Exchange(kHere, sim::kTunePort, AtscTune(53)).has_value())
        << "a silent receiver still answers commands";
    rx_->SetFault(Fault::Silence, false);
    EXPECT_TRUE(listener_.NextFrom(kHere, 1s).has_value());
}

TEST_F(Faults, IgnoreCommandsEchoesButAppliesNothing) {
    const auto before = rx_->BuildStatusDatagram();
    rx_->SetFault(Fault::IgnoreCommands, true);
    EXPECT_TRUE(Exchange(kHere, sim::kTunePort, AtscTune(60)).has_value());
    EXPECT_TRUE(
        Exchange(kHere, sim::kTablePort,
                 sim::EncodePidTableWrite(Model::R40, std::vector{sim::PidEntry::Make(0x31, 1)}))
            .has_value());
    EXPECT_TRUE(Exchange(kHere, sim::kNetworkPort,
                         NetworkCommand({127, 0, 0, 1}, {255, 0, 0, 0}, {127, 0, 0, 1}, 8309,
                                        {127, 0, 0, 31}, 8309, 4))
                    .has_value());
    EXPECT_TRUE(Exchange(kHere, sim::kResetPort, kResetBytes).has_value());
    EXPECT_EQ(rx_->ResetCount(), 0u);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    auto d = listener_.NextFrom(kHere, 1s);
    ASSERT_TRUE(d.has_value()) << "no restart, same address and port";
    EXPECT_EQ(d->bytes, before);
    EXPECT_EQ(Exchange(kHere, sim::kTablePort, kTableRead)->bytes,
              sim::EncodePidTableWrite(Model::R40, {}));
}

TEST_F(Faults, WrongModelCodeReplacesByte0x20Only) {
    const auto good = rx_->BuildStatusDatagram();
    rx_->SetModelCodeOverride(0x44);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    auto d = listener_.NextFrom(kHere, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes[off::kModelCode], 0x44);
    d->bytes[off::kModelCode] = 0x43;
    EXPECT_EQ(d->bytes, good);
    rx_->SetModelCodeOverride(std::nullopt);
    EXPECT_EQ(rx_->BuildStatusDatagram(), good);
}

TEST_F(Faults, ForeignMacPrefixShowsInStatus) {
    rx_->SetFault(Fault::ForeignMacPrefix, true);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    auto d = listener_.NextFrom(kHere, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(std::vector(d->bytes.begin() + off::kMac, d->bytes.begin() + off::kMac + 6),
              (std::vector<std::uint8_t>{0x00, 0x5C, 0xC1, 0x00, 0x00, 0x14}));
    EXPECT_EQ(rx_->Mac()[0], 0x02) << "the receiver's own MAC is unchanged";
}

TEST_F(Faults, SpoofedSourceSendsTheSameDatagramFromAnotherAddress) {
    const Ipv4 spoof{127, 0, 0, 99};
    rx_->SetSpoofedSource(spoof);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    auto fake = listener_.NextFrom(spoof, 1s);
    ASSERT_TRUE(fake.has_value());
    auto real = listener_.NextFrom(kHere, 1s);
    ASSERT_TRUE(real.has_value());
    EXPECT_EQ(fake->bytes, real->bytes);
    // Only status is spoofed: nothing listens for commands on the spoofed address.
    EXPECT_FALSE(Exchange(spoof, sim::kTunePort, AtscTune(9), 200ms).has_value());

    rx_->SetSpoofedSource(std::nullopt);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    const auto heard = listener_.Collect(150ms);
    EXPECT_FALSE(heard.empty());
    for (const Datagram& d : heard) EXPECT_EQ(d.source, kHere);
}

TEST_F(Faults, StatusLengthOverrideTruncatesOrPads) {
    for (std::size_t length : {0u, 1u, 100u, 137u, 139u, 200u, 1500u}) {
        rx_->SetStatusLengthOverride(length);
        ASSERT_TRUE(rx_->Settle());
        listener_.Drain();
        auto d = listener_.NextFrom(kHere, 1s);
        ASSERT_TRUE(d.has_value()) << length;
        EXPECT_EQ(d->bytes.size(), length);
    }
    rx_->SetStatusLengthOverride(std::nullopt);
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    EXPECT_EQ(listener_.NextFrom(kHere, 1s)->bytes.size(), 138u);
}

TEST_F(Faults, ClearFaultsRestoresGoodBehaviour) {
    rx_->SetFault(Fault::NoEcho, true);
    rx_->SetFault(Fault::Silence, true);
    rx_->SetModelCodeOverride(0x35);
    rx_->SetStatusLengthOverride(10);
    rx_->ClearFaults();
    EXPECT_FALSE(rx_->FaultOn(Fault::NoEcho));
    EXPECT_TRUE(Exchange(kHere, sim::kTunePort, AtscTune(12)).has_value());
    ASSERT_TRUE(rx_->Settle());
    listener_.Drain();
    auto d = listener_.NextFrom(kHere, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes, rx_->BuildStatusDatagram());
}

}  // namespace
