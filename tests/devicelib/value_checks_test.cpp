// What a receiver can be given: the checks every caller shares, and the
// entry points that refuse what fails them before anything leaves the
// socket.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

NetworkSettings Good() {
    NetworkSettings s{};
    const std::uint8_t address[4] = {192, 168, 1, 20}, mask[4] = {255, 255, 255, 0},
                       gateway[4] = {192, 168, 1, 1}, copy[4] = {255, 255, 255, 255};
    std::memcpy(s.deviceAddress, address, 4);
    std::memcpy(s.subnetMask, mask, 4);
    std::memcpy(s.defaultGateway, gateway, 4);
    std::memcpy(s.unicastStatusAddress, copy, 4);
    s.statusPort = s.listenPort = 6516;
    return s;
}

void Put(std::uint8_t field[4], std::initializer_list<int> octets) {
    int i = 0;
    for (int octet : octets) field[i++] = static_cast<std::uint8_t>(octet);
}

TEST(CheckNetworkSettings, RefusesEveryValueNoReceiverCanUse) {
    struct Case {
        const char* what;
        void (*change)(NetworkSettings&);
        int32_t expected;
    };
    const std::vector<Case> cases{
        {"a good set", [](NetworkSettings&) {}, 0},
        {"loopback receiver",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {127, 0, 0, 20});
         },
         0},
        {"no gateway",
         [](NetworkSettings& s) {
             Put(s.defaultGateway, {0, 0, 0, 0});
         },
         0},
        {"gateway elsewhere",
         [](NetworkSettings& s) {
             Put(s.defaultGateway, {10, 0, 0, 1});
         },
         0},
        {"status copy",
         [](NetworkSettings& s) {
             Put(s.unicastStatusAddress, {10, 1, 2, 3});
         },
         0},
        {"/30",
         [](NetworkSettings& s) {
             Put(s.subnetMask, {255, 255, 255, 252});
             Put(s.deviceAddress, {192, 168, 1, 21});
         },
         0},
        {"limited broadcast",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {255, 255, 255, 255});
         },
         ERR_NET_ADDRESS_INVALID},
        {"multicast",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {224, 0, 0, 1});
         },
         ERR_NET_ADDRESS_INVALID},
        {"reserved",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {240, 0, 0, 1});
         },
         ERR_NET_ADDRESS_INVALID},
        {"this network",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {0, 0, 0, 1});
         },
         ERR_NET_ADDRESS_INVALID},
        {"subnet broadcast",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {127, 0, 0, 255});
         },
         ERR_NET_ADDRESS_INVALID},
        {"host part zero",
         [](NetworkSettings& s) {
             Put(s.deviceAddress, {192, 168, 1, 0});
         },
         ERR_NET_HOST_PART_ZERO},
        {"holes in the mask",
         [](NetworkSettings& s) {
             Put(s.subnetMask, {255, 0, 255, 0});
         },
         ERR_NET_MASK_INVALID},
        {"/31",
         [](NetworkSettings& s) {
             Put(s.subnetMask, {255, 255, 255, 254});
             Put(s.deviceAddress, {192, 168, 1, 21});
         },
         ERR_NET_MASK_INVALID},
        {"no mask",
         [](NetworkSettings& s) {
             Put(s.subnetMask, {0, 0, 0, 0});
             Put(s.deviceAddress, {10, 0, 0, 1});
         },
         ERR_NET_MASK_INVALID},
        {"multicast gateway",
         [](NetworkSettings& s) {
             Put(s.defaultGateway, {239, 1, 1, 1});
         },
         ERR_NET_GATEWAY_INVALID},
        {"gateway is the broadcast",
         [](NetworkSettings& s) {
             Put(s.defaultGateway, {192, 168, 1, 255});
         },
         ERR_NET_GATEWAY_INVALID},
        {"status copy to 0.0.0.0",
         [](NetworkSettings& s) {
             Put(s.unicastStatusAddress, {0, 0, 0, 0});
         },
         ERR_NET_STATUS_COPY_INVALID},
        {"status copy to a group",
         [](NetworkSettings& s) {
             Put(s.unicastStatusAddress, {239, 0, 0, 1});
         },
         ERR_NET_STATUS_COPY_INVALID},
        {"port", [](NetworkSettings& s) { s.listenPort = 5000; }, ERR_PORT_NOT_IN_TABLE},
        {"status port", [](NetworkSettings& s) { s.statusPort = 0; }, ERR_PORT_NOT_IN_TABLE},
    };
    for (const Case& c : cases) {
        NetworkSettings s = Good();
        c.change(s);
        EXPECT_EQ(CheckNetworkSettings(&s), c.expected) << c.what;
    }
    EXPECT_EQ(CheckNetworkSettings(nullptr), RC_FAILED);
}

TrevanPidListRecord Forwarding(std::initializer_list<std::uint16_t> pids) {
    TrevanPidListRecord list{};
    for (auto& pid : list.pid) pid = NULL_PID;
    for (std::uint16_t pid : pids) {
        list.pid[list.count] = pid;
        list.control[list.count] = 1;
        ++list.count;
    }
    return list;
}

