// Discovery passes over emulated receivers on the ten status ports.
#include <gtest/gtest.h>

#include <cstring>

#include "devicelib/device_identifier.h"
#include "platform/clock/clock.h"
#include "tests/devicelib/datagram_transmitter.h"
#include "tests/devicelib/receiver_fixture.h"
#include "tests/support/private_network.h"

namespace devicelib_test {
namespace {

sim::Ipv4 Host(int n) {
    return {127, 0, static_cast<std::uint8_t>(n / 250), static_cast<std::uint8_t>(1 + n % 250)};
}

sim::Ipv4 AddressOf(const DeviceInfo& entry) {
    return {entry.address[0], entry.address[1], entry.address[2], entry.address[3]};
}

bool Listed(const DeviceList& list, const sim::EmulatedReceiver& rx, int* index = nullptr) {
    const sim::MacAddress mac = rx.Mac();
    for (int i = 0; i < list.count; ++i) {
        if (std::memcmp(list.entries[i].mac, mac.data(), 6) == 0) {
            if (index) *index = i;
            return true;
        }
    }
    return false;
}

TEST(Discovery, NothingHeardGivesAnEmptyListAfterAboutTwoSeconds) {
    DeviceList list{};
    list.count = 7;
    const auto started = platform::clock::NowMilliseconds();
    EXPECT_EQ(DiscoverDevices(&list), 1);
    const auto elapsed = platform::clock::NowMilliseconds() - started;
    EXPECT_EQ(list.count, 0);
    EXPECT_GE(elapsed, 1000);
    EXPECT_LE(elapsed, 4000);
}

TEST(Discovery, ListsEachReceiverOnceWithItsPortTypeAndAddress) {
    auto r40 = StartReceiver(sim::Model::R40, {127, 0, 0, 110}, 6516);
    auto r40v = StartReceiver(sim::Model::R40V, {127, 0, 0, 111}, 6516);
    auto t22 = StartReceiver(sim::Model::T22V3, {127, 0, 0, 112}, 9077);
    auto v2 = StartReceiver(sim::Model::T22V2, {127, 0, 0, 113}, 18037);
    DeviceList list{};
    EXPECT_EQ(DiscoverDevices(&list), 1);
    ASSERT_EQ(list.count, 4);
    int i40 = -1, i40v = -1, i22 = -1, iv2 = -1;
    ASSERT_TRUE(Listed(list, *r40, &i40));
    ASSERT_TRUE(Listed(list, *r40v, &i40v));
    ASSERT_TRUE(Listed(list, *t22, &i22));
    ASSERT_TRUE(Listed(list, *v2, &iv2));
    // Earlier ports first.
    EXPECT_LT(std::max(i40, i40v), i22);
    EXPECT_LT(i22, iv2);
    EXPECT_EQ(list.entries[i40].deviceType, TYPE_R40);
    EXPECT_EQ(list.entries[i40v].deviceType, TYPE_R40_TREVAN);
    EXPECT_EQ(list.entries[i22].deviceType, TYPE_T22_V3);
    EXPECT_EQ(list.entries[iv2].deviceType, TYPE_T22_V2);
    EXPECT_EQ(list.entries[i22].statusPort, 9077);
    EXPECT_EQ(AddressOf(list.entries[i40]), r40->Address());
    EXPECT_EQ(AddressOf(list.entries[iv2]), v2->Address());
}

TEST(Discovery, SameMacOnTwoPortsIsListedForTheEarlierPort) {
    auto early = StartReceiver(sim::Model::R40, {127, 0, 0, 114}, 8309);
    auto late = StartReceiver(sim::Model::R40, {127, 0, 0, 115}, 13429);
    late->SetMac(early->Mac());
    DeviceList list{};
    DiscoverDevices(&list);
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.entries[0].statusPort, 8309);
    EXPECT_EQ(AddressOf(list.entries[0]), early->Address());
}

TEST(Discovery, ModelCode35IsNeitherListedNorHidesOthers) {
    // The stranger sends on the first port, every few milliseconds.
    Datagram stranger(170);
    stranger.U8(0x20, 0x35).Raw(0x30, {0x02, 0x5C, 0xC1, 0, 0, 0x35});
    Transmitter transmitter({127, 0, 0, 116}, 6516, stranger.bytes);
    auto later = StartReceiver(sim::Model::T22V3, {127, 0, 0, 117}, 8565);
    auto same = StartReceiver(sim::Model::R40, {127, 0, 0, 127}, 6516);
    DeviceList list{};
    DiscoverDevices(&list);
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.entries[0].statusPort, 6516);
    EXPECT_EQ(AddressOf(list.entries[0]), same->Address());
    EXPECT_EQ(list.entries[1].statusPort, 8565);
}

