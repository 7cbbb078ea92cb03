// Discovery's identification of whoever sends a datagram to a status port:
// the model from its code byte, the sender's address and MAC address.
#include <cstdint>

#include "devicelib/device_identifier.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Identifier {
    fuzz::OwnNetwork network;  // first: every socket below is opened inside
    Identifier() {
        device.SetStatusPort(STATUS_PORTS[0]);
        if (device.OpenListener() != 0) __builtin_trap();
    }
    devicelib::CDeviceIdentifier device;
    fuzz::LoopbackSender sender;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Identifier identifier;
    identifier.sender.Send({data, size}, STATUS_PORTS[0]);
    if (identifier.device.WaitStatus(200) != 0) return 0;
    DeviceInfo entry{};
    identifier.device.FillDeviceInfo(&entry);
    // Only a recognised model is ever listed.
    if (entry.deviceType < TYPE_T22_V2 || entry.deviceType > TYPE_R40_TREVAN) __builtin_trap();
    return 0;
}
