#include "platform/iphelper/ip_helper.h"

namespace platform::iphelper {

bool RowIsHostRoute(const RouteRow& row, const HostRoute& route) {
    return row.destination == route.destination && row.prefixLength == 32 &&
           row.interfaceIndex == route.interfaceIndex && row.metric == route.metric &&
           row.gateway == Ipv4{0, 0, 0, 0};
}

}  // namespace platform::iphelper
