// Each fault switch of the emulated receiver does what it says, and only
// while it is on.
#include <algorithm>
#include <array>
#include <thread>

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

// Sends `count` copies of a command from one socket, a few at a time, and
// counts the answers that come back (read as they come, so that none is
// lost in this socket's own buffer).
int AnswersTo(const std::vector<std::uint8_t>& command, std::uint16_t port, int count) {
    platform::net::UdpSocket socket;
    EXPECT_TRUE(socket.Open() && socket.Connect(HERE, port));
    int answers = 0;
    std::array<std::uint8_t, 512> buffer;
    for (int sent = 0; sent < count;) {
        for (int i = 0; i < 16 && sent < count; ++i, ++sent)
            EXPECT_EQ(socket.Send(command), static_cast<long>(command.size()));
        while (socket.WaitReadable(60ms) == platform::net::WaitResult::Readable) {
            const auto got = socket.Receive(buffer);
            if (got.status == platform::net::ReceiveStatus::Ok) ++answers;
        }
    }
    return answers;
}

TEST_F(Faults, LossDropsEchoesAndTableRepliesAtItsRateAndCountsThem) {
    constexpr int N = 400;
    m_rx->SetLoss(sim::LossRates{0.3, 0, 0});
    const int echoes = AnswersTo(AtscTune(40), sim::TUNE_PORT, N);
    EXPECT_EQ(m_rx->Commands().size(), static_cast<std::size_t>(N)) << "every command arrives";
    EXPECT_EQ(m_rx->Channel(), 40);
    sim::LossCounts counts = m_rx->Losses();
    EXPECT_EQ(counts.echoesSent, static_cast<std::uint64_t>(echoes));
    EXPECT_EQ(counts.echoesSent + counts.echoesLost, static_cast<std::uint64_t>(N));
    // 120 expected; 60 and 180 lie beyond six standard deviations.
    EXPECT_GT(counts.echoesLost, 60u);
    EXPECT_LT(counts.echoesLost, 180u);
    EXPECT_EQ(AnswersTo(TABLE_READ, sim::TABLE_PORT, 50), 50) << "table replies are not lost";

    m_rx->SetLoss(sim::LossRates{0, 0.3, 0});
    const int replies = AnswersTo(TABLE_READ, sim::TABLE_PORT, N);
    counts = m_rx->Losses();
    EXPECT_EQ(counts.tableRepliesSent, 50u + replies);
    EXPECT_GT(counts.tableRepliesLost, 60u);
    EXPECT_LT(counts.tableRepliesLost, 180u);

    m_rx->SetLoss(1.0);
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, AtscTune(41), 200ms).has_value());
    EXPECT_EQ(m_rx->Channel(), 41) << "a lost echo still leaves the command applied";
}

TEST_F(Faults, LossDropsStatusDatagramsAndCountsOnlyThoseThatLeft) {
    m_rx->SetLoss(sim::LossRates{0, 0, 0.3});
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    const sim::LossCounts before = m_rx->Losses();
    const auto heard = m_listener.Collect(1500ms);
    ASSERT_TRUE(m_rx->Settle());
    const sim::LossCounts after = m_rx->Losses();
    const auto sent = after.statusesSent - before.statusesSent;
    const auto lost = after.statusesLost - before.statusesLost;
    std::size_t fromHere = 0;
    for (const Datagram& d : heard) fromHere += d.source == HERE;
    EXPECT_NEAR(static_cast<double>(fromHere), static_cast<double>(sent), 2.0);
    ASSERT_GT(sent + lost, 40u);
    const double rate = static_cast<double>(lost) / static_cast<double>(sent + lost);
    EXPECT_GT(rate, 0.1);
    EXPECT_LT(rate, 0.55);
}

TEST_F(Faults, AVanishedReceiverSendsAndAnswersNothingAndHearsNothing) {
    ASSERT_TRUE(m_rx->WaitForNewStatuses(1, 1s));
    m_rx->SetVanished(true);
    EXPECT_TRUE(m_rx->Vanished());
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    const std::size_t recorded = m_rx->Commands().size();
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, AtscTune(33), 200ms).has_value());
    EXPECT_TRUE(m_listener.Collect(150ms).empty());
    EXPECT_EQ(m_rx->Commands().size(), recorded);
    EXPECT_NE(m_rx->Channel(), 33) << "what reached it while gone was never read";
    m_rx->SetVanished(false);
    EXPECT_TRUE(m_listener.NextFrom(HERE, 1s).has_value());
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(34)).has_value());
}

TEST_F(Faults, AVanishCycleComesAndGoes) {
    m_rx->SetVanishCycle(sim::VanishCycle{200ms, 200ms});
    EXPECT_FALSE(m_rx->Vanished()) << "present first";
    auto waitFor = [&](bool gone) {
        for (int i = 0; i < 200; ++i) {
            if (m_rx->Vanished() == gone) return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    };
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(waitFor(true));
        ASSERT_TRUE(waitFor(false));
    }
    m_rx->SetVanishCycle(std::nullopt);
    EXPECT_FALSE(m_rx->Vanished());
}

TEST_F(Faults, ClearFaultsRestoresGoodBehaviour) {
    m_rx->SetLoss(1.0);
    m_rx->SetVanished(true);
    m_rx->SetVanishCycle(sim::VanishCycle{1ms, 100000ms});
    m_rx->SetFault(Fault::NoEcho, true);
    m_rx->SetFault(Fault::Silence, true);
    m_rx->SetModelCodeOverride(0x35);
    m_rx->SetStatusLengthOverride(10);
    m_rx->ClearFaults();
    EXPECT_FALSE(m_rx->FaultOn(Fault::NoEcho));
    EXPECT_FALSE(m_rx->Vanished());
    EXPECT_EQ(m_rx->Loss().echoes, 0.0);
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(12)).has_value());
    ASSERT_TRUE(m_rx->Settle());
    m_listener.Drain();
    auto d = m_listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes, m_rx->BuildStatusDatagram());
}

}  // namespace
