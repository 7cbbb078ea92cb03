// The exporter's receiver table on a clock the test moves: when a receiver
// counts as down, what a lock loss is, how many receivers it keeps and
// which datagrams count where; and the listening address it takes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "tools/r40ctl/exporter/metrics_text.h"
#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl::exporter {
namespace {

using namespace std::chrono_literals;

const SteadyTime T0{std::chrono::hours(1000)};

DeviceInfo Sender(int n, std::uint16_t type = TYPE_R40) {
    DeviceInfo sender{};
    const std::uint8_t mac[6] = {0x02, 0x5C, 0xC1, 0x00, 0x00, static_cast<std::uint8_t>(n)};
    std::memcpy(sender.mac, mac, 6);
    const std::uint8_t address[4] = {10, 0, 0, static_cast<std::uint8_t>(n)};
    std::memcpy(sender.address, address, 4);
    sender.statusPort = 6516;
    sender.deviceType = type;
    return sender;
}

Reading Locked(bool locked) {
    Reading reading;
    reading.locked = locked;
    reading.snrDecibels = 20.5;
    return reading;
}

// A copy: the snapshot is often a temporary. value() of none throws, which
// fails the test.
std::optional<ReceiverView> Find(const TableSnapshot& snapshot, int n) {
    for (const ReceiverView& r : snapshot.receivers)
        if (r.mac[5] == n) return r;
    return std::nullopt;
}

TEST(ExporterTable, DownAfterTwoIntervalsOfItsOwnRhythm) {
    ReceiverTable table({});
    // Every 400 ms, each emission with a second copy 1 ms later (the
    // unicast copy): copies must not halve the rhythm.
    for (int i = 0; i < 10; ++i) {
        table.Accepted(Sender(1), Locked(true), T0 + i * 400ms, 0);
        table.Accepted(Sender(1), Locked(true), T0 + i * 400ms + 1ms, 0);
    }
    const SteadyTime last = T0 + 9 * 400ms + 1ms;
    EXPECT_TRUE(Find(table.Snapshot(last + 800ms + JITTER_GRACE), 1).value().up);
    const std::optional<ReceiverView> down =
        Find(table.Snapshot(last + 800ms + JITTER_GRACE + 1ms), 1);
    ASSERT_TRUE(down) << "a receiver that is down is still listed";
    EXPECT_FALSE(down->up);
    EXPECT_EQ(down->statusDatagrams, 20u);

    // One late datagram does not stretch the rhythm.
    table.Accepted(Sender(1), Locked(true), last + 3000ms, 0);
    table.Accepted(Sender(1), Locked(true), last + 3400ms, 0);
    EXPECT_FALSE(Find(table.Snapshot(last + 3400ms + 800ms + JITTER_GRACE + 1ms), 1).value().up);

    // Heard once: an interval of a second is assumed.
    table.Accepted(Sender(2), Locked(true), T0, 0);
    EXPECT_TRUE(Find(table.Snapshot(T0 + 2 * DEFAULT_INTERVAL + JITTER_GRACE), 2).value().up);
    EXPECT_FALSE(
        Find(table.Snapshot(T0 + 2 * DEFAULT_INTERVAL + JITTER_GRACE + 1ms), 2).value().up);
}

TEST(ExporterTable, CountsEachLockLossOnce) {
    ReceiverTable table({});
    SteadyTime t = T0;
    // Two losses, one regain: only the losses count.
    for (bool locked : {true, true, false, false, true, false, false})
        table.Accepted(Sender(1), Locked(locked), t += 100ms, 0);
    EXPECT_EQ(Find(table.Snapshot(t), 1).value().lockLosses, 2u);
    // A receiver first heard unlocked has lost nothing yet.
    table.Accepted(Sender(2), Locked(false), t, 0);
    EXPECT_EQ(Find(table.Snapshot(t), 2).value().lockLosses, 0u);
}

TEST(ExporterTable, KeepsAtMostItsLimitAndForgetsTheLongSilent) {
    TableLimits limits;
    limits.maxReceivers = 4;
    limits.forgetAfter = 60s;
    ReceiverTable table(limits);
    for (int n = 1; n <= 6; ++n) table.Accepted(Sender(n), Locked(true), T0, 0);
    for (int n = 1; n <= 6; ++n) table.Accepted(Sender(n), Locked(true), T0 + 1s, 0);
    TableSnapshot snapshot = table.Snapshot(T0 + 1s);
    ASSERT_EQ(snapshot.receivers.size(), 4u);
    EXPECT_EQ(snapshot.receivers[0].mac[5], 1) << "in MAC order, the first four heard";
    EXPECT_EQ(snapshot.receivers[3].mac[5], 4);
    EXPECT_EQ(snapshot.dropped.receiverLimit, 4u);
    EXPECT_EQ(snapshot.datagrams, 12u);

    // Receiver 1 keeps talking; the others fall silent for longer than
    // forgetAfter and make room for newcomers.
    table.Accepted(Sender(1), Locked(true), T0 + 60s, 0);
    table.Accepted(Sender(7), Locked(true), T0 + 62s, 0);
    table.Accepted(Sender(8), Locked(true), T0 + 62s, 0);
    snapshot = table.Snapshot(T0 + 62s);
    ASSERT_EQ(snapshot.receivers.size(), 3u);
    EXPECT_TRUE(Find(snapshot, 1));
    EXPECT_TRUE(Find(snapshot, 7));
    EXPECT_TRUE(Find(snapshot, 8));
    EXPECT_FALSE(Find(snapshot, 2));
}

// Spoofed receivers cannot push real ones out: one address claims at most
// MAX_MACS_PER_SOURCE (loopback any number); a full table lets forged
// one-off datagrams go once they are down, never a receiver heard twice.
TEST(ExporterTable, SpoofedReceiversCannotLockRealOnesOut) {
    TableLimits limits;
    limits.maxReceivers = 8;
    ReceiverTable table(limits);
    auto from = [](int n, std::initializer_list<std::uint8_t> address) {
        DeviceInfo sender = Sender(n);
        std::copy(address.begin(), address.end(), sender.address);
        return sender;
    };
    for (int n = 1; n <= 10; ++n) table.Accepted(from(n, {10, 9, 9, 9}), Locked(true), T0, 0);
    for (int n = 11; n <= 13; ++n) table.Accepted(from(n, {127, 0, 0, 1}), Locked(true), T0, 0);
    TableSnapshot snapshot = table.Snapshot(T0);
    EXPECT_EQ(snapshot.receivers.size(), 4u + 3u);
    EXPECT_EQ(snapshot.dropped.sourceLimit, 6u);
    EXPECT_FALSE(Find(snapshot, 5)) << "the fifth MAC address of one host";
    // A receiver the table has keeps its place when it moves to a crowded
    // address.
    table.Accepted(from(11, {10, 9, 9, 9}), Locked(true), T0 + 100ms, 0);
    EXPECT_TRUE(Find(table.Snapshot(T0 + 100ms), 11));

    // Receiver 20 is heard twice (settled); forged ones once each fill the
    // table. Once those are down, a newcomer gets in; 20 stays.
    ReceiverTable full(limits);
    full.Accepted(Sender(20), Locked(true), T0, 0);
    full.Accepted(Sender(20), Locked(true), T0 + 1s, 0);
    for (int n = 30; n < 37; ++n) full.Accepted(Sender(n), Locked(true), T0 + 1s, 0);
    full.Accepted(Sender(40), Locked(true), T0 + 1s, 0);
    EXPECT_EQ(full.Snapshot(T0 + 1s).dropped.receiverLimit, 1u);
    for (int second = 2; second < 6; ++second)
        full.Accepted(Sender(20), Locked(true), T0 + std::chrono::seconds(second), 0);
    full.Accepted(Sender(40), Locked(true), T0 + 5s, 0);
    snapshot = full.Snapshot(T0 + 5s);
    EXPECT_TRUE(Find(snapshot, 40)) << "locked out by forged one-off datagrams";
    EXPECT_TRUE(Find(snapshot, 20));
    EXPECT_FALSE(Find(snapshot, 30));
}

TEST(ExporterTable, RefusedDatagramsCountForTheirReceiverOrAsDropped) {
    ReceiverTable table({});
    table.Accepted(Sender(1), Locked(true), T0, 0);
    table.Refused(Sender(1), RC_FAILED);
    table.Refused(Sender(1), RC_FAILED);
    table.Refused(Sender(9), RC_FAILED);
    table.Refused(Sender(9), ERR_FOREIGN_MAC);
    DeviceInfo nobody{};  // too short to carry a MAC address
    table.Refused(nobody, RC_FAILED);
    const TableSnapshot snapshot = table.Snapshot(T0);
    ASSERT_EQ(snapshot.receivers.size(), 1u) << "refused datagrams make no receiver";
    EXPECT_EQ(snapshot.receivers[0].refusedDatagrams, 2u);
    EXPECT_EQ(snapshot.receivers[0].statusDatagrams, 1u);
    EXPECT_EQ(snapshot.dropped.unrecognised, 2u);
    EXPECT_EQ(snapshot.dropped.foreignMac, 1u);
    EXPECT_EQ(snapshot.datagrams, 6u);
}

TEST(ExporterText, ReadingsOfAReceiverThatIsDownAreLeftOut) {
    ReceiverTable table({});
    table.Accepted(Sender(1), Locked(true), T0, 1700000000.25);
    const std::string up = MetricsText(table.Snapshot(T0), 10);
    EXPECT_NE(up.find("r40_receiver_locked{mac=\"02-5C-C1-00-00-01\"} 1\n"), std::string::npos)
        << up;
    EXPECT_NE(up.find("r40_receiver_snr_decibels{mac=\"02-5C-C1-00-00-01\"} 20.5\n"),
              std::string::npos);
    const std::string down = MetricsText(table.Snapshot(T0 + 10s), 10);
    EXPECT_EQ(down.find("r40_receiver_locked{"), std::string::npos) << down;
    EXPECT_EQ(down.find("r40_receiver_snr_decibels{"), std::string::npos);
    EXPECT_NE(down.find("r40_receiver_up{mac=\"02-5C-C1-00-00-01\"} 0\n"), std::string::npos);
    EXPECT_NE(down.find("r40_receiver_last_status_timestamp_seconds{mac=\"02-5C-C1-00-00-01\"} "
                        "1700000000.25\n"),
              std::string::npos);
}

TEST(ExporterText, ValuesAndLabelsAsTheFormatWantsThem) {
    EXPECT_EQ(SampleValue(std::numeric_limits<double>::infinity()), "+Inf");
    EXPECT_EQ(SampleValue(-std::numeric_limits<double>::infinity()), "-Inf");
    EXPECT_EQ(SampleValue(std::nan("")), "NaN");
    EXPECT_EQ(SampleValue(1234500000.0), "1234500000");
    EXPECT_EQ(SampleValue(static_cast<double>(13.2f)), "13.2");
    EXPECT_EQ(SampleValue(0.85), "0.85");
    EXPECT_EQ(EscapeLabelValue("a\"b\\c\nd"), "a\\\"b\\\\c\\nd");
    // HELP escapes backslash and line feed only: a quote stays.
    EXPECT_EQ(EscapeHelp("a\"b\\c\nd"), "a\"b\\\\c\\nd");
    EXPECT_EQ(EscapeHelp("C:\\n"), "C:\\\\n") << "a backslash before n is no line feed";
}

TEST(ExporterListen, AddressAndPort) {
    const auto any = ParseListenAddress(":9771");
    ASSERT_TRUE(any);
    EXPECT_EQ(any->host, "0.0.0.0");
    EXPECT_EQ(any->port, 9771);
    const auto v6 = ParseListenAddress("[::1]:0");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "::1");
    EXPECT_EQ(v6->port, 0);
    EXPECT_EQ(ParseListenAddress("127.0.0.1:80")->host, "127.0.0.1");
    // Names, resolved when bound.
    for (const char* name : {"localhost", "monitoring-1.headend.example", "host.", "a1"}) {
        const auto named = ParseListenAddress(std::string(name) + ":9771");
        ASSERT_TRUE(named) << name;
        EXPECT_EQ(named->host, name);
    }
    for (const char* bad : {"9771",           "127.0.0.1",     "127.0.0.1:", "127.0.0.1:65536",
                            "127.0.0.1:0x50", "::1:9771",      "[::1:9771",  "[nonsense]:1",
                            "127.0.0.256:1",  "127.0.0.1:+80", "127.1:80",   "10.0:80",
                            "-host:80",       "host-:80",      "a..b:80",    "host_name:80",
                            "host/x:80",      " host:80",      ".:80",       "h\n:80"})
        EXPECT_FALSE(ParseListenAddress(bad)) << bad;
    EXPECT_FALSE(IsHostName(std::string(64, 'a')));
    EXPECT_TRUE(IsHostName(std::string(63, 'a')));
    std::string long_name;
    while (long_name.size() < 254) long_name += "abcdefghi.";
    EXPECT_FALSE(IsHostName(long_name));
}

}  // namespace
}  // namespace r40ctl::exporter
