// The workstation's tables over rtnetlink: no shelling out, no parsing of
// command output. Every request carries a sequence number and waits for the
// kernel's acknowledgement or the end of its dump, with a receive time-out
// so a silent kernel can never hang a caller.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include "platform/iphelper/ip_helper.h"

namespace platform::iphelper {
namespace {

// A request under construction: a netlink header, a family header and
// attributes, each aligned as the kernel expects.
class Request {
  public:
    Request(std::uint16_t type, std::uint16_t flags) {
        m_bytes.resize(NLMSG_HDRLEN);
        Header().nlmsg_type = type;
        Header().nlmsg_flags = static_cast<std::uint16_t>(NLM_F_REQUEST | flags);
        Header().nlmsg_len = NLMSG_HDRLEN;
    }
    template <class Body>
    Body& Append(const Body& body) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + NLMSG_ALIGN(sizeof body), 0);
        std::memcpy(&m_bytes[at], &body, sizeof body);
        Header().nlmsg_len = static_cast<std::uint32_t>(m_bytes.size());
        return *reinterpret_cast<Body*>(&m_bytes[at]);
    }
    void Attribute(std::uint16_t type, const void* data, std::size_t length) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + RTA_SPACE(length), 0);
        rtattr attribute{};
        attribute.rta_type = type;
        attribute.rta_len = static_cast<unsigned short>(RTA_LENGTH(length));
        std::memcpy(&m_bytes[at], &attribute, sizeof attribute);
        std::memcpy(&m_bytes[at + RTA_LENGTH(0)], data, length);
        Header().nlmsg_len = static_cast<std::uint32_t>(m_bytes.size());
    }
    nlmsghdr& Header() { return *reinterpret_cast<nlmsghdr*>(m_bytes.data()); }
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

  private:
    std::vector<std::uint8_t> m_bytes;
};

// Attributes following a family header, by type.
std::map<int, std::vector<std::uint8_t>> Attributes(const rtattr* first, int length) {
    std::map<int, std::vector<std::uint8_t>> found;
    for (const rtattr* a = first; RTA_OK(a, length); a = RTA_NEXT(a, length)) {
        const auto* data = static_cast<const std::uint8_t*>(RTA_DATA(a));
        found[a->rta_type].assign(data, data + RTA_PAYLOAD(a));
    }
    return found;
}

bool CopyAddress(const std::map<int, std::vector<std::uint8_t>>& attributes, int type, Ipv4& out) {
    auto it = attributes.find(type);
    if (it == attributes.end() || it->second.size() != 4) return false;
    std::copy(it->second.begin(), it->second.end(), out.begin());
    return true;
}

std::uint32_t U32(const std::map<int, std::vector<std::uint8_t>>& attributes, int type,
                  std::uint32_t fallback) {
    auto it = attributes.find(type);
    if (it == attributes.end() || it->second.size() != 4) return fallback;
    std::uint32_t value;
    std::memcpy(&value, it->second.data(), 4);
    return value;
}

// NLMSG_OK without the macro's comparison of signed and unsigned lengths.
bool MessageFits(const nlmsghdr* h, int length) {
    return length >= static_cast<int>(sizeof(nlmsghdr)) && h->nlmsg_len >= sizeof(nlmsghdr) &&
           h->nlmsg_len <= static_cast<unsigned>(length);
}

class NetlinkSocket {
  public:
    NetlinkSocket() {
        m_fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
        if (m_fd < 0) return;
        sockaddr_nl local{};
        local.nl_family = AF_NETLINK;
        timeval timeout{2, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~NetlinkSocket() {
        if (m_fd >= 0) ::close(m_fd);
    }
    NetlinkSocket(const NetlinkSocket&) = delete;
    NetlinkSocket& operator=(const NetlinkSocket&) = delete;

    // Sends the request and reads the answer: for a dump every message until
    // the end (each handed to `onMessage`), otherwise the acknowledgement.
    bool Exchange(Request& request, const std::function<void(const nlmsghdr&)>& onMessage = {}) {
        if (m_fd < 0) return false;
        const std::uint32_t sequence = ++m_sequence;
        request.Header().nlmsg_seq = sequence;
        const bool dump = (request.Header().nlmsg_flags & NLM_F_DUMP) == NLM_F_DUMP;
        sockaddr_nl kernel{};
        kernel.nl_family = AF_NETLINK;
        const auto& bytes = request.Bytes();
        if (::sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&kernel),
                     sizeof kernel) != static_cast<ssize_t>(bytes.size()))
            return false;

        std::vector<std::uint8_t> buffer(64 * 1024);
        for (;;) {
            const ssize_t n = ::recv(m_fd, buffer.data(), buffer.size(), 0);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;  // error or time-out
            int length = static_cast<int>(n);
            for (auto* h = reinterpret_cast<const nlmsghdr*>(buffer.data()); MessageFits(h, length);
                 h = NLMSG_NEXT(h, length)) {
                if (h->nlmsg_seq != sequence) continue;  // a late answer to an older request
                if (h->nlmsg_type == NLMSG_DONE) return true;
                if (h->nlmsg_type == NLMSG_ERROR) {
                    if (h->nlmsg_len < NLMSG_LENGTH(sizeof(nlmsgerr))) return false;
                    const auto* error = static_cast<const nlmsgerr*>(NLMSG_DATA(h));
                    return error->error == 0;
                }
                if (onMessage) onMessage(*h);
                if (!dump) return true;
            }
        }
    }

