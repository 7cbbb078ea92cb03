// An emulated receiver on real loopback sockets: its status on the wire, the
// echo of each command port, the table read, and commands showing in the
// status that follows.
#include <algorithm>

#include "receiver_fixture.h"
#include "sim/status_datagram.h"

namespace {

using namespace simtest;
using sim::Model;
namespace off = sim::status_offset;

constexpr Ipv4 HERE{127, 0, 0, 20};

// The first status sent after everything queued so far.
std::vector<std::uint8_t> NextStatus(StatusListener& listener, const Ipv4& from = HERE) {
    listener.Drain();
    auto d = listener.NextFrom(from, 1s);
    EXPECT_TRUE(d.has_value()) << "no status from the receiver";
    return d ? d->bytes : std::vector<std::uint8_t>{};
}

class EachModel : public ::testing::TestWithParam<Model> {};

TEST_P(EachModel, SendsItsStatusFromItsOwnAddressToItsPort) {
    StatusListener listener(8565);
    ASSERT_TRUE(listener.ok());
    auto rx = StartReceiver(FastConfig(GetParam(), HERE, 8565));
    auto d = listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes.size(), sim::TraitsOf(GetParam()).statusLength);
    EXPECT_EQ(d->bytes, rx->BuildStatusDatagram());
    EXPECT_EQ(d->bytes, rx->LastStatusDatagram());
    EXPECT_TRUE(rx->WaitUntilStatusesSent(1, 1s));
    // Nothing goes to the default port.
    StatusListener other(6516);
    EXPECT_FALSE(other.Next(100ms).has_value());
}

TEST_P(EachModel, EchoesEveryCommandFromThePortItCameTo) {
    const Model model = GetParam();
    auto rx = StartReceiver(FastConfig(model, HERE));
    const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> commands{
        {sim::TUNE_PORT, TuneFor(model)},
        {sim::NETWORK_PORT, NetworkCommand({255, 255, 255, 255}, {255, 255, 255, 0}, {127, 0, 0, 1},
                                           6516, HERE, 6516, 4)},
        {sim::TABLE_PORT, sim::EncodePidTableWrite(model, {})},
        {sim::RESET_PORT, RESET_BYTES},
    };
    for (const auto& [port, bytes] : commands) {
        auto echo = Exchange(HERE, port, bytes);
        if (port == sim::RESET_PORT && model == Model::T22CA) {
            EXPECT_FALSE(echo.has_value()) << "the T22CA does not answer its reset";
            continue;
        }
        ASSERT_TRUE(echo.has_value()) << "port " << port;
        EXPECT_EQ(echo->bytes, bytes) << "port " << port;
        EXPECT_EQ(echo->source, HERE);
        EXPECT_EQ(echo->sourcePort, port);
    }
    EXPECT_EQ(rx->ResetCount(), 1u);
}

TEST_P(EachModel, AnswersTheTableReadWithItsTable) {
    const Model model = GetParam();
    auto rx = StartReceiver(FastConfig(model, HERE));
    const std::size_t expected = sim::TraitsOf(model).pidEntries == 16 ? 130 : 258;

    auto reply = Exchange(HERE, sim::TABLE_PORT, TABLE_READ);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes.size(), expected);
    EXPECT_EQ(reply->bytes, sim::EncodePidTableWrite(model, {}));  // empty table

    const std::vector<sim::PidEntry> entries{sim::PidEntry::Make(0x0031, 1),
                                             sim::PidEntry::Make(0x0100, 5, {239, 1, 2, 3}, 1234),
                                             sim::PidEntry::Make(0x1FFE, 7, {10, 0, 0, 1}, 0xFFFF)};
    const std::vector<std::uint8_t> write = sim::EncodePidTableWrite(model, entries);
    ASSERT_EQ(write.size(), expected);
    auto echo = Exchange(HERE, sim::TABLE_PORT, write);
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->bytes, write);

    reply = Exchange(HERE, sim::TABLE_PORT, TABLE_READ);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->bytes, write) << "the read returns the table written, in its layout";
    EXPECT_EQ(rx->PidEntries()[1], entries[1]);
}

