// The workstation's tables through the IP Helper functions. Buffers grow
// by what the system says it needs plus a margin, as the tables may grow
// between two calls.
#ifdef _WIN32

#include <iphlpapi.h>
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <vector>

#include "platform/iphelper/ip_helper.h"

namespace platform::iphelper {
namespace {

constexpr ULONG BUFFER_MARGIN = 10000;

DWORD AddressValue(const Ipv4& address) {
    DWORD value;
    std::memcpy(&value, address.data(), 4);  // network order, as the tables hold it
    return value;
}

Ipv4 AddressFrom(DWORD value) {
    Ipv4 address;
    std::memcpy(address.data(), &value, 4);
    return address;
}

bool ParseDotted(const char* text, Ipv4& out) {
    in_addr parsed{};
    if (::inet_pton(AF_INET, text, &parsed) != 1) return false;
    std::memcpy(out.data(), &parsed, 4);
    return true;
}

bool ReadForwardTable(std::vector<std::uint8_t>& buffer) {
    ULONG size = BUFFER_MARGIN;
    for (;;) {
        buffer.assign(size, 0);
        const DWORD rc =
            ::GetIpForwardTable(reinterpret_cast<MIB_IPFORWARDTABLE*>(buffer.data()), &size, TRUE);
        if (rc == NO_ERROR) return true;
        if (rc != ERROR_INSUFFICIENT_BUFFER) return false;
        size += BUFFER_MARGIN;
    }
}

MIB_IPFORWARDROW RowFor(const HostRoute& route) {
    MIB_IPFORWARDROW row{};
    row.dwForwardDest = AddressValue(route.destination);
    row.dwForwardMask = 0xFFFFFFFF;
    row.dwForwardPolicy = 0;
    row.dwForwardNextHop = AddressValue(route.localAddress);
    row.dwForwardIfIndex = route.interfaceIndex;
    row.dwForwardType = 3;   // direct: on the link
    row.dwForwardProto = 3;  // network management: static
    row.dwForwardAge = 0;
    row.dwForwardNextHopAS = 0;
    row.dwForwardMetric1 = route.metric;
    row.dwForwardMetric2 = row.dwForwardMetric3 = row.dwForwardMetric4 = row.dwForwardMetric5 =
        static_cast<DWORD>(-1);
    return row;
}

class WindowsIpHelper final : public IpHelper {
  public:
    bool ReadAdapters(std::vector<Adapter>& adapters) override {
        ULONG size = BUFFER_MARGIN;
        std::vector<std::uint8_t> buffer;
        for (;;) {
            buffer.assign(size, 0);
            const DWORD rc =
                ::GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
            if (rc == NO_ERROR) break;
            if (rc == ERROR_NO_DATA) {  // no adapter at all: an empty list, read
                adapters.clear();
                return true;
            }
            if (rc != ERROR_BUFFER_OVERFLOW) return false;
            size += BUFFER_MARGIN;
        }
        adapters.clear();
        for (auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); info != nullptr;
             info = info->Next) {
            Adapter adapter;
            adapter.index = info->Index;
            adapter.name = info->AdapterName;
            for (IP_ADDR_STRING* a = &info->IpAddressList; a != nullptr; a = a->Next) {
                Ipv4 address{};
                if (ParseDotted(a->IpAddress.String, address)) adapter.addresses.push_back(address);
            }
            adapters.push_back(adapter);
        }
        return true;
    }