  private:
    int m_fd = -1;
    std::uint32_t m_sequence = 0;
};

class LinuxIpHelper final : public IpHelper {
  public:
    bool ReadAdapters(std::vector<Adapter>& adapters) override {
        std::map<std::uint32_t, bool> loopback;
        std::map<std::uint32_t, bool> resolves;
        {
            NetlinkSocket socket;
            Request request(RTM_GETLINK, NLM_F_DUMP);
            request.Append(ifinfomsg{});
            if (!socket.Exchange(request, [&](const nlmsghdr& h) {
                    if (h.nlmsg_type != RTM_NEWLINK ||
                        h.nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg)))
                        return;
                    const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(&h));
                    const auto index = static_cast<std::uint32_t>(info->ifi_index);
                    loopback[index] = (info->ifi_flags & IFF_LOOPBACK) != 0;
                    resolves[index] =
                        (info->ifi_flags & (IFF_LOOPBACK | IFF_NOARP | IFF_POINTOPOINT)) == 0;
                }))
                return false;
        }
        std::map<std::uint32_t, Adapter> byIndex;
        NetlinkSocket socket;
        Request request(RTM_GETADDR, NLM_F_DUMP);
        ifaddrmsg filter{};
        filter.ifa_family = AF_INET;
        request.Append(filter);
        if (!socket.Exchange(request, [&](const nlmsghdr& h) {
                if (h.nlmsg_type != RTM_NEWADDR || h.nlmsg_len < NLMSG_LENGTH(sizeof(ifaddrmsg)))
                    return;
                const auto* message = static_cast<const ifaddrmsg*>(NLMSG_DATA(&h));
                if (message->ifa_family != AF_INET) return;
                const auto attributes = Attributes(IFA_RTA(message), IFA_PAYLOAD(&h));
                Ipv4 address{};
                if (!CopyAddress(attributes, IFA_LOCAL, address) &&
                    !CopyAddress(attributes, IFA_ADDRESS, address))
                    return;
                Adapter& adapter = byIndex[message->ifa_index];
                adapter.index = message->ifa_index;
                adapter.addresses.push_back(address);
            }))
            return false;

        // Real adapters first, by interface index; loopback last, so an
        // emulated receiver on loopback can still be reached.
        adapters.clear();
        for (bool wantLoopback : {false, true}) {
            for (auto& [index, adapter] : byIndex) {
                if (loopback[index] != wantLoopback) continue;
                char name[IF_NAMESIZE] = {};
                if (::if_indextoname(index, name) != nullptr) adapter.name = name;
                adapter.resolvesNeighbours = resolves[index];
                adapters.push_back(adapter);
            }
        }
        return true;
    }

    bool ReadRoutes(std::vector<RouteRow>& routes) override {
        routes.clear();
        NetlinkSocket socket;
        Request request(RTM_GETROUTE, NLM_F_DUMP);
        rtmsg filter{};
        filter.rtm_family = AF_INET;
        request.Append(filter);
        return socket.Exchange(request, [&](const nlmsghdr& h) {
            if (h.nlmsg_type != RTM_NEWROUTE || h.nlmsg_len < NLMSG_LENGTH(sizeof(rtmsg))) return;
            const auto* message = static_cast<const rtmsg*>(NLMSG_DATA(&h));
            if (message->rtm_family != AF_INET) return;
            const auto attributes = Attributes(RTM_RTA(message), RTM_PAYLOAD(&h));
            RouteRow row;
            CopyAddress(attributes, RTA_DST, row.destination);
            CopyAddress(attributes, RTA_GATEWAY, row.gateway);
            CopyAddress(attributes, RTA_PREFSRC, row.preferredSource);
            row.prefixLength = message->rtm_dst_len;
            row.interfaceIndex = U32(attributes, RTA_OIF, 0);
            row.metric = U32(attributes, RTA_PRIORITY, 0);
            row.table = U32(attributes, RTA_TABLE, message->rtm_table);
            row.protocol = message->rtm_protocol;
            row.scope = message->rtm_scope;
            if (row.table == RT_TABLE_MAIN) routes.push_back(row);
        });
    }

    bool ReadNeighbours(std::vector<NeighbourEntry>& neighbours) override {
        neighbours.clear();
        NetlinkSocket socket;
        Request request(RTM_GETNEIGH, NLM_F_DUMP);
        ndmsg filter{};
        filter.ndm_family = AF_INET;
        request.Append(filter);
        return socket.Exchange(request, [&](const nlmsghdr& h) {
            if (h.nlmsg_type != RTM_NEWNEIGH || h.nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg))) return;
            const auto* message = static_cast<const ndmsg*>(NLMSG_DATA(&h));
            if (message->ndm_family != AF_INET) return;
            const int length =
                static_cast<int>(h.nlmsg_len) - static_cast<int>(NLMSG_LENGTH(sizeof(ndmsg)));
            const auto* first = reinterpret_cast<const rtattr*>(
                reinterpret_cast<const std::uint8_t*>(message) + NLMSG_ALIGN(sizeof(ndmsg)));
            const auto attributes = Attributes(first, length);
            NeighbourEntry entry;
            entry.interfaceIndex = static_cast<std::uint32_t>(message->ndm_ifindex);
            if (!CopyAddress(attributes, NDA_DST, entry.address)) return;
            auto mac = attributes.find(NDA_LLADDR);
            if (mac != attributes.end() && mac->second.size() == 6)
                std::copy(mac->second.begin(), mac->second.end(), entry.mac.begin());
            entry.permanent = (message->ndm_state & NUD_PERMANENT) != 0;
            auto protocol = attributes.find(NDA_PROTOCOL);
            if (protocol != attributes.end() && protocol->second.size() == 1)
                entry.protocol = protocol->second[0];
            neighbours.push_back(entry);
        });
    }

    bool AddHostRoute(const HostRoute& route) override {
        return ChangeRoute(RTM_NEWROUTE, NLM_F_CREATE | NLM_F_EXCL, route);
    }

    bool DeleteHostRoute(const HostRoute& route) override {
        return ChangeRoute(RTM_DELROUTE, 0, route);
    }

    bool AddStaticNeighbour(const NeighbourEntry& entry) override {
        NetlinkSocket socket;
        Request request(RTM_NEWNEIGH, NLM_F_ACK | NLM_F_CREATE | NLM_F_EXCL);
        ndmsg message{};
        message.ndm_family = AF_INET;
        message.ndm_ifindex = static_cast<int>(entry.interfaceIndex);
        message.ndm_state = entry.permanent ? NUD_PERMANENT : NUD_REACHABLE;
        message.ndm_type = RTN_UNICAST;
        request.Append(message);
        request.Attribute(NDA_DST, entry.address.data(), 4);
        request.Attribute(NDA_LLADDR, entry.mac.data(), 6);
        // Kernels before 5.2 ignore it; the entry is then not recognised later.
        const std::uint8_t protocol = OWN_ENTRY_PROTOCOL;
        request.Attribute(NDA_PROTOCOL, &protocol, 1);
        return socket.Exchange(request);
    }

    bool DeleteNeighbour(std::uint32_t interfaceIndex, const Ipv4& address) override {
        NetlinkSocket socket;
        Request request(RTM_DELNEIGH, NLM_F_ACK);
        ndmsg message{};
        message.ndm_family = AF_INET;
        message.ndm_ifindex = static_cast<int>(interfaceIndex);
        request.Append(message);
        request.Attribute(NDA_DST, address.data(), 4);
        return socket.Exchange(request);
    }

  private:
    // A host route on the link with our metric and protocol number. Deleting
    // names the same attributes, so only this exact route of ours can go.
    static bool ChangeRoute(std::uint16_t type, std::uint16_t flags, const HostRoute& route) {
        NetlinkSocket socket;
        Request request(type, static_cast<std::uint16_t>(NLM_F_ACK | flags));
        rtmsg message{};
        message.rtm_family = AF_INET;
        message.rtm_dst_len = 32;
        message.rtm_table = RT_TABLE_MAIN;
        message.rtm_protocol = OWN_ENTRY_PROTOCOL;
        message.rtm_scope = type == RTM_NEWROUTE ? RT_SCOPE_LINK : RT_SCOPE_NOWHERE;
        message.rtm_type = RTN_UNICAST;
        request.Append(message);
        request.Attribute(RTA_DST, route.destination.data(), 4);
        const std::uint32_t interfaceIndex = route.interfaceIndex;
        request.Attribute(RTA_OIF, &interfaceIndex, 4);
        const std::uint32_t metric = route.metric;
        request.Attribute(RTA_PRIORITY, &metric, 4);
        // An adapter listed with 0.0.0.0 has no source to prefer.
        if (type == RTM_NEWROUTE && route.localAddress != Ipv4{0, 0, 0, 0})
            request.Attribute(RTA_PREFSRC, route.localAddress.data(), 4);
        return socket.Exchange(request);
    }
};

}  // namespace

IpHelper& SystemIpHelper() {
    static LinuxIpHelper helper;
    return helper;
}

}  // namespace platform::iphelper
