// A workstation namespace A and a receiver's link in namespace B, joined by
// a veth pair. The receiver at 192.168.1.20 lies outside A's subnet
// (10.0.0.0/24), so only a temporary host route and neighbour entry reach
// it. Needs root; the tests skip where namespaces cannot be made.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "devicelib/device_models.h"
#include "devicelib/route_leftovers.h"
#include "platform/iphelper/ip_helper.h"
#include "tests/devicelib/receiver_fixture.h"
#include "tests/support/thread_network.h"

namespace devicelib_test {

const sim::Ipv4 RECEIVER{192, 168, 1, 20};
const sim::Ipv4 RECEIVER_AFTER{192, 168, 1, 21};
const sim::MacAddress RECEIVER_MAC{0x02, 0x5C, 0xC1, 0x01, 0x00, 0x14};

inline bool Shell(const std::string& command) {
    const int rc = std::system((command + " >/dev/null 2>&1").c_str());
    return rc == 0;
}

// Namespaces and links named after this process, removed at the end.
class TwoNamespaces : public ::testing::Test {
  protected:
    void SetUp() override {
        id = std::to_string(::getpid() % 10000000);
        a = "r40a" + id;
        b = "r40b" + id;
        c = "r40c" + id;
        if (::geteuid() != 0 || !Shell("ip netns add " + a))
            GTEST_SKIP() << "needs root and iproute2 to make network namespaces";
        made = true;
        ASSERT_TRUE(Shell("ip netns add " + b));
        ASSERT_TRUE(Shell("ip netns add " + c));
        // Both ends stay quiet about reverse paths, as a Windows host does.
        for (const std::string& ns : {a, b})
            Shell("ip netns exec " + ns +
                  " sysctl -qw net.ipv4.conf.all.rp_filter=0 "
                  "net.ipv4.conf.default.rp_filter=0");
        ASSERT_TRUE(Shell("ip -n " + a + " link set lo up"));
        ASSERT_TRUE(Shell("ip -n " + b + " link set lo up"));
    }
    void TearDown() override {
        if (!made) return;
        // The attempt lock of A goes with A.
        if (entered) ::unlink(devicelib::AttemptLockPath().c_str());
        for (const std::string& ns : {a, b, c}) Shell("ip netns del " + ns);
    }

    // Workstation adapter `name` with `address`/24 in A, linked to `peerNs`.
    void Link(const std::string& name, const std::string& address, const std::string& peerNs,
              const std::string& peer) {
        ASSERT_TRUE(Shell("ip link add " + name + " type veth peer name " + peer));
        ASSERT_TRUE(Shell("ip link set " + name + " netns " + a));
        ASSERT_TRUE(Shell("ip link set " + peer + " netns " + peerNs));
        ASSERT_TRUE(Shell("ip -n " + a + " addr add " + address + "/24 dev " + name));
        ASSERT_TRUE(Shell("ip -n " + a + " link set " + name + " up"));
        ASSERT_TRUE(Shell("ip -n " + peerNs + " link set " + peer + " up"));
    }

    // The receiver's side in B: its MAC on the link, both its addresses, a
    // route back to the workstation and a static entry for it (so B never
    // asks for A's address and A learns nothing of the receiver by itself).
    void ReceiverLink(const std::string& workstationLink, const std::string& peer) {
        ASSERT_TRUE(Shell("ip -n " + b + " link set " + peer + " address 02:5c:c1:01:00:14"));
        ASSERT_TRUE(Shell("ip -n " + b + " addr add 192.168.1.20/24 dev " + peer));
        ASSERT_TRUE(Shell("ip -n " + b + " addr add 192.168.1.21/24 dev " + peer));
        ASSERT_TRUE(Shell("ip -n " + b + " route add 10.0.0.0/24 dev " + peer));
        char mac[32] = {};
        FILE* pipe = ::popen(
            ("ip netns exec " + a + " cat /sys/class/net/" + workstationLink + "/address").c_str(),
            "r");
        ASSERT_NE(pipe, nullptr);
        ASSERT_NE(std::fgets(mac, sizeof mac, pipe), nullptr);
        ::pclose(pipe);
        mac[std::strcspn(mac, "\n")] = 0;
        ASSERT_TRUE(Shell("ip -n " + b + " neigh add 10.0.0.7 lladdr " + mac + " dev " + peer +
                          " nud permanent"));
    }

    std::unique_ptr<sim::EmulatedReceiver> StartReceiverInB() {
        sim::ReceiverConfig config = sim::ReceiverConfig::For(sim::Model::R40, RECEIVER);
        config.networkNamespace = "/run/netns/" + b;
        config.statusInterval = 50ms;
        config.initial.mac = RECEIVER_MAC;
        config.initial.unicastStatusAddress = {10, 0, 0, 7};
        config.initial.subnetMask = {255, 255, 255, 0};
        auto rx = std::make_unique<sim::EmulatedReceiver>(config);
        std::string error;
        EXPECT_TRUE(rx->Start(&error)) << error;
        return rx;
    }

    void EnterA() {
        std::string why;
        ASSERT_TRUE(test_support::JoinNetworkNamespace("/run/netns/" + a, &why)) << why;
        entered = true;
    }

    // What A's tables hold for an address.
    int RoutesTo(const sim::Ipv4& address) {
        std::vector<platform::iphelper::RouteRow> routes;
        EXPECT_TRUE(platform::iphelper::SystemIpHelper().ReadRoutes(routes));
        int n = 0;
        for (const auto& r : routes) n += r.destination == address && r.prefixLength == 32;
        return n;
    }
    int NeighboursOf(const sim::Ipv4& address) {
        std::vector<platform::iphelper::NeighbourEntry> neighbours;
        EXPECT_TRUE(platform::iphelper::SystemIpHelper().ReadNeighbours(neighbours));
        int n = 0;
        for (const auto& e : neighbours) n += e.address == address;
        return n;
    }

    NetworkSettings NewSettings() {
        NetworkSettings s{};
        const std::uint8_t unicast[4] = {10, 0, 0, 7};
        const std::uint8_t mask[4] = {255, 255, 255, 0};
        const std::uint8_t gateway[4] = {192, 168, 1, 1};
        std::memcpy(s.unicastStatusAddress, unicast, 4);
        std::memcpy(s.subnetMask, mask, 4);
        std::memcpy(s.defaultGateway, gateway, 4);
        std::memcpy(s.deviceAddress, RECEIVER_AFTER.data(), 4);
        s.statusPort = s.listenPort = 8309;
        return s;
    }

    DeviceHandle OpenReceiver() {
        DeviceInfo info{};
        std::memcpy(info.address, RECEIVER.data(), 4);
        std::memcpy(info.mac, RECEIVER_MAC.data(), 6);
        info.statusPort = 6516;
        info.deviceType = TYPE_R40;
        int32_t result = 0;
        DeviceHandle handle = OpenDevice(&info, 3000, &result);
        EXPECT_NE(handle, nullptr) << "OpenDevice result " << result;
        return handle;
    }

    // Names of this process's links (interface names are global while made).
    std::string Name(const char* role) const { return std::string("r40") + role + id; }

    std::string a, b, c, id;
    bool made = false;
    bool entered = false;  // this thread is in A
};

}  // namespace devicelib_test
