// The exporter's receiver table on a clock the test moves: when a receiver
// counts as down, what a lock loss is, how many receivers it keeps, which
// datagrams count where and how expected receivers are kept; and what it
// takes on its command line and in its expect file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tests/tools/table_senders.h"
#include "tools/r40ctl/exporter/expected_receivers.h"
#include "tools/r40ctl/exporter/metrics_text.h"
#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl::exporter {
namespace {

using namespace std::chrono_literals;

const SteadyTime T0{std::chrono::hours(1000)};

using table_test::Locked;
using table_test::Sender;

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
    EXPECT_EQ(snapshot.accepted, 8u) << "a newcomer beyond the limit is not accepted";

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
    EXPECT_EQ(snapshot.accepted, 1u);
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

// Expected receivers are listed, down, from the start and stay however long
// they are silent; others go after forgetAfter. Heard, an expected one is
// like any other.
TEST(ExporterTable, KeepsExpectedReceiversForEver) {
    TableLimits limits;
    limits.maxReceivers = 6;
    limits.forgetAfter = 60s;
    const Mac heardLater{0x02, 0x5C, 0xC1, 0x00, 0x00, 1};
    const Mac neverHeard{0x02, 0x5C, 0xC1, 0x00, 0x00, 2};
    ReceiverTable table(limits, {heardLater, neverHeard});
    TableSnapshot snapshot = table.Snapshot(T0);
    ASSERT_EQ(snapshot.receivers.size(), 2u);
    for (const ReceiverView& r : snapshot.receivers) {
        EXPECT_TRUE(r.expected);
        EXPECT_FALSE(r.heard);
        EXPECT_FALSE(r.up);
    }
    std::string text = MetricsText(snapshot, 10);
    EXPECT_NE(text.find("r40_receiver_info{mac=\"02-5C-C1-00-00-02\"} 1\n"), std::string::npos)
        << "no address or model before it is heard:\n"
        << text;
    EXPECT_NE(text.find("r40_receiver_up{mac=\"02-5C-C1-00-00-02\"} 0\n"), std::string::npos);
    EXPECT_EQ(text.find("r40_receiver_last_status_timestamp_seconds{"), std::string::npos)
        << "never heard is no time in 1970";

    // One address claims its share (and one more); another newcomer finds
    // the table full: the expected ones hold their places.
    for (int n = 10; n <= 10 + MAX_MACS_PER_SOURCE; ++n) {
        DeviceInfo crowd = Sender(n);
        crowd.address[3] = 1;
        table.Accepted(crowd, Locked(true), T0, 0);
    }
    table.Accepted(Sender(20), Locked(true), T0, 0);
    snapshot = table.Snapshot(T0);
    EXPECT_EQ(snapshot.dropped.sourceLimit, 1u);
    EXPECT_EQ(snapshot.dropped.receiverLimit, 1u);
    // Receiver 1 talks from that crowded address: its place is its own.
    table.Accepted(Sender(1), Locked(true), T0 + 1s, 1700000000);
    table.Accepted(Sender(1), Locked(true), T0 + 2s, 1700000001);
    const std::optional<ReceiverView> heard = Find(table.Snapshot(T0 + 2s), 1);
    ASSERT_TRUE(heard);
    EXPECT_TRUE(heard->heard && heard->up && heard->expected);
    EXPECT_EQ(heard->address[3], 1);
    text = MetricsText(table.Snapshot(T0 + 2s), 10);
    EXPECT_NE(text.find("r40_receiver_info{mac=\"02-5C-C1-00-00-01\",address=\"10.0.0.1\","
                        "model=\"R40\",status_port=\"6516\"} 1\n"),
              std::string::npos)
        << text;

    // A year of silence: the expected two stay, with what was last known.
    snapshot = table.Snapshot(T0 + std::chrono::hours(24 * 365));
    ASSERT_EQ(snapshot.receivers.size(), 2u);
    EXPECT_FALSE(snapshot.receivers[0].up);
    EXPECT_TRUE(snapshot.receivers[0].heard);
    EXPECT_EQ(snapshot.receivers[0].address[3], 1);
    EXPECT_FALSE(snapshot.receivers[1].heard);
    // Forgetting the others gave their source its share back.
    DeviceInfo newcomer = Sender(30);
    newcomer.address[3] = 1;
    table.Accepted(newcomer, Locked(true), T0 + std::chrono::hours(24 * 365), 0);
    EXPECT_TRUE(Find(table.Snapshot(T0 + std::chrono::hours(24 * 365)), 30));
}

TEST(ExporterExpect, AddressesFromOptionsAndFiles) {
    std::vector<Mac> macs;
    std::string why;
    ASSERT_TRUE(AddExpected("02:5c:c1:00:00:14", macs, &why)) << why;
    ASSERT_TRUE(
        AddExpectedLines("# head-end rack 1\n"
                         "02-5C-C1-00-00-15  # left\r\n"
                         "\n"
                         "   025cc1000016\t\n"
                         "02-5C-C1-00-00-14\n"  // again: once is enough
                         "025c.c100.0017",      // no line feed at the end
                         macs, &why))
        << why;
    ASSERT_EQ(macs.size(), 4u);
    for (std::size_t i = 0; i < macs.size(); ++i)
        EXPECT_EQ(FormatMac(macs[i].data()), "02-5C-C1-00-00-1" + std::to_string(4 + i));

    const struct {
        const char* text;
        const char* why;  // a piece of the reason
    } bad[] = {
        {"02-5C-C1-00-00-18\n\nnonsense\n", "line 3: not a MAC address: nonsense"},
        {"00-11-22-33-44-55", "line 1: 00-11-22-33-44-55 is no receiver's"},
        {"02-5C-C1-00-00 # short\n", "line 1: not a MAC address"},
        {"02-5C-C1-00-00-19 02-5C-C1-00-00-1A", "line 1: not a MAC address"},
    };
    for (const auto& b : bad) {
        why.clear();
        EXPECT_FALSE(AddExpectedLines(b.text, macs, &why)) << b.text;
        EXPECT_NE(why.find(b.why), std::string::npos) << why;
    }

    // From disk, and a file too big to be a list of receivers.
    const std::string path = ::testing::TempDir() + "expected-receivers";
    { std::ofstream(path) << "02-5C-C1-00-01-00\n# spare\n02-5C-C1-00-01-01\n"; }
    std::vector<Mac> fromFile;
    ASSERT_TRUE(AddExpectedFile(path, fromFile, &why)) << why;
    EXPECT_EQ(fromFile.size(), 2u);
    {
        std::ofstream big(path);
        for (std::size_t n = 0; n <= MOST_EXPECT_FILE_BYTES / 18; ++n) big << "02-5C-C1-00-01-00\n";
    }
    EXPECT_FALSE(AddExpectedFile(path, fromFile, &why));
    EXPECT_NE(why.find("longer than"), std::string::npos) << why;
    std::remove(path.c_str());
    EXPECT_FALSE(AddExpectedFile(path, fromFile, &why));
    EXPECT_NE(why.find("No such file"), std::string::npos) << why;
}

TEST(ExporterForget, Durations) {
    const struct {
        const char* text;
        long seconds;  // -1: refused
    } cases[] = {{"90", 90},         {"90s", 90},
                 {"30m", 1800},      {"12h", 43200},
                 {"7d", 604800},     {"0", 0},
                 {"", -1},           {"d", -1},
                 {"7 d", -1},        {"-1", -1},
                 {"1.5h", -1},       {"7w", -1},
                 {"1000000000", -1}, {"999999999d", 999999999L * 86400}};
    for (const auto& c : cases) {
        const auto parsed = ParseDuration(c.text);
        if (c.seconds < 0)
            EXPECT_FALSE(parsed) << c.text;
        else
            EXPECT_EQ(parsed.value_or(std::chrono::seconds(-1)).count(), c.seconds) << c.text;
    }
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
