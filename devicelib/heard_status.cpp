#include "devicelib/heard_status.h"

#include <cstring>
#include <memory>

#include "devicelib/device_identifier.h"
#include "devicelib/device_models.h"

namespace devicelib {
namespace {

constexpr std::size_t MODEL_CODE_OFFSET = 0x20;
constexpr std::size_t MAC_OFFSET = 0x30;

}  // namespace

std::int32_t DecodeHeardStatus(std::span<const std::uint8_t> datagram, DeviceInfo& sender,
                               void* record, std::size_t recordSize) {
    std::memset(sender.mac, 0, sizeof sender.mac);
    sender.deviceType = TYPE_UNRECOGNISED;
    if (datagram.size() < MAC_OFFSET + sizeof sender.mac) return RC_FAILED;
    std::memcpy(sender.mac, &datagram[MAC_OFFSET], sizeof sender.mac);

    // The model as discovery names it; the device object of that model then
    // applies its own, stricter checks.
    const std::uint16_t type = CDeviceIdentifier::TypeFromModelCode(datagram[MODEL_CODE_OFFSET]);
    sender.deviceType = type;
    if (type == TYPE_UNRECOGNISED) return RC_FAILED;
    if (record == nullptr || recordSize < StatusRecordSize(type)) return RC_FAILED;

    const std::unique_ptr<COrvelDevice> device = MakeDevice(type);
    if (!device) return RC_FAILED;
    const std::int32_t attached = device->Attach(sender);
    if (attached != RC_ATTACHED) return attached;
    device->SetSourceFilter(true);
    Ipv4 source;
    std::memcpy(source.data(), sender.address, source.size());
    if (device->TakeStatusDatagram(datagram, source) != StatusIntake::Accepted) return RC_FAILED;
    return device->GetStatusRecord(record) == 0 ? 0 : RC_FAILED;
}

}  // namespace devicelib