    bool ReadRoutes(std::vector<RouteRow>& routes) override {
        std::vector<std::uint8_t> buffer;
        if (!ReadForwardTable(buffer)) return false;
        routes.clear();
        const auto* table = reinterpret_cast<const MIB_IPFORWARDTABLE*>(buffer.data());
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            const MIB_IPFORWARDROW& r = table->table[i];
            RouteRow row;
            row.destination = AddressFrom(r.dwForwardDest);
            int prefix = 0;
            for (DWORD mask = ntohl(r.dwForwardMask); mask & 0x80000000u; mask <<= 1) ++prefix;
            row.prefixLength = prefix;
            // A direct route's next hop is the local address, not a gateway.
            if (r.dwForwardType == 3) {
                row.preferredSource = AddressFrom(r.dwForwardNextHop);
            } else {
                row.gateway = AddressFrom(r.dwForwardNextHop);
            }
            row.interfaceIndex = r.dwForwardIfIndex;
            row.metric = r.dwForwardMetric1;
            row.protocol = static_cast<int>(r.dwForwardProto);
            routes.push_back(row);
        }
        return true;
    }

    bool ReadNeighbours(std::vector<NeighbourEntry>& neighbours) override {
        ULONG size = BUFFER_MARGIN;
        std::vector<std::uint8_t> buffer;
        for (;;) {
            buffer.assign(size, 0);
            const DWORD rc =
                ::GetIpNetTable(reinterpret_cast<MIB_IPNETTABLE*>(buffer.data()), &size, FALSE);
            if (rc == NO_ERROR) break;
            if (rc == ERROR_NO_DATA) {
                neighbours.clear();
                return true;
            }
            if (rc != ERROR_INSUFFICIENT_BUFFER) return false;
            size += BUFFER_MARGIN;
        }
        neighbours.clear();
        const auto* table = reinterpret_cast<const MIB_IPNETTABLE*>(buffer.data());
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            const MIB_IPNETROW& r = table->table[i];
            NeighbourEntry entry;
            entry.interfaceIndex = r.dwIndex;
            entry.address = AddressFrom(r.dwAddr);
            if (r.dwPhysAddrLen == 6) std::memcpy(entry.mac.data(), r.bPhysAddr, 6);
            entry.permanent = r.dwType == 4;
            neighbours.push_back(entry);
        }
        return true;
    }

    bool AddHostRoute(const HostRoute& route) override {
        MIB_IPFORWARDROW row = RowFor(route);
        return ::CreateIpForwardEntry(&row) == NO_ERROR;
    }

    bool DeleteHostRoute(const HostRoute& route) override {
        // Delete the row exactly as the table holds it.
        std::vector<std::uint8_t> buffer;
        if (!ReadForwardTable(buffer)) return false;
        const auto* table = reinterpret_cast<const MIB_IPFORWARDTABLE*>(buffer.data());
        const MIB_IPFORWARDROW wanted = RowFor(route);
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            MIB_IPFORWARDROW row = table->table[i];
            if (row.dwForwardDest == wanted.dwForwardDest &&
                row.dwForwardMask == wanted.dwForwardMask &&
                row.dwForwardIfIndex == wanted.dwForwardIfIndex &&
                row.dwForwardNextHop == wanted.dwForwardNextHop &&
                row.dwForwardMetric1 == wanted.dwForwardMetric1)
                return ::DeleteIpForwardEntry(&row) == NO_ERROR;
        }
        return false;
    }

    bool AddStaticNeighbour(const NeighbourEntry& entry) override {
        MIB_IPNETROW row{};
        row.dwIndex = entry.interfaceIndex;
        row.dwPhysAddrLen = 6;
        std::memcpy(row.bPhysAddr, entry.mac.data(), 6);
        row.dwAddr = AddressValue(entry.address);
        row.dwType = 4;  // static
        return ::CreateIpNetEntry(&row) == NO_ERROR;
    }

    bool DeleteNeighbour(std::uint32_t interfaceIndex, const Ipv4& address) override {
        MIB_IPNETROW row{};
        row.dwIndex = interfaceIndex;
        row.dwAddr = AddressValue(address);
        return ::DeleteIpNetEntry(&row) == NO_ERROR;
    }
};

}  // namespace

IpHelper& SystemIpHelper() {
    static WindowsIpHelper helper;
    return helper;
}

}  // namespace platform::iphelper

#endif  // _WIN32