TEST_P(EachModel, TuningShowsInTheFollowingStatus) {
    const Model model = GetParam();
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(model, HERE));
    ASSERT_TRUE(Exchange(HERE, sim::TUNE_PORT, TuneFor(model)).has_value());
    const auto d = NextStatus(listener);
    ASSERT_FALSE(d.empty());
    if (sim::TraitsOf(model).family == sim::Family::Atsc) {
        EXPECT_EQ(Word(d, off::CHANNEL), 69);
        EXPECT_EQ(rx->Channel(), 69);
    } else {
        EXPECT_EQ(Word(d, off::SYMBOL_RATE), 27510);
        EXPECT_EQ(Word(d, off::FREQUENCY), 12345);
        EXPECT_EQ(d[off::TUNING_FLAGS], 0x07);
        EXPECT_EQ(rx->Tuning(), (sim::SatelliteTuning{27510, 12345, 0x07}));
    }
}

TEST_P(EachModel, PidTableWriteShowsInTheFollowingStatus) {
    const Model model = GetParam();
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(model, HERE));
    const std::size_t n = sim::TraitsOf(model).pidEntries;
    std::vector<sim::PidEntry> entries(n);
    entries[0] = sim::PidEntry::Make(0x0031, 1);
    entries[n - 1] = sim::PidEntry::Make(0x0044, 3);
    ASSERT_TRUE(
        Exchange(HERE, sim::TABLE_PORT, sim::EncodePidTableWrite(model, entries)).has_value());
    const auto d = NextStatus(listener);
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(Word(d, off::PID_TABLE), 0x2031);
    EXPECT_EQ(Word(d, off::PID_TABLE + 2), 0x1FFF);
    EXPECT_EQ(Word(d, off::PID_TABLE + 2 * (n - 1)), 0x6044);
}

TEST_P(EachModel, NetworkSettingsMoveTheReceiverAndShowInItsStatus) {
    const Model model = GetParam();
    const Ipv4 moved{127, 0, 0, 30};
    StatusListener newPort(8309);
    auto rx = StartReceiver(FastConfig(model, HERE));
    const std::uint8_t flags = model == Model::T22V2 ? 1 : 4;
    const auto command = NetworkCommand({127, 0, 0, 1}, {255, 255, 0, 0}, {127, 0, 0, 254}, 9077,
                                        moved, 8309, flags);
    auto echo = Exchange(HERE, sim::NETWORK_PORT, command);
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->bytes, command);
    EXPECT_EQ(echo->source, HERE) << "the echo leaves from the old address";

    const auto d = NextStatus(newPort, moved);
    ASSERT_FALSE(d.empty()) << "status from the new address on the new port";
    EXPECT_EQ(std::vector(d.begin() + off::UNICAST_STATUS_ADDRESS, d.begin() + 0x26),
              (std::vector<std::uint8_t>{127, 0, 0, 1}));
    EXPECT_EQ(std::vector(d.begin() + off::SUBNET_MASK, d.begin() + 0x2A),
              (std::vector<std::uint8_t>{255, 255, 0, 0}));
    EXPECT_EQ(std::vector(d.begin() + off::GATEWAY, d.begin() + 0x2E),
              (std::vector<std::uint8_t>{127, 0, 0, 254}));
    EXPECT_EQ(Word(d, off::STATUS_PORT), 9077);
    if (model == Model::T22V2) {
        EXPECT_EQ(d[off::OPTION_FLAGS] & 0x05, 0x01) << "flags byte 1 shows in option bit 0";
    } else {
        EXPECT_EQ(d[off::OPTION_FLAGS] & 0x05, 0x04) << "IGMP in option bit 2";
    }

    EXPECT_EQ(rx->Address(), moved);
    EXPECT_TRUE(rx->LastError().empty()) << rx->LastError();
    EXPECT_TRUE(Exchange(moved, sim::TUNE_PORT, TuneFor(model)).has_value());
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, TuneFor(model), 200ms).has_value())
        << "the old address no longer answers";
}

INSTANTIATE_TEST_SUITE_P(AllModels, EachModel, ::testing::ValuesIn(sim::ALL_MODELS), ModelName);

