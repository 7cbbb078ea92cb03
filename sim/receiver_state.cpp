#include "sim/receiver_state.h"

namespace sim {

MacAddress MacForAddress(Ipv4 address) {
    return {RECEIVER_MAC_PREFIX[0],
            RECEIVER_MAC_PREFIX[1],
            RECEIVER_MAC_PREFIX[2],
            address[1],
            address[2],
            address[3]};
}

ReceiverState DefaultState(Model model, Ipv4 address, std::uint16_t statusPort) {
    const ModelTraits& traits = TraitsOf(model);
    ReceiverState s;
    s.address = address;
    s.mac = MacForAddress(address);
    // The DVB side has a MAC address of its own; keep it recognisably related.
    s.dvbMac = s.mac;
    s.dvbMac[3] = static_cast<std::uint8_t>(s.dvbMac[3] | 0x80);
    s.modelCode = traits.modelCode;
    s.version = traits.model == Model::T22V2 ? 0x24 : 0x31;
    s.gateway = {address[0], address[1], address[2], 1};
    s.reportedStatusPort = statusPort;
    s.statusDestinationPort = statusPort;
    return s;
}

}  // namespace sim
