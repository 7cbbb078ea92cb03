// What the exporter knows of the receivers it hears: each one's last
// reading, its counters and the rhythm of its status, for at most a fixed
// number of receivers. Receivers the operator expects are in the table from
// the start, down until heard, and never forgotten. Times come from the
// caller, so tests can move them.
// One lock guards everything; no call holds it for more than one update or
// one copy of the table.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "devicelib/devicelib.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl::exporter {

using SteadyClock = std::chrono::steady_clock;
using SteadyTime = SteadyClock::time_point;
using Duration = SteadyClock::duration;

// A receiver is down once it has missed two intervals of its own rhythm;
// the grace absorbs scheduling and network jitter.
inline constexpr int DOWN_AFTER_INTERVALS = 2;
inline constexpr std::chrono::milliseconds JITTER_GRACE{250};
// Assumed until a receiver has been heard twice.
inline constexpr std::chrono::milliseconds DEFAULT_INTERVAL{1000};
// Copies of one emission (the broadcast and the unicast copy) arrive closer
// together than this; their gap is no interval.
inline constexpr std::chrono::milliseconds SAME_EMISSION{10};
// Recent gaps whose median is the rhythm.
inline constexpr std::size_t RHYTHM_SAMPLES = 8;

// A week: long enough that a receiver dead over a weekend still shows as
// down on Monday, and its alert has not resolved by itself.
inline constexpr std::chrono::seconds DEFAULT_FORGET_AFTER{7 * 24 * 3600};

struct TableLimits {
    std::size_t maxReceivers = 256;  // expected receivers included
    std::chrono::seconds forgetAfter = DEFAULT_FORGET_AFTER;
};

// The values of one accepted status; empty where the model reports none.
struct Reading {
    bool locked = false;
    bool dataActive = false;
    std::optional<double> snrDecibels;         // ATSC
    std::optional<double> carrierOffsetHertz;  // ATSC
    std::optional<double> signalRatio;         // satellite, 0 to 1
    std::optional<std::uint16_t> channel;      // ATSC
    std::optional<double> frequencyHertz;      // satellite
    std::optional<double> symbolRate;          // satellite, symbols per second
    std::size_t pids = 0;
};

// The interval between a receiver's status datagrams, learnt from the gaps
// between them: the median of the recent ones, so one late or lost datagram
// does not move it.
class Rhythm {
  public:
    void Heard(SteadyTime at);
    Duration Interval() const;
    // Whether it has missed two intervals by `now`.
    bool Missed(SteadyTime now) const;
    std::optional<SteadyTime> Last() const { return m_last; }
    // Heard in more than one emission: a receiver, not a single datagram.
    bool Settled() const { return m_gapCount > 0; }

  private:
    std::optional<SteadyTime> m_last;
    std::optional<SteadyTime> m_emission;  // the first datagram of the last emission
    std::array<Duration, RHYTHM_SAMPLES> m_gaps{};
    std::size_t m_gapCount = 0;
    std::size_t m_nextGap = 0;
};

// One receiver as a scrape shows it.
struct ReceiverView {
    Mac mac{};
    bool expected = false;  // named by the operator: kept however long it is silent
    bool heard = false;     // a status of it was accepted; else address, type, port are unknown
    Ipv4 address{};
    std::uint16_t type = TYPE_UNRECOGNISED;
    std::uint16_t statusPort = 0;  // where its status was heard
    bool up = false;
    Reading reading;
    std::uint64_t statusDatagrams = 0;
    std::uint64_t refusedDatagrams = 0;
    std::uint64_t lockLosses = 0;
    double lastStatusUnixSeconds = 0;
    double secondsSinceStatus = 0;
};

// Datagrams no tracked receiver answers for.
struct DroppedDatagrams {
    std::uint64_t unrecognised = 0;   // no status of a known model
    std::uint64_t foreignMac = 0;     // another maker's device
    std::uint64_t receiverLimit = 0;  // a new receiver while the table is full
    // A new receiver from a source address that has MAX_MACS_PER_SOURCE
    // tracked already (loopback sources excepted): a host claiming many
    // receivers' MAC addresses is spoofing them.
    std::uint64_t sourceLimit = 0;
};

struct TableSnapshot {
    std::vector<ReceiverView> receivers;  // in MAC address order
    std::uint64_t datagrams = 0;          // every datagram heard
    std::uint64_t accepted = 0;           // statuses that reached their receiver's entry
    DroppedDatagrams dropped;
    std::size_t receiverLimit = 0;
};

class ReceiverTable {
  public:
    // `expected`: receivers listed from the start (at most maxReceivers of
    // them; the caller checks).
    explicit ReceiverTable(TableLimits limits, const std::vector<Mac>& expected = {});

    // A status that decoded. `sender` holds its address, MAC address, type
    // and the port it was heard on; `unixSeconds` is the wall-clock time.
    void Accepted(const DeviceInfo& sender, const Reading& reading, SteadyTime now,
                  double unixSeconds);
    // A datagram that did not decode, with the library's result. It counts
    // for the receiver whose MAC address it carries, if that one is tracked.
    void Refused(const DeviceInfo& sender, std::int32_t result);

    // Every expected receiver and every other heard within the last
    // `forgetAfter`; older ones are forgotten here.
    TableSnapshot Snapshot(SteadyTime now);

  private:
    struct Entry {
        DeviceInfo sender{};
        Reading reading;
        Rhythm rhythm;
        std::uint64_t statusDatagrams = 0;
        std::uint64_t refusedDatagrams = 0;
        std::uint64_t lockLosses = 0;
        double lastStatusUnixSeconds = 0;
        bool expected = false;
        // Counted in m_perSource only once heard: an expected receiver has no
        // source address before.
        bool Heard() const { return statusDatagrams > 0; }
    };
    using Key = std::uint64_t;  // the six MAC bytes
    static Key KeyOf(const std::uint8_t* mac);
    static std::uint32_t SourceOf(const DeviceInfo& sender);
    // Expected receivers are never forgotten.
    void ForgetSilent(SteadyTime now);
    // A full table also lets go of entries heard in one emission only that
    // are down since: forged datagrams sent once must not hold places for
    // the forget time. Receivers heard twice never lose theirs.
    void ForgetUnsettled(SteadyTime now);
    void Erase(std::unordered_map<Key, Entry>::iterator entry);
    void Count(std::uint32_t source, int change);

    const TableLimits m_limits;
    std::mutex m_mutex;
    std::unordered_map<Key, Entry> m_entries;
    std::unordered_map<std::uint32_t, std::size_t> m_perSource;  // entries by source address
    std::uint64_t m_datagrams = 0;
    std::uint64_t m_accepted = 0;
    DroppedDatagrams m_dropped;
    SteadyTime m_nextForget{};
};

}  // namespace r40ctl::exporter
