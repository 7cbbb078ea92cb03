// Status datagrams shorter than the model's, from the device's own address
// with its model code and MAC address, between its full ones. A short one
// must never reach the status record: what it lacks would be read from the
// datagram before, whose words are already converted.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <span>

#include "devicelib/device_models.h"
#include "sim/status_datagram.h"
#include "tests/devicelib/datagram_transmitter.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

using Record = std::array<std::uint8_t, 256>;

constexpr sim::Model MODELS[] = {sim::Model::R40,   sim::Model::R40V,  sim::Model::T22V2,
                                 sim::Model::T22V3, sim::Model::T22CA, sim::Model::Trevan};

// A few PIDs with control bits, so that swapped words show in the list.
void GivePids(sim::ReceiverState& state) {
    state.pids[0] = sim::PidEntry::Make(0x0030, 1);
    state.pids[1] = sim::PidEntry::Make(0x0031, 1);
    state.pids[2] = sim::PidEntry::Make(0x1234, 1);
}

// The offset of the first byte that differs, or -1.
int FirstDifference(const Record& a, const Record& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<int>(i);
    return -1;
}

TEST(ShortStatus, IsSkippedByEveryModelAndLeavesTheRecordAsItWas) {
    for (sim::Model model : MODELS) {
        SCOPED_TRACE(sim::TraitsOf(model).displayName);
        sim::ReceiverConfig config = sim::ReceiverConfig::For(model, {127, 0, 0, 80});
        GivePids(config.initial);
        const sim::EmulatedReceiver rx(config);  // never started: only its identity is used
        const std::vector<std::uint8_t> full = sim::BuildStatusDatagram(model, config.initial);

        std::unique_ptr<devicelib::COrvelDevice> device = devicelib::MakeDevice(TypeCodeOf(model));
        ASSERT_EQ(device->Attach(InfoFor(rx)), RC_ATTACHED);
        device->SetSourceFilter(true);
        const devicelib::Ipv4 source = rx.Address();
        ASSERT_EQ(device->TakeStatusDatagram(full, source), devicelib::StatusIntake::Accepted);
        Record reference{};
        ASSERT_EQ(device->GetStatusRecord(reference.data()), 0);

        // Cut inside the channel or symbol rate, the signal words, the PID
        // table and the DVB MAC address, and one byte short.
        for (std::size_t length : {std::size_t{0x36}, std::size_t{0x3B}, std::size_t{0x41},
                                   std::size_t{0x65}, full.size() - 1}) {
            SCOPED_TRACE(length);
            const auto cut = std::span(full).first(length);
            EXPECT_EQ(device->TakeStatusDatagram(cut, source), devicelib::StatusIntake::Skipped);
            Record record{};
            ASSERT_EQ(device->GetStatusRecord(record.data()), 0);
            EXPECT_EQ(FirstDifference(record, reference), -1);
            ASSERT_EQ(device->TakeStatusDatagram(full, source), devicelib::StatusIntake::Accepted);
        }
        // A longer datagram is still taken with its first bytes.
        std::vector<std::uint8_t> longer = full;
        longer.resize(full.size() + 9, 0x5A);
        EXPECT_EQ(device->TakeStatusDatagram(longer, source), devicelib::StatusIntake::Accepted);
        Record record{};
        ASSERT_EQ(device->GetStatusRecord(record.data()), 0);
        EXPECT_EQ(FirstDifference(record, reference), -1);
    }
}

TEST(ShortStatus, SpoofedShortDatagramsNeverReachThePolledRecord) {
    sim::ReceiverConfig config = ConfigFor(sim::Model::R40, {127, 0, 0, 81});
    config.statusInterval = 20ms;
    GivePids(config.initial);
    sim::EmulatedReceiver rx(config);
    std::string error;
    ASSERT_TRUE(rx.Start(&error)) << error;
    OpenedDevice device;
    Open(rx, device);
    R40StatusRecord reference{};
    ASSERT_TRUE(Succeeded(GetDeviceStatus(device.handle, &reference)));
    ASSERT_EQ(reference.channel, 30);
    ASSERT_EQ(reference.pids.count, 3);

    // Cut copies of its own datagram, from its own address, in between.
    const std::vector<std::uint8_t> full = rx.LastStatusDatagram();
    ASSERT_EQ(full.size(), 138u);
    Transmitter beforeChannel(rx.Address(), 6516, {full.begin(), full.begin() + 0x3A});
    Transmitter inPidTable(rx.Address(), 6516, {full.begin(), full.begin() + 0x70});
    for (int poll = 0; poll < 25; ++poll) {
        SCOPED_TRACE(poll);
        R40StatusRecord record{};
        ASSERT_EQ(GetDeviceStatus(device.handle, &record), 0)
            << "a short datagram is skipped, not the end of the wait";
        EXPECT_EQ(record.channel, reference.channel);
        EXPECT_EQ(record.snr, reference.snr);
        EXPECT_EQ(record.carrierOffset, reference.carrierOffset);
        EXPECT_EQ(std::memcmp(&record.pids, &reference.pids, sizeof record.pids), 0);
        EXPECT_EQ(std::memcmp(record.dvbMac, reference.dvbMac, 6), 0);
    }
}

}  // namespace
}  // namespace devicelib_test