TEST(CheckPidList, RefusesEveryEntryNoReceiverCanUseAndNamesIt) {
    struct Case {
        const char* what;
        std::uint16_t type;
        TrevanPidListRecord list;
        int32_t expected;
        int32_t entry;
    };
    auto with = [](TrevanPidListRecord list, auto change) {
        change(list);
        return list;
    };
    const std::vector<Case> cases{
        {"a good list", TYPE_R40_TREVAN, Forwarding({32, 0x1FFE, NULL_PID}), 0, -1},
        {"the PAT and the SDT", TYPE_R40_TREVAN, Forwarding({0, 0x11, 481}), 0, -1},
        {"the null PID", TYPE_R40_TREVAN, Forwarding({481, NULL_PID, NULL_PID}), 0, -1},
        {"above 13 bits", TYPE_R40_TREVAN, Forwarding({481, 482, 0x2000}), ERR_PID_LIST, 2},
        {"twice", TYPE_R40_TREVAN, Forwarding({0x100, 0x200, 0x100}), ERR_PID_LIST, 2},
        {"negative count", TYPE_R40_TREVAN, with(Forwarding({}), [](auto& l) { l.count = -1; }),
         ERR_PID_LIST, -1},
        {"33", TYPE_R40_TREVAN, with(Forwarding({}), [](auto& l) { l.count = 33; }),
         ERR_PID_LIST_TOO_LONG, -1},
        {"control 8", TYPE_R40_TREVAN, with(Forwarding({481}), [](auto& l) { l.control[0] = 8; }),
         ERR_PID_FORWARDING, 0},
        {"video PID to a group", TYPE_R40_TREVAN,
         with(Forwarding({481}),
              [](auto& l) {
                  l.control[0] = 0;
                  Put(l.destination[0].address, {239, 1, 1, 1});
                  l.destination[0].port = 1234;
              }),
         0, -1},
        {"port 0", TYPE_R40_TREVAN,
         with(Forwarding({481, 482}),
              [](auto& l) {
                  Put(l.destination[1].address, {10, 0, 0, 5});
              }),
         ERR_PID_FORWARDING, 1},
        {"broadcast", TYPE_R40_TREVAN,
         with(Forwarding({481}),
              [](auto& l) {
                  Put(l.destination[0].address, {255, 255, 255, 255});
                  l.destination[0].port = 80;
              }),
         ERR_PID_FORWARDING, 0},
        {"port without address", TYPE_T22CA,
         with(Forwarding({481}), [](auto& l) { l.destination[0].port = 80; }), ERR_PID_FORWARDING,
         0},
        {"unknown type", 9, Forwarding({481}), ERR_BAD_TYPE, -1},
    };
    for (const Case& c : cases) {
        int32_t entry = 99;
        EXPECT_EQ(CheckPidList(c.type, &c.list, &entry), c.expected) << c.what;
        EXPECT_EQ(entry, c.entry) << c.what;
    }

    // The standard form: no destinations to judge; 16 entries for an R40,
    // 32 for a T22 (2.x).
    PidListRecord standard{};
    for (int i = 0; i < 17; ++i) standard.pid[i] = static_cast<std::uint16_t>(100 + i);
    standard.count = 17;
    EXPECT_EQ(CheckPidList(TYPE_R40, &standard, nullptr), ERR_PID_LIST_TOO_LONG);
    EXPECT_EQ(CheckPidList(TYPE_T22_V2, &standard, nullptr), 0);
    standard.control[3] = 200;  // not sent by these models
    EXPECT_EQ(CheckPidList(TYPE_T22_V2, &standard, nullptr), 0);
    EXPECT_EQ(CheckPidList(TYPE_R40, nullptr, nullptr), RC_FAILED);
}

// The entry points refuse the same values, and nothing reaches the receiver.
TEST(CheckedEntryPoints, RefuseBeforeAnythingIsSent) {
    auto rx = StartReceiver(sim::Model::R40V, {127, 0, 0, 88});
    OpenedDevice device;
    Open(*rx, device);
    NetworkSettings broadcast = Good();
    Put(broadcast.deviceAddress, {255, 255, 255, 255});
    EXPECT_EQ(SetNetworkSettings(device.handle, &broadcast), ERR_NET_ADDRESS_INVALID);
    NetworkSettings holes = Good();
    Put(holes.subnetMask, {255, 0, 255, 0});
    EXPECT_EQ(SetNetworkSettings(device.handle, &holes), ERR_NET_MASK_INVALID);

    TrevanPidListRecord twice = Forwarding({481, 482, 481});
    EXPECT_EQ(SetPidList(device.handle, &twice), ERR_PID_LIST);
    TrevanPidListRecord nowhere = Forwarding({481});
    nowhere.destination[0].port = 4464;
    EXPECT_EQ(SetPidList(device.handle, &nowhere), ERR_PID_FORWARDING);
    EXPECT_TRUE(rx->Commands().empty()) << "a refused value reached the receiver";

    TrevanPidListRecord good = Forwarding({481, 482});
    EXPECT_TRUE(Succeeded(SetPidList(device.handle, &good)));
}

}  // namespace
}  // namespace devicelib_test