TEST(UnicastCopy, GoesToTheUnicastStatusAddressUnlessDisabled) {
    StatusListener unicastOnly(6516, {127, 0, 0, 1});  // hears no broadcast
    ASSERT_TRUE(unicastOnly.ok());
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.initial.unicastStatusAddress = {127, 0, 0, 1};
    auto rx = StartReceiver(config);
    auto d = unicastOnly.NextFrom(HERE, 1s);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->bytes, rx->BuildStatusDatagram());

    for (const Ipv4 disabled : {Ipv4{255, 255, 255, 255}, Ipv4{0, 0, 0, 0}}) {
        rx->Modify([&](sim::ReceiverState& s) { s.unicastStatusAddress = disabled; });
        ASSERT_TRUE(rx->WaitForNewStatuses(2, 1s));
        unicastOnly.Drain();
        ASSERT_TRUE(rx->WaitForNewStatuses(3, 1s));
        EXPECT_FALSE(unicastOnly.Next(50ms).has_value()) << "unicast copy to " << int(disabled[0]);
    }
}

TEST(NetworkSettings, FlagsByteSetsAndClearsIgmp) {
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(Model::R40, HERE));
    const auto with = [&](std::uint8_t flags) {
        return NetworkCommand({255, 255, 255, 255}, {255, 255, 255, 0}, {127, 0, 0, 1}, 6516, HERE,
                              6516, flags);
    };
    ASSERT_TRUE(Exchange(HERE, sim::NETWORK_PORT, with(4)).has_value());
    EXPECT_EQ(NextStatus(listener).at(off::OPTION_FLAGS), 0x04);
    ASSERT_TRUE(Exchange(HERE, sim::NETWORK_PORT, with(0)).has_value());
    EXPECT_EQ(NextStatus(listener).at(off::OPTION_FLAGS), 0x00);
    ASSERT_TRUE(Exchange(HERE, sim::NETWORK_PORT, with(1)).has_value());
    EXPECT_EQ(NextStatus(listener).at(off::OPTION_FLAGS), 0x00)
        << "only the T22 (2.x) shows flags byte 1";
}

TEST(NetworkSettings, AnAddressThatCannotBeBoundIsRefusedAndTheOldOneKept) {
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(Model::R40, HERE));
    const Ipv4 foreign{192, 0, 2, 77};  // no interface here has it
    ASSERT_TRUE(Exchange(HERE, sim::NETWORK_PORT,
                         NetworkCommand({255, 255, 255, 255}, {255, 255, 255, 0}, {192, 0, 2, 1},
                                        6516, foreign, 6516, 4))
                    .has_value());
    const auto d = NextStatus(listener, HERE);
    ASSERT_FALSE(d.empty()) << "still sending from the old address";
    EXPECT_EQ(d[off::GATEWAY], 192) << "the other settings are applied";
    EXPECT_EQ(rx->Address(), HERE);
    EXPECT_NE(rx->LastError().find("192.0.2.77"), std::string::npos) << rx->LastError();
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(40)).has_value());
}

TEST(NetworkSettings, AnAddressHeldByAnotherReceiverIsRefused) {
    const Ipv4 other{127, 0, 0, 21};
    auto first = StartReceiver(FastConfig(Model::R40, HERE));
    auto second = StartReceiver(FastConfig(Model::R40, other));
    ASSERT_TRUE(Exchange(HERE, sim::NETWORK_PORT,
                         NetworkCommand({255, 255, 255, 255}, {255, 255, 255, 0}, {127, 0, 0, 1},
                                        6516, other, 6516, 0))
                    .has_value());
    ASSERT_TRUE(first->WaitForNewStatuses(1, 1s));
    EXPECT_EQ(first->Address(), HERE);
    EXPECT_FALSE(first->LastError().empty());
    // Each still answers on its own address.
    EXPECT_EQ(Exchange(HERE, sim::TUNE_PORT, AtscTune(41))->source, HERE);
    EXPECT_EQ(Exchange(other, sim::TUNE_PORT, AtscTune(42))->source, other);
    EXPECT_EQ(first->Channel(), 41);
    EXPECT_EQ(second->Channel(), 42);
}

