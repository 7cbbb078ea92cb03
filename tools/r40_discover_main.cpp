// r40-discover: one discovery pass, printed. Exit code 0 when at least one
// receiver was heard, 1 when none.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "devicelib/devicelib.h"

namespace {

const char* ModelName(std::uint16_t type) {
    switch (type) {
        case TYPE_T22_V2:
            return "T22 (2.x)";
        case TYPE_T22_V3:
            return "T22 (3.x)";
        case TYPE_R40:
            return "R40";
        case TYPE_TREVAN:
            return "Trevan";
        case TYPE_T22CA:
            return "T22CA";
        case TYPE_R40_TREVAN:
            return "R40V";
        default:
            return "unknown";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "Usage: r40-discover\n\nListens on the ten status ports for about two seconds and "
            "lists the receivers heard:\nMAC address, model, IPv4 address and status port. Exit "
            "code 0 when any was heard, 1 when none.\n");
        return 0;
    }
    DeviceList list{};
    DiscoverDevices(&list);
    for (int i = 0; i < list.count; ++i) {
        const DeviceInfo& e = list.entries[i];
        std::printf("%02X-%02X-%02X-%02X-%02X-%02X  %-10s %u.%u.%u.%u  port %u\n", e.mac[0],
                    e.mac[1], e.mac[2], e.mac[3], e.mac[4], e.mac[5], ModelName(e.deviceType),
                    e.address[0], e.address[1], e.address[2], e.address[3], e.statusPort);
    }
    return list.count > 0 ? 0 : 1;
}
