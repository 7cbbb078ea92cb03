#include "tools/r40ctl/exporter/receiver_table.h"

#include <algorithm>
#include <cstring>

namespace r40ctl::exporter {

// ---- rhythm ----------------------------------------------------------------

void Rhythm::Heard(SteadyTime at) {
    // Gaps run from emission to emission; copies of one only make it later.
    if (!m_emission || at - *m_emission >= SAME_EMISSION) {
        if (m_emission && at > *m_emission) {
            m_gaps[m_nextGap] = at - *m_emission;
            m_nextGap = (m_nextGap + 1) % m_gaps.size();
            m_gapCount = std::min(m_gapCount + 1, m_gaps.size());
        }
        m_emission = at;
    }
    if (!m_last || at > *m_last) m_last = at;
}

Duration Rhythm::Interval() const {
    if (m_gapCount == 0) return DEFAULT_INTERVAL;
    std::array<Duration, RHYTHM_SAMPLES> gaps = m_gaps;
    const auto middle = gaps.begin() + static_cast<std::ptrdiff_t>(m_gapCount / 2);
    std::nth_element(gaps.begin(), middle, gaps.begin() + static_cast<std::ptrdiff_t>(m_gapCount));
    return *middle;
}

bool Rhythm::Missed(SteadyTime now) const {
    if (!m_last) return true;
    return now - *m_last > DOWN_AFTER_INTERVALS * Interval() + JITTER_GRACE;
}

// ---- table -----------------------------------------------------------------

ReceiverTable::ReceiverTable(TableLimits limits, const std::vector<Mac>& expected)
    : m_limits(limits) {
    m_entries.reserve(limits.maxReceivers);
    for (const Mac& mac : expected) {
        Entry& entry = m_entries[KeyOf(mac.data())];
        std::memcpy(entry.sender.mac, mac.data(), mac.size());
        entry.sender.deviceType = TYPE_UNRECOGNISED;
        entry.expected = true;
    }
}

ReceiverTable::Key ReceiverTable::KeyOf(const std::uint8_t* mac) {
    Key key = 0;
    for (int i = 0; i < 6; ++i) key = (key << 8) | mac[i];
    return key;
}

std::uint32_t ReceiverTable::SourceOf(const DeviceInfo& sender) {
    return (std::uint32_t{sender.address[0]} << 24) | (std::uint32_t{sender.address[1]} << 16) |
           (std::uint32_t{sender.address[2]} << 8) | sender.address[3];
}

void ReceiverTable::Count(std::uint32_t source, int change) {
    std::size_t& count = m_perSource[source];
    count = change > 0 ? count + 1 : count - 1;
    if (count == 0) m_perSource.erase(source);
}

void ReceiverTable::Erase(std::unordered_map<Key, Entry>::iterator entry) {
    if (entry->second.Heard()) Count(SourceOf(entry->second.sender), -1);
    m_entries.erase(entry);
}

void ReceiverTable::ForgetSilent(SteadyTime now) {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const std::optional<SteadyTime> last = it->second.rhythm.Last();
        if (!it->second.expected && (!last || now - *last > m_limits.forgetAfter))
            Erase(it++);
        else
            ++it;
    }
}

void ReceiverTable::ForgetUnsettled(SteadyTime now) {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const Rhythm& rhythm = it->second.rhythm;
        if (!it->second.expected && !rhythm.Settled() && rhythm.Missed(now))
            Erase(it++);
        else
            ++it;
    }
}

void ReceiverTable::Accepted(const DeviceInfo& sender, const Reading& reading, SteadyTime now,
                             double unixSeconds) {
    const std::lock_guard lock(m_mutex);
    ++m_datagrams;
    const Key key = KeyOf(sender.mac);
    const std::uint32_t source = SourceOf(sender);
    auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        const auto share = m_perSource.find(source);
        if (sender.address[0] != 127 && share != m_perSource.end() &&
            share->second >= MAX_MACS_PER_SOURCE) {
            ++m_dropped.sourceLimit;
            return;
        }
        // A full table makes room by forgetting the long silent and the
        // unsettled that went down, and looks for them at most once a second,
        // however many newcomers knock.
        if (m_entries.size() >= m_limits.maxReceivers && now >= m_nextForget) {
            ForgetSilent(now);
            ForgetUnsettled(now);
            m_nextForget = now + std::chrono::seconds(1);
        }
        if (m_entries.size() >= m_limits.maxReceivers) {
            ++m_dropped.receiverLimit;
            return;
        }
        found = m_entries.emplace(key, Entry{}).first;
        found->second.sender = sender;
        Count(source, +1);
    } else if (!found->second.Heard()) {
        Count(source, +1);  // an expected receiver, heard for the first time
    } else if (SourceOf(found->second.sender) != source) {
        Count(SourceOf(found->second.sender), -1);  // it moved
        Count(source, +1);
    }
    ++m_accepted;
    Entry& entry = found->second;
    if (entry.statusDatagrams > 0 && entry.reading.locked && !reading.locked) ++entry.lockLosses;
    entry.sender = sender;
    entry.reading = reading;
    entry.rhythm.Heard(now);
    ++entry.statusDatagrams;
    entry.lastStatusUnixSeconds = unixSeconds;
}

void ReceiverTable::Refused(const DeviceInfo& sender, std::int32_t result) {
    const std::lock_guard lock(m_mutex);
    ++m_datagrams;
    static constexpr std::uint8_t NO_MAC[6] = {};
    if (std::memcmp(sender.mac, NO_MAC, sizeof NO_MAC) != 0) {
        const auto found = m_entries.find(KeyOf(sender.mac));
        if (found != m_entries.end()) {
            ++found->second.refusedDatagrams;
            return;
        }
    }
    if (result == ERR_FOREIGN_MAC)
        ++m_dropped.foreignMac;
    else
        ++m_dropped.unrecognised;
}

TableSnapshot ReceiverTable::Snapshot(SteadyTime now) {
    TableSnapshot snapshot;
    {
        const std::lock_guard lock(m_mutex);
        ForgetSilent(now);
        snapshot.datagrams = m_datagrams;
        snapshot.accepted = m_accepted;
        snapshot.dropped = m_dropped;
        snapshot.receiverLimit = m_limits.maxReceivers;
        snapshot.receivers.reserve(m_entries.size());
        for (const auto& [key, entry] : m_entries) {
            ReceiverView view;
            std::memcpy(view.mac.data(), entry.sender.mac, 6);
            view.expected = entry.expected;
            view.heard = entry.Heard();
            std::memcpy(view.address.data(), entry.sender.address, 4);
            view.type = entry.sender.deviceType;
            view.statusPort = entry.sender.statusPort;
            view.up = !entry.rhythm.Missed(now);
            view.reading = entry.reading;
            view.statusDatagrams = entry.statusDatagrams;
            view.refusedDatagrams = entry.refusedDatagrams;
            view.lockLosses = entry.lockLosses;
            view.lastStatusUnixSeconds = entry.lastStatusUnixSeconds;
            view.secondsSinceStatus =
                std::chrono::duration<double>(now - entry.rhythm.Last().value_or(now)).count();
            snapshot.receivers.push_back(view);
        }
    }
    std::sort(snapshot.receivers.begin(), snapshot.receivers.end(),
              [](const ReceiverView& a, const ReceiverView& b) { return a.mac < b.mac; });
    return snapshot;
}

}  // namespace r40ctl::exporter
