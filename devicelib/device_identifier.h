// A device object used only to listen on one status port during discovery
// and recognise the model of whoever sends there.
#pragma once

#include "devicelib/orvel_device.h"

namespace devicelib {

class CDeviceIdentifier final : public COrvelDevice {
  public:
    CDeviceIdentifier();

    std::unique_ptr<PIDList> NewPidList() override { return nullptr; }
    void ParsePidTable(std::span<std::uint8_t>) override {}
    // Recognises the model from the code byte and takes the sender's
    // address and MAC address; unrecognised codes are refused.
    bool AcceptStatus() override;

    // Waits up to timeoutMs for a datagram it recognises: 0, or the
    // listener's failure, or ERR_STATUS_TIMEOUT. Datagrams it does not
    // recognise are skipped and do not lengthen the wait. The listener is
    // opened first if it is closed.
    std::int32_t WaitRecognisedStatus(int timeoutMs);

    // Whole seconds since the listener was opened, or RC_NOT_LISTENING.
    std::int32_t SecondsListening() const;
    void FillDeviceInfo(DeviceInfo* entry) const;

    // Model code byte to type code; TYPE_UNRECOGNISED for anything else.
    static std::uint16_t TypeFromModelCode(std::uint8_t code);
};

}  // namespace devicelib