TEST(Discovery, JunkOnTheStatusPortsHidesNoReceiverAndDoesNotProlongThePass) {
    NoiseSource noise({127, 0, 0, 126}, {6516, 8309, 9077}, 50);
    // Junk alone: the waits end when they would have without it.
    const auto started = platform::clock::NowMilliseconds();
    DeviceList list{};
    DiscoverDevices(&list);
    EXPECT_EQ(list.count, 0);
    EXPECT_LE(platform::clock::NowMilliseconds() - started, 4000);

    auto r40 = StartReceiver(sim::Model::R40, {127, 0, 0, 123}, 6516);
    auto r40v = StartReceiver(sim::Model::R40V, {127, 0, 0, 124}, 6516);
    auto t22 = StartReceiver(sim::Model::T22V3, {127, 0, 0, 125}, 9077);
    for (int pass = 0; pass < 4; ++pass) {
        list = DeviceList{};
        DiscoverDevices(&list);
        EXPECT_EQ(list.count, 3) << "pass " << pass;
        EXPECT_TRUE(Listed(list, *r40)) << "pass " << pass;
        EXPECT_TRUE(Listed(list, *r40v)) << "pass " << pass;
        EXPECT_TRUE(Listed(list, *t22)) << "pass " << pass;
    }
    // The junk kept coming all along: 150 a second over five passes where
    // the machine keeps up, fewer under Wine on a loaded one (780 seen).
    EXPECT_GT(noise.Sent(), 300u);
}

TEST(Discovery, ModelCodesOfThePesModels) {
    auto trevan = StartReceiver(sim::Model::Trevan, {127, 0, 0, 118}, 6516);
    auto ca = StartReceiver(sim::Model::T22CA, {127, 0, 0, 119}, 6516);
    auto ca34 = StartReceiver(sim::Model::T22CA, {127, 0, 0, 120}, 6516);
    ca34->SetModelCodeOverride(0x34);
    DeviceList list{};
    DiscoverDevices(&list);
    int it = -1, ic = -1, ic34 = -1;
    ASSERT_TRUE(Listed(list, *trevan, &it));
    ASSERT_TRUE(Listed(list, *ca, &ic));
    ASSERT_TRUE(Listed(list, *ca34, &ic34));
    EXPECT_EQ(list.entries[it].deviceType, TYPE_TREVAN);
    EXPECT_EQ(list.entries[ic].deviceType, TYPE_T22CA);
    EXPECT_EQ(list.entries[ic34].deviceType, TYPE_TREVAN);  // 0x34 always reads as 6
}

TEST(Discovery, SixtyFourReceiversFillTheListAndTheNextIsLeftOut) {
    std::vector<std::unique_ptr<sim::EmulatedReceiver>> receivers;
    for (int i = 0; i < 65; ++i) {
        sim::ReceiverConfig config = ConfigFor(sim::Model::R40, Host(i), 6516);
        config.statusInterval = 100ms;
        std::string error;
        receivers.push_back(StartOnFreePorts(config, &error));
        ASSERT_NE(receivers.back(), nullptr) << error;
    }
    auto onLaterPort = StartReceiver(sim::Model::R40V, {127, 1, 0, 1}, 9333);
    DeviceList list{};
    DiscoverDevices(&list);
    EXPECT_EQ(list.count, 64);
    int heard = 0;
    for (const auto& rx : receivers) heard += Listed(list, *rx) ? 1 : 0;
    EXPECT_EQ(heard, 64);
    EXPECT_FALSE(Listed(list, *onLaterPort)) << "the full list closes the later ports unread";
    for (int i = 0; i < list.count; ++i)
        for (int k = i + 1; k < list.count; ++k)
            EXPECT_NE(std::memcmp(list.entries[i].mac, list.entries[k].mac, 6), 0);
}

// Hosts of a LAN, off loopback: 10.26.0.0/16 on this namespace's lo.
bool LanAddresses(std::string* why) {
    return test_support::AddLocalNetwork("10.26.0.1/16", why);
}

int ListedFrom(const DeviceList& list, const sim::Ipv4& source) {
    int n = 0;
    for (int i = 0; i < list.count; ++i) n += AddressOf(list.entries[i]) == source ? 1 : 0;
    return n;
}

