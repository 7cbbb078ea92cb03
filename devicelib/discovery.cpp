// Discovery listens on all ten status ports at once and lists one entry
// per MAC address heard, in the order heard, earlier ports first. Nothing
// is sent.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "devicelib/device_identifier.h"
#include "devicelib/discovery.h"
#include "platform/clock/clock.h"

namespace devicelib {
namespace {

bool MacListed(const DeviceList& list, const std::uint8_t* mac) {
    const int count = std::min<int>(list.count, MAX_DEVICES);
    for (int i = 0; i < count; ++i)
        if (std::memcmp(list.entries[i].mac, mac, 6) == 0) return true;
    return false;
}

// A receiver's address is the source of its datagrams, and one host is one
// receiver: a source claiming many MAC addresses is spoofing them (or is a
// handful of factory-fresh receivers that share their first address). Only
// a loopback source may list any number: it never crossed the network.
bool SourceHasItsShare(const DeviceList& list, const std::uint8_t* address) {
    if (address[0] == 127) return false;
    int listed = 0;
    for (int i = 0; i < list.count; ++i)
        listed += std::memcmp(list.entries[i].address, address, 4) == 0 ? 1 : 0;
    return listed >= MAX_MACS_PER_SOURCE;
}

// The newest entry the caller did not know (from `source` only, when one is
// given), which a known receiver may take the place of; -1 when none.
int NewestNewcomer(const DeviceList& list, const DeviceList& known,
                   const std::uint8_t* source = nullptr) {
    for (int i = list.count - 1; i >= 0; --i) {
        if (source != nullptr && std::memcmp(list.entries[i].address, source, 4) != 0) continue;
        if (!MacListed(known, list.entries[i].mac)) return i;
    }
    return -1;
}

void Remove(DeviceList& list, int index) {
    for (int i = index; i + 1 < list.count; ++i) list.entries[i] = list.entries[i + 1];
    --list.count;
}

// DiscoveryCounts is a packed record a caller may hold at any address: its
// members are reached through it, never through a pointer to a member.
template <class Counter>
void Count(Counter counter, const DiscoveryRules& rules) {
    if (rules.counts != nullptr) counter(*rules.counts);
}

}  // namespace

void Discover(DeviceList& list, const DiscoveryRules& rules) {
    list.count = 0;
    if (rules.counts != nullptr) *rules.counts = DiscoveryCounts{};
    std::array<std::unique_ptr<CDeviceIdentifier>, STATUS_PORT_COUNT> identifiers;
    for (int i = 0; i < STATUS_PORT_COUNT; ++i) {
        identifiers[i] = std::make_unique<CDeviceIdentifier>();
        identifiers[i]->SetStatusPort(STATUS_PORTS[i]);
        // A port that cannot be bound now is tried again at its first wait.
        identifiers[i]->OpenListener();
    }
    std::uint32_t lastAddition = 0;

    for (auto& identifier : identifiers) {
        for (;;) {
            if (list.count >= MAX_DEVICES && !rules.readOnWhenFull) break;
            const std::int32_t listening = identifier->SecondsListening();
            const bool young = listening == RC_NOT_LISTENING || listening == 0 || listening == 1;
            if (identifier->WaitRecognisedStatus(young ? 1000 : 1) != 0) break;

            DeviceInfo entry{};
            identifier->FillDeviceInfo(&entry);
            bool added = false;
            if (!MacListed(list, entry.mac)) {
                // Receivers already listed never lose their place to
                // newcomers: a known one heard late takes a newcomer's, of
                // its own source when that has its share, else of anyone.
                const bool known = rules.known != nullptr && MacListed(*rules.known, entry.mac);
                const bool shareTaken = SourceHasItsShare(list, entry.address);
                const bool full = list.count >= MAX_DEVICES;
                int newcomer = -1;
                if (known && (shareTaken || full))
                    newcomer =
                        NewestNewcomer(list, *rules.known, shareTaken ? entry.address : nullptr);
                if (newcomer >= 0) {
                    Remove(list, newcomer);
                    Count([](DiscoveryCounts& c) { ++c.displaced; }, rules);
                    added = true;
                } else if (shareTaken) {
                    Count([](DiscoveryCounts& c) { ++c.sourceLimit; }, rules);
                } else if (full) {
                    Count([](DiscoveryCounts& c) { ++c.listFull; }, rules);
                } else {
                    added = true;
                }
            }
            if (added) {
                list.entries[list.count] = entry;
                ++list.count;
                lastAddition = platform::clock::NowSeconds();
                continue;
            }
            // A device heard again (or one left out) more than a second
            // after the last new one means this port has nothing new to tell.
            if (platform::clock::NowSeconds() > lastAddition + 1) break;
        }
        identifier->CloseListener();
    }
}

}  // namespace devicelib