TEST(CommandPortShift, ReceiversOnOneAddressAreToldApartByTheirPorts) {
    auto standard = StartReceiver(FastConfig(Model::R40, HERE));
    sim::ReceiverConfig shiftedConfig = FastConfig(Model::R40, HERE);
    shiftedConfig.commandPortShift = 16;
    auto shifted = StartReceiver(shiftedConfig);
    ASSERT_TRUE(shifted->Running());
    // The standard ports reach the first only; the shifted ports the second,
    // which records the command under the port it stands for.
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(41)).has_value());
    const auto echo = Exchange(HERE, sim::TUNE_PORT + 16, AtscTune(42));
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->sourcePort, sim::TUNE_PORT + 16);
    EXPECT_EQ(standard->Channel(), 41);
    EXPECT_EQ(shifted->Channel(), 42);
    ASSERT_EQ(shifted->CommandsOnPort(sim::TUNE_PORT).size(), 1u);
    // A third on the taken shift cannot start.
    sim::EmulatedReceiver third(shiftedConfig);
    std::string error;
    EXPECT_FALSE(third.Start(&error));
    EXPECT_NE(error.find(std::to_string(sim::RESET_PORT + 16)), std::string::npos) << error;
}

TEST(NetworkSettings, BroadcastAndMulticastAddressesAreNotTaken) {
    auto rx = StartReceiver(FastConfig(Model::R40, HERE));
    for (const Ipv4 bad :
         {Ipv4{0, 0, 0, 0}, Ipv4{255, 255, 255, 255}, Ipv4{239, 1, 1, 1}, Ipv4{127, 0, 0, 255}}) {
        ASSERT_TRUE(Exchange(HERE, sim::NETWORK_PORT,
                             NetworkCommand({255, 255, 255, 255}, {255, 255, 255, 0},
                                            {127, 0, 0, 1}, 6516, bad, 6516, 0))
                        .has_value());
        ASSERT_TRUE(rx->WaitForNewStatuses(1, 1s));
        EXPECT_EQ(rx->Address(), HERE);
        EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(43)).has_value());
    }
}

TEST(CaTable, TheT22CaShowsItsValuesInTheHeadBlock) {
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(Model::T22CA, HERE));
    std::vector<sim::CaEntry> entries(16);
    entries[0] = {{10, 0, 0, 1}, 0xD204, 0x0500};
    entries[3] = {{10, 0, 0, 2}, 0x0000, 0x0B01};
    const auto command = sim::EncodeCaTableWrite(entries);
    ASSERT_EQ(command.size(), 130u);
    auto echo = Exchange(HERE, sim::TABLE_PORT, command);
    ASSERT_TRUE(echo.has_value());
    EXPECT_EQ(echo->bytes, command);
    const auto d = NextStatus(listener);
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(Word(d, 0), 0x0500);
    EXPECT_EQ(Word(d, 6), 0x0B01);
    for (std::size_t i : {1u, 2u, 4u, 15u}) EXPECT_EQ(Word(d, 2 * i), 0) << i;
    EXPECT_EQ(rx->CaValues()[3], 0x0B01);
    EXPECT_EQ(rx->State().caTable[0], entries[0]);
    // The PID table is a different thing.
    EXPECT_EQ(Exchange(HERE, sim::TABLE_PORT, TABLE_READ)->bytes,
              sim::EncodePidTableWrite(Model::T22CA, {}));
}

TEST(CaTable, OtherModelsEchoButIgnoreIt) {
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(Model::Trevan, HERE));
    const auto before = NextStatus(listener);
    std::vector<sim::CaEntry> entries{{{10, 0, 0, 1}, 1, 0x0500}};
    const auto command = sim::EncodeCaTableWrite(entries);
    EXPECT_EQ(Exchange(HERE, sim::TABLE_PORT, command)->bytes, command);
    EXPECT_EQ(NextStatus(listener), before);
    EXPECT_EQ(rx->CaValues()[0], 0);
}