// One host claiming 200 receivers' MAC addresses at 2000 datagrams a second
// takes MAX_MACS_PER_SOURCE places and hides no receiver that sends once a
// second; what it was refused is counted.
TEST(Discovery, OneHostClaimingManyMacAddressesTakesFourPlaces) {
    std::string why;
    if (!LanAddresses(&why)) GTEST_SKIP() << why;
    sim::ReceiverConfig config = ConfigFor(sim::Model::R40, {127, 0, 0, 130}, 6516);
    config.statusInterval = 1s;
    auto real = StartOnFreePorts(config, &why);
    ASSERT_NE(real, nullptr) << why;
    const sim::Ipv4 spoofer{10, 26, 0, 5};
    ForgedReceivers forged({spoofer}, 200, 2000);
    platform::clock::SleepMilliseconds(300);

    DeviceList list{};
    EXPECT_EQ(DiscoverDevices(&list), 1);
    EXPECT_EQ(ListedFrom(list, spoofer), MAX_MACS_PER_SOURCE);
    EXPECT_TRUE(Listed(list, *real));

    DiscoveryCounts counts{};
    EXPECT_EQ(DiscoverDevicesKeeping(&list, nullptr, &counts), 1);
    EXPECT_EQ(ListedFrom(list, spoofer), MAX_MACS_PER_SOURCE);
    EXPECT_TRUE(Listed(list, *real));
    EXPECT_GT(counts.sourceLimit, 0u);
    EXPECT_EQ(counts.listFull, 0u);
    // Its forged receivers, once listed, are known to a caller that keeps
    // its list; they still never make the host's share grow.
    DeviceList kept = list;
    for (int pass = 0; pass < 3; ++pass) {
        const DeviceList previous = kept;
        DiscoverDevicesKeeping(&kept, &previous, &counts);
        EXPECT_EQ(ListedFrom(kept, spoofer), MAX_MACS_PER_SOURCE) << "pass " << pass;
        EXPECT_TRUE(Listed(kept, *real));
    }
}

// Forged sources, one MAC address each, can fill the list; a receiver the
// caller listed before is listed all the same, in the place of a newcomer.
TEST(Discovery, AReceiverListedBeforeKeepsItsPlaceInAFullList) {
    std::string why;
    if (!LanAddresses(&why)) GTEST_SKIP() << why;
    sim::ReceiverConfig config = ConfigFor(sim::Model::R40V, {127, 0, 0, 131}, 6516);
    config.statusInterval = 500ms;
    auto real = StartOnFreePorts(config, &why);
    ASSERT_NE(real, nullptr) << why;
    std::vector<sim::Ipv4> sources;
    for (int i = 1; i <= 80; ++i) sources.push_back({10, 26, 1, static_cast<std::uint8_t>(i)});
    ForgedReceivers forged(sources, 1, 4000);
    platform::clock::SleepMilliseconds(300);

    DeviceList known{};
    known.count = 1;
    known.entries[0] = InfoFor(*real);
    DeviceList list{};
    DiscoveryCounts counts{};
    EXPECT_EQ(DiscoverDevicesKeeping(&list, &known, &counts), 1);
    EXPECT_EQ(list.count, MAX_DEVICES);
    EXPECT_TRUE(Listed(list, *real));
    EXPECT_GT(counts.listFull, 0u) << "the newcomers left out are counted";
    // The known list may be the list itself, as a caller keeps it.
    EXPECT_EQ(DiscoverDevicesKeeping(&list, &list, &counts), 1);
    EXPECT_TRUE(Listed(list, *real));
}

TEST(Discovery, ShortDatagramIsNotListedUnderStaleBytes) {
    // First a full datagram from one sender, then from another a datagram
    // that ends before the MAC address.
    auto full = StartReceiver(sim::Model::R40, {127, 0, 0, 121}, 6516);
    Datagram cut(0x34);
    cut.U8(0x20, 0x43);
    Transmitter transmitter({127, 0, 0, 122}, 6516, cut.bytes);
    DeviceList list{};
    DiscoverDevices(&list);
    // The full receiver is listed, from its own address; nothing is listed
    // from the cut datagram's sender.
    int index = -1;
    ASSERT_TRUE(Listed(list, *full, &index));
    EXPECT_EQ(AddressOf(list.entries[index]), full->Address());
    EXPECT_EQ(list.entries[index].deviceType, TYPE_R40);
    EXPECT_EQ(list.count, 1);
    // (Under Wine both send from 127.0.0.1: only the count tells them apart.)
    for (int i = 0; i < list.count; ++i) EXPECT_NE(list.entries[i].address[3], 122);
}

TEST(DeviceIdentifier, RecognisesModelCodes) {
    using devicelib::CDeviceIdentifier;
    EXPECT_EQ(CDeviceIdentifier::TypeFromModelCode(0x32), TYPE_T22_V2);
    EXPECT_EQ(CDeviceIdentifier::TypeFromModelCode(0x42), TYPE_UNRECOGNISED);
    EXPECT_EQ(CDeviceIdentifier::TypeFromModelCode(0x54), TYPE_T22CA);
    CDeviceIdentifier identifier;
    EXPECT_EQ(identifier.SecondsListening(), RC_NOT_LISTENING);
    EXPECT_EQ(identifier.NewPidList(), nullptr);
    EXPECT_EQ(identifier.DvbMacBytes(), nullptr);
}

}  // namespace
}  // namespace devicelib_test
