#include "devicelib/device_constants.h"
#include "devicelib/devicelib.h"

// The ten ports receivers send their status to, in the order discovery
// listens and FindFreeStatusPort tries them.
extern "C" const uint16_t STATUS_PORTS[STATUS_PORT_COUNT] = {6516, 8309,  8565,  8821,  9077,
                                                             9333, 13429, 17525, 17781, 18037};

namespace devicelib {

bool IsStatusPort(std::uint16_t port) {
    for (std::uint16_t p : STATUS_PORTS)
        if (p == port) return true;
    return false;
}

}  // namespace devicelib