TEST(MalformedCommands, AreEchoedButNotApplied) {
    StatusListener listener(6516);
    auto rx = StartReceiver(FastConfig(Model::R40, HERE));
    const auto before = NextStatus(listener);
    const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>> odd{
        {sim::TUNE_PORT, {0x00, 0x45, 0, 0, 0}},                   // 5 bytes
        {sim::TUNE_PORT, {0x00, 0x45, 0, 0, 0, 0, 0}},             // 7 bytes
        {sim::NETWORK_PORT, std::vector<std::uint8_t>(21, 0x7F)},  // a byte short
        {sim::TABLE_PORT,
         sim::EncodePidTableWrite(Model::R40V, std::vector{sim::PidEntry::Make(5, 1)})},
        {sim::TABLE_PORT, {0x00, 0x01, 0x00}},  // a read with a tail
        {sim::TABLE_PORT, {0x00, 0x09}},        // unknown command
        {sim::RESET_PORT, {0x4B, 0x2E, 0x90}},  // reset code cut short
        {sim::RESET_PORT, {0x4B, 0x2E, 0x90, 0x61, 0x00}},
    };
    for (const auto& [port, bytes] : odd) {
        auto echo = Exchange(HERE, port, bytes);
        ASSERT_TRUE(echo.has_value()) << "port " << port << ", " << bytes.size() << " bytes";
        EXPECT_EQ(echo->bytes, bytes);
    }
    EXPECT_EQ(NextStatus(listener), before);
    EXPECT_EQ(rx->ResetCount(), 0u);
    EXPECT_FALSE(rx->Restarting());
}

TEST(CommandRecord, HoldsTheExactBytesPortAndSource) {
    auto rx = StartReceiver(FastConfig(Model::R40V, HERE));
    const Ipv4 console{127, 0, 0, 5};
    const auto tune = AtscTune(7);
    const auto table =
        sim::EncodePidTableWrite(Model::R40V, std::vector{sim::PidEntry::Make(0x31, 1)});
    ASSERT_TRUE(Exchange(HERE, sim::TUNE_PORT, tune, 500ms, console).has_value());
    ASSERT_TRUE(Exchange(HERE, sim::TABLE_PORT, table, 500ms, console).has_value());
    ASSERT_TRUE(Exchange(HERE, sim::TABLE_PORT, TABLE_READ).has_value());

    const auto all = rx->Commands();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].port, sim::TUNE_PORT);
    EXPECT_EQ(all[0].bytes, tune);
    EXPECT_EQ(all[0].datagramSize, tune.size());
    EXPECT_EQ(all[0].source, console);
    EXPECT_NE(all[0].sourcePort, 0);
    EXPECT_EQ(all[1].bytes, table);
    EXPECT_EQ(all[2].bytes, TABLE_READ);
    EXPECT_EQ(all[2].source, (Ipv4{127, 0, 0, 1}));

    const auto onTable = rx->CommandsOnPort(sim::TABLE_PORT);
    ASSERT_EQ(onTable.size(), 2u);
    EXPECT_EQ(onTable[0].bytes, table);

    EXPECT_EQ(rx->TakeCommands().size(), 3u);
    EXPECT_TRUE(rx->Commands().empty());
    ASSERT_TRUE(SendOnly(HERE, sim::RESET_PORT, RESET_BYTES));
    EXPECT_TRUE(rx->WaitForCommands(1, 1s));
    rx->ClearCommands();
    EXPECT_TRUE(rx->Commands().empty());
}

TEST(CommandRecord, AnOversizeDatagramIsRecordedCutShortAndNotAnswered) {
    auto rx = StartReceiver(FastConfig(Model::R40, HERE));
    const std::vector<std::uint8_t> big(3000, 0xAB);
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, big, 200ms).has_value());
    const auto all = rx->Commands();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].datagramSize, 3000u);
    EXPECT_EQ(all[0].bytes.size(), sim::EmulatedReceiver::MAX_COMMAND_SIZE);
}

TEST(CommandRecord, KeepsOnlyTheNewestBeyondItsLimit) {
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.commandRecordLimit = 3;
    auto rx = StartReceiver(config);
    for (std::uint16_t channel = 1; channel <= 5; ++channel)
        ASSERT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(channel)).has_value());
    const auto all = rx->Commands();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all.front().bytes, AtscTune(3));
    EXPECT_EQ(all.back().bytes, AtscTune(5));
}

}  // namespace
