// A process killed in the middle of a network-settings change leaves its
// host route and permanent neighbour entry behind; the next run, or the
// console's start, removes them and nothing else.
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "devicelib/route_to_device.h"
#include "tests/devicelib/namespace_fixture.h"

namespace devicelib_test {
namespace {

using platform::iphelper::NeighbourEntry;
using platform::iphelper::RouteRow;
using platform::iphelper::SystemIpHelper;

class LeftoverRoutes : public TwoNamespaces {
  protected:
    // The routes and the permanent neighbour entries of A, as they stand.
    struct Tables {
        std::vector<RouteRow> routes;
        std::vector<NeighbourEntry> permanent;
        bool operator==(const Tables&) const = default;
    };
    Tables Snapshot() {
        Tables t;
        EXPECT_TRUE(SystemIpHelper().ReadRoutes(t.routes));
        std::vector<NeighbourEntry> all;
        EXPECT_TRUE(SystemIpHelper().ReadNeighbours(all));
        std::copy_if(all.begin(), all.end(), std::back_inserter(t.permanent),
                     [](const NeighbourEntry& e) { return e.permanent; });
        return t;
    }

    // The operator's own entries, which must outlive every sweep: a host
    // route and a permanent neighbour entry on the same link.
    void OperatorsOwnEntries() {
        ASSERT_TRUE(
            Shell("ip -n " + a + " route add 192.168.1.99/32 dev " + Name("w") + " metric 3"));
        ASSERT_TRUE(Shell("ip -n " + a + " neigh add 192.168.1.99 lladdr 02:00:00:00:00:99 dev " +
                          Name("w") + " nud permanent"));
    }

    // A process in A that starts a change to the receiver, which never
    // answers, and is killed with its entries in place (or left running).
    pid_t StartChangeThatHangs() {
        const pid_t child = ::fork();
        if (child == 0) {
            auto device = devicelib::MakeDevice(TYPE_R40);
            DeviceInfo info{};
            std::memcpy(info.address, RECEIVER.data(), 4);
            std::memcpy(info.mac, RECEIVER_MAC.data(), 6);
            info.statusPort = 6516;
            info.deviceType = TYPE_R40;
            device->Attach(info);
            devicelib::ApplyNetworkSettingsThroughAdapters(*device, NewSettings());
            ::_exit(0);
        }
        return child;
    }

    // Waits up to five seconds for A to hold a route and a neighbour entry
    // for the receiver.
    bool EntriesAppear() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            if (RoutesTo(RECEIVER) == 1 && NeighboursOf(RECEIVER) == 1) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    void Kill(pid_t child) {
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
    }
};

TEST_F(LeftoverRoutes, TheNextChangeRemovesWhatAKilledOneLeft) {
    Link(Name("w"), "10.0.0.7", b, Name("r"));
    EnterA();
    OperatorsOwnEntries();
    const Tables before = Snapshot();

    const pid_t child = StartChangeThatHangs();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(EntriesAppear());
    // While that change runs, its entries are its own.
    EXPECT_EQ(RemoveStaleRoutes(), 0);
    EXPECT_EQ(RoutesTo(RECEIVER), 1);
    Kill(child);
    ASSERT_EQ(RoutesTo(RECEIVER), 1) << "the killed change left its route";
    ASSERT_EQ(NeighboursOf(RECEIVER), 1) << "and its neighbour entry";

    // The receiver appears; the next change reaches it and leaves A as it was.
    ReceiverLink(Name("w"), Name("r"));
    auto rx = StartReceiverInB();
    DeviceHandle device = OpenReceiver();
    ASSERT_NE(device, nullptr);
    const NetworkSettings settings = NewSettings();
    EXPECT_TRUE(Succeeded(SetNetworkSettings(device, &settings)));
    EXPECT_EQ(rx->Address(), RECEIVER_AFTER);
    CloseDevice(device);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(NeighboursOf(RECEIVER), 0);
}

TEST_F(LeftoverRoutes, StartUpRemovesLeftoversAndNothingElse) {
    Link(Name("w"), "10.0.0.7", b, Name("r"));
    EnterA();
    OperatorsOwnEntries();
    const Tables before = Snapshot();

    const pid_t child = StartChangeThatHangs();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(EntriesAppear());
    Kill(child);
    EXPECT_NE(Snapshot(), before);

    EXPECT_EQ(RemoveStaleRoutes(), 2);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(NeighboursOf(RECEIVER), 0);
    EXPECT_EQ(RemoveStaleRoutes(), 0);
}

}  // namespace
}  // namespace devicelib_test
