// Status datagrams of every model through a device object's own status
// listener, acceptance and decoding into the model's record. The first byte
// of an input chooses the model, the rest is the datagram.
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "devicelib/device_models.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr std::uint16_t TYPES[] = {TYPE_T22_V2, TYPE_T22_V3, TYPE_R40,
                                   TYPE_TREVAN, TYPE_T22CA,  TYPE_R40_TREVAN};

// One attached device per model, each listening on its own status port for
// datagrams from 127.0.0.1 with the seed receiver's MAC address.
struct Devices {
    fuzz::OwnNetwork network;  // first: every socket below is opened inside
    Devices() {
        for (std::size_t i = 0; i < std::size(TYPES); ++i) {
            auto device = devicelib::MakeDevice(TYPES[i]);
            DeviceInfo info{};
            std::memcpy(info.address, fuzz::LOOPBACK.data(), 4);
            std::memcpy(info.mac, fuzz::SEED_MAC.data(), 6);
            info.statusPort = STATUS_PORTS[i];
            info.deviceType = TYPES[i];
            if (device->Attach(info) != RC_ATTACHED || device->OpenListener() != 0)
                __builtin_trap();
            device->SetSourceFilter(true);
            byModel.push_back(std::move(device));
        }
    }
    std::vector<std::unique_ptr<devicelib::COrvelDevice>> byModel;
    fuzz::LoopbackSender sender;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Devices devices;
    if (size < 1) return 0;
    devicelib::COrvelDevice& device = *devices.byModel[data[0] % std::size(TYPES)];
    devices.sender.Send({data + 1, size - 1}, device.StatusPort());
    if (device.WaitStatus(200) != 0) return 0;
    std::array<std::uint8_t, 256> record{};
    device.GetStatusRecord(record.data());
    return 0;
}
