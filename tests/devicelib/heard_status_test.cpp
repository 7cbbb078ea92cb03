// Status datagrams decoded without opening a device (DecodeStatusDatagram),
// as a program that watches many receivers hears them: the record must be
// the one an open device of the model gives, and whatever an open device
// would refuse is refused.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "devicelib/heard_status.h"
#include "sim/status_datagram.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

using Record = std::array<std::uint8_t, 256>;

constexpr sim::Model MODELS[] = {sim::Model::R40,   sim::Model::R40V,  sim::Model::T22V2,
                                 sim::Model::T22V3, sim::Model::T22CA, sim::Model::Trevan};

DeviceInfo HeardFrom(const sim::Ipv4& address, std::uint16_t port) {
    DeviceInfo sender{};
    std::memcpy(sender.address, address.data(), 4);
    sender.statusPort = port;
    return sender;
}

int32_t Decode(const std::vector<std::uint8_t>& datagram, DeviceInfo& sender, Record& record,
               std::size_t recordSize = sizeof(Record)) {
    return DecodeStatusDatagram(datagram.data(), datagram.size(), &sender, record.data(),
                                recordSize);
}

TEST(HeardStatus, DecodesAsAnOpenDeviceOfItsModelDoes) {
    int octet = 40;
    for (sim::Model model : MODELS) {
        SCOPED_TRACE(sim::TraitsOf(model).displayName);
        auto rx = StartReceiver(model, {127, 0, 0, static_cast<std::uint8_t>(octet++)});
        // A counter standing still keeps every datagram the same.
        rx->SetDataFlowing(false);
        rx->Modify([](sim::ReceiverState& s) {
            s.pids[0] = sim::PidEntry::Make(0x0030, 1);
            s.pids[1] = sim::PidEntry::Make(0x1234, 1);
            s.atsc.errorLevelA = 6553;
        });
        ASSERT_TRUE(rx->Settle());

        OpenedDevice device;
        ASSERT_NO_FATAL_FAILURE(Open(*rx, device));
        Record opened;
        opened.fill(0xA5);
        ASSERT_EQ(GetDeviceStatus(device.handle, opened.data()), 0);

        DeviceInfo sender = HeardFrom(rx->Address(), 8309);
        Record heard;
        heard.fill(0xA5);
        ASSERT_EQ(Decode(rx->LastStatusDatagram(), sender, heard), 0);
        EXPECT_EQ(heard, opened);
        EXPECT_EQ(sender.deviceType, TypeCodeOf(model));
        EXPECT_EQ(std::memcmp(sender.mac, rx->Mac().data(), 6), 0);
        EXPECT_EQ(sender.statusPort, 8309);
        EXPECT_EQ(std::memcmp(sender.address, rx->Address().data(), 4), 0);
        rx->Stop();
    }
}

TEST(HeardStatus, RefusesWhatAnOpenDeviceWouldRefuse) {
    const sim::Ipv4 source{127, 0, 0, 50};
    for (sim::Model model : MODELS) {
        SCOPED_TRACE(sim::TraitsOf(model).displayName);
        const sim::ReceiverState state = sim::DefaultState(model, source);
        const std::vector<std::uint8_t> whole = sim::BuildStatusDatagram(model, state);
        const std::uint16_t type = TypeCodeOf(model);
        const std::size_t recordSize = devicelib::StatusRecordSize(type);
        ASSERT_GT(recordSize, 0u);
        Record record{};

        DeviceInfo sender = HeardFrom(source, 6516);
        std::vector<std::uint8_t> longer = whole;
        longer.resize(whole.size() + 10, 0xEE);
        EXPECT_EQ(Decode(longer, sender, record), 0) << "a longer datagram counts with its start";

        std::vector<std::uint8_t> shorter(whole.begin(), whole.end() - 1);
        sender = HeardFrom(source, 6516);
        EXPECT_EQ(Decode(shorter, sender, record), RC_FAILED);
        EXPECT_EQ(sender.deviceType, type) << "the sender is still named";
        EXPECT_EQ(std::memcmp(sender.mac, state.mac.data(), 6), 0);

        sender = HeardFrom(source, 6516);
        EXPECT_EQ(Decode(whole, sender, record, recordSize - 1), RC_FAILED) << "record too small";
        EXPECT_EQ(Decode(whole, sender, record, recordSize), 0);

        sim::StatusOverrides foreign;
        foreign.foreignMacPrefix = true;
        sender = HeardFrom(source, 6516);
        EXPECT_EQ(Decode(sim::BuildStatusDatagram(model, state, foreign), sender, record),
                  ERR_FOREIGN_MAC);

        sim::StatusOverrides unknown;
        unknown.modelCode = 0x35;
        sender = HeardFrom(source, 6516);
        EXPECT_EQ(Decode(sim::BuildStatusDatagram(model, state, unknown), sender, record),
                  RC_FAILED);
        EXPECT_EQ(sender.deviceType, TYPE_UNRECOGNISED);
    }

    // Too short to name anyone: no MAC address is made up.
    DeviceInfo sender = HeardFrom(source, 6516);
    std::memset(sender.mac, 0x77, 6);
    Record record{};
    EXPECT_EQ(Decode(std::vector<std::uint8_t>(0x35, 0x02), sender, record), RC_FAILED);
    EXPECT_EQ(sender.deviceType, TYPE_UNRECOGNISED);
    EXPECT_EQ(std::memcmp(sender.mac, "\0\0\0\0\0\0", 6), 0);
    EXPECT_EQ(DecodeStatusDatagram(nullptr, 170, &sender, record.data(), record.size()), RC_FAILED);

    // Noise of every length never decodes, and never reads past its end
    // (the sanitizer builds watch that).
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::uint8_t> noise(random() % 400);
        for (auto& b : noise) b = static_cast<std::uint8_t>(random());
        sender = HeardFrom(source, 6516);
        EXPECT_NE(Decode(noise, sender, record), 0);
    }
}

}  // namespace
}  // namespace devicelib_test
