// No datagram, of any length from any source on any command port, crashes
// or overruns the emulator (run these under the sanitizer build too).
#include <random>

#include "receiver_fixture.h"

namespace {

using namespace simtest;
using sim::CommandKind;
using sim::Model;

constexpr Ipv4 HERE{127, 0, 0, 20};
constexpr std::size_t LONGEST = 1500;

// Datagram contents of one length, in a few shapes: random, all zero, all
// ones, and the start of a real command followed by noise.
std::vector<std::uint8_t> Shape(std::uint16_t port, std::size_t length, int shape,
                                std::mt19937& rng) {
    std::vector<std::uint8_t> d(length);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : d)
        b = shape == 1 ? 0x00 : shape == 2 ? 0xFF : static_cast<std::uint8_t>(byte(rng));
    if (shape == 3 && length >= 2) {
        static const std::uint8_t words[] = {0x01, 0x02, 0x03};
        d[0] = 0x00;
        d[1] = words[length % 3];
        if (port == sim::RESET_PORT)
            for (std::size_t i = 0; i < length && i < 4; ++i) d[i] = sim::RESET_CODE[i];
    }
    if (port == sim::NETWORK_PORT && length == sim::NETWORK_COMMAND_SIZE) {
        // Keep it at its address and port, so that the rest still reaches it.
        std::copy(HERE.begin(), HERE.end(), d.begin() + 14);
        d[18] = 6516 >> 8;
        d[19] = 6516 & 0xFF;
    }
    return d;
}

class HostileInput : public ::testing::TestWithParam<Model> {};

TEST_P(HostileInput, EveryLengthOnEveryPortFromAnySource) {
    sim::ReceiverConfig config = FastConfig(GetParam(), HERE);
    config.resetPause = 0ms;  // the reset code may well come up
    config.commandRecordLimit = 1000000;
    auto rx = StartReceiver(config);
    std::array<platform::net::UdpSocket, 2> senders;
    const std::array<Ipv4, 2> sources{Ipv4{127, 0, 0, 1}, Ipv4{127, 0, 0, 77}};
    for (std::size_t i = 0; i < senders.size(); ++i)
        ASSERT_TRUE(senders[i].Open() && senders[i].Bind(sources[i], 0));

    std::mt19937 rng(12345);
    std::size_t sent = 0;
    for (const std::uint16_t port : sim::COMMAND_PORTS) {
        for (std::size_t length = 0; length <= LONGEST; ++length) {
            const auto d = Shape(port, length, static_cast<int>(length % 4), rng);
            ASSERT_EQ(senders[length % 2].SendTo(d, HERE, port), static_cast<long>(length));
            ++sent;
            // Small batches, so that no socket buffer overflows and drops any.
            if (sent % 25 == 0) {
                ASSERT_TRUE(rx->WaitForCommands(sent, 5s)) << sent;
            }
        }
    }
    ASSERT_TRUE(rx->WaitForCommands(sent, 5s));
    EXPECT_EQ(rx->Commands().size(), sent);
    EXPECT_TRUE(rx->Running());
    EXPECT_EQ(rx->Address(), HERE);

    // Still whole: it sends its status and answers a good command.
    StatusListener listener(6516);
    rx->ClearFaults();
    EXPECT_TRUE(listener.NextFrom(HERE, 2s).has_value());
    auto echo = Exchange(HERE, sim::TUNE_PORT, TuneFor(GetParam()));
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->bytes, TuneFor(GetParam()));
}

TEST_P(HostileInput, ApplyingAnyKindToAnyLengthNeverReadsPastTheEnd) {
    const Model model = GetParam();
    std::mt19937 rng(7);
    for (const CommandKind kind :
         {CommandKind::Reset, CommandKind::NetworkSettings, CommandKind::Tuning,
          CommandKind::PidTableWrite, CommandKind::PidTableRead, CommandKind::CaTableWrite,
          CommandKind::Unrecognised}) {
        for (std::size_t length = 0; length <= 300; ++length) {
            // Exactly sized heap buffers, so that the sanitizer sees any overrun.
            std::vector<std::uint8_t> d = Shape(sim::TABLE_PORT, length, 0, rng);
            sim::ReceiverState state = sim::DefaultState(model, HERE);
            const bool applied = sim::ApplyCommand(model, kind, d, state);
            const bool fits =
                (kind == CommandKind::NetworkSettings && length == 22) ||
                (kind == CommandKind::Tuning && length == 6) ||
                (kind == CommandKind::PidTableWrite && length == sim::PidTableMessageSize(model)) ||
                (kind == CommandKind::CaTableWrite && model == Model::T22CA && length == 130);
            EXPECT_EQ(applied, fits) << int(kind) << " with " << length << " bytes";
            for (const std::uint16_t port : sim::COMMAND_PORTS)
                (void)sim::ClassifyCommand(model, port, d);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllModels, HostileInput, ::testing::ValuesIn(sim::ALL_MODELS), ModelName);

TEST(Classify, RecognisesOnlyWellFormedCommands) {
    using sim::ClassifyCommand;
    const std::vector<std::uint8_t> reset(sim::RESET_CODE.begin(), sim::RESET_CODE.end());
    EXPECT_EQ(ClassifyCommand(Model::R40, sim::RESET_PORT, reset), CommandKind::Reset);
    EXPECT_EQ(ClassifyCommand(Model::R40, sim::TUNE_PORT, reset), CommandKind::Unrecognised);
    EXPECT_EQ(ClassifyCommand(Model::R40, sim::TABLE_PORT, TABLE_READ), CommandKind::PidTableRead);
    EXPECT_EQ(
        ClassifyCommand(Model::R40, sim::TABLE_PORT, sim::EncodePidTableWrite(Model::R40, {})),
        CommandKind::PidTableWrite);
    EXPECT_EQ(
        ClassifyCommand(Model::R40, sim::TABLE_PORT, sim::EncodePidTableWrite(Model::R40V, {})),
        CommandKind::Unrecognised)
        << "a 32-entry table does not fit a 16-entry receiver";
    const auto ca = sim::EncodeCaTableWrite({});
    EXPECT_EQ(ClassifyCommand(Model::T22CA, sim::TABLE_PORT, ca), CommandKind::CaTableWrite);
    EXPECT_EQ(ClassifyCommand(Model::R40, sim::TABLE_PORT, ca), CommandKind::Unrecognised);
    EXPECT_EQ(ClassifyCommand(Model::R40, 1234, reset), CommandKind::Unrecognised);

    EXPECT_FALSE(sim::IsEchoed(Model::T22CA, sim::RESET_PORT, CommandKind::Reset));
    EXPECT_FALSE(sim::IsEchoed(Model::T22CA, sim::RESET_PORT, CommandKind::Unrecognised));
    EXPECT_TRUE(sim::IsEchoed(Model::R40, sim::RESET_PORT, CommandKind::Reset));
    EXPECT_FALSE(sim::IsEchoed(Model::R40, sim::TABLE_PORT, CommandKind::PidTableRead));
}

}  // namespace
