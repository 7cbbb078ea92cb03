// Discovery listens on all ten status ports at once and lists one entry
// per MAC address heard, in the order heard, earlier ports first. Nothing
// is sent.
#include <array>
#include <cstring>
#include <memory>

#include "devicelib/device_identifier.h"
#include "devicelib/discovery.h"
#include "platform/clock/clock.h"

namespace devicelib {
namespace {

bool MacListed(const DeviceList& list, const std::uint8_t* mac) {
    for (int i = 0; i < list.count; ++i)
        if (std::memcmp(list.entries[i].mac, mac, 6) == 0) return true;
    return false;
}

}  // namespace

void Discover(DeviceList& list) {
    list.count = 0;
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
            if (list.count >= MAX_DEVICES) break;
            const std::int32_t listening = identifier->SecondsListening();
            const bool young = listening == RC_NOT_LISTENING || listening == 0 || listening == 1;
            if (identifier->WaitRecognisedStatus(young ? 1000 : 1) != 0) break;

            DeviceInfo entry{};
            identifier->FillDeviceInfo(&entry);
            if (!MacListed(list, entry.mac)) {
                list.entries[list.count] = entry;
                ++list.count;
                lastAddition = platform::clock::NowSeconds();
                continue;
            }
            // A device heard again more than a second after the last new
            // one means this port has nothing new to tell.
            if (platform::clock::NowSeconds() > lastAddition + 1) break;
        }
        identifier->CloseListener();
    }
}

}  // namespace devicelib
