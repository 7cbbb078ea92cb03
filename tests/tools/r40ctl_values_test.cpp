// What r40ctl accepts as a receiver, an address or a PID, and which
// discovered receivers a RECEIVER names.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/r40ctl/receiver_lookup.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {
namespace {

const Mac MAC{0x02, 0x5C, 0xC1, 0x0A, 0xB0, 0x35};

TEST(ReceiverText, EveryCommonMacNotationAndNothingElse) {
    for (const char* text : {"02-5C-C1-0A-B0-35", "02:5c:c1:0a:b0:35", "2:5c:c1:a:b0:35",
                             "025CC10AB035", "025c.c10a.b035"}) {
        const auto mac = ParseMac(text);
        ASSERT_TRUE(mac) << text;
        EXPECT_EQ(*mac, MAC) << text;
    }
    for (const char* text : {"02-5C-C1-0A-B0", "02-5C-C1-0A-B0-35-00", "02-5C-C1-0A-B0-3G",
                             "025CC10AB03", "02:5c-c1:0a:b0:35", "025c.c10a.b03",
                             "02-5C-C1-0A-B0-"
                             "135"})
        EXPECT_FALSE(ParseMac(text)) << text;

    const auto tail = ParseMacTail("0a:B0:35");
    ASSERT_TRUE(tail);
    EXPECT_EQ((*tail)[2], 0x35);
    EXPECT_TRUE(ParseMacTail("0AB035"));
    EXPECT_FALSE(ParseMacTail("0AB0351"));
}

TEST(ReceiverText, AddressesAndMasksAreWholeAndInRange) {
    EXPECT_TRUE(ParseIpv4("192.168.0.50"));
    for (const char* text : {"192.168.0", "192.168.0.256", "192.168.0.5x", " 192.168.0.5",
                             "192..0.5", "-1.0.0.0", "1.2.3.4.5", "1234.1.1.1", ""})
        EXPECT_FALSE(ParseIpv4(text)) << text;
    EXPECT_TRUE(ParseSubnetMask("255.255.255.0"));
    EXPECT_TRUE(ParseSubnetMask("255.255.255.255"));
    EXPECT_TRUE(ParseSubnetMask("128.0.0.0"));
    for (const char* text : {"255.0.255.0", "0.0.0.0", "255.255.255.1", "0.255.255.255"})
        EXPECT_FALSE(ParseSubnetMask(text)) << text;
}

TEST(ReceiverText, PidsAndTheirDestinations) {
    std::string why;
    const auto hex = ParsePidRequest("0x1E1", &why);
    ASSERT_TRUE(hex) << why;
    EXPECT_EQ(hex->pid, 481);
    EXPECT_FALSE(hex->destination);
    const auto forwarded = ParsePidRequest("481=239.1.2.3:1234", &why);
    ASSERT_TRUE(forwarded) << why;
    EXPECT_EQ(+forwarded->destination->port, 1234);
    EXPECT_EQ(+forwarded->destination->address[3], 3);
    EXPECT_TRUE(ParsePidRequest("32", &why));
    EXPECT_TRUE(ParsePidRequest("8190", &why));
    for (const char* text :
         {"31", "8191", "8192", "0x1FFF", "0xZZ", "0x", "-40", "40.5", "481=", "481=239.1.2.3",
          "481=239.1.2.3:0", "481=239.1.2.3:65536", "481=host:80"}) {
        why.clear();
        EXPECT_FALSE(ParsePidRequest(text, &why)) << text;
        EXPECT_FALSE(why.empty()) << text;
    }
}

DeviceInfo Entry(std::uint8_t last, std::uint8_t macByte0, std::uint16_t port) {
    DeviceInfo entry{};
    const std::uint8_t address[4] = {10, 0, 0, last};
    std::memcpy(entry.address, address, 4);
    const std::uint8_t mac[6] = {macByte0, 0x5C, 0xC1, 0x00, 0x00, last};
    std::memcpy(entry.mac, mac, 6);
    entry.statusPort = port;
    entry.deviceType = TYPE_R40;
    return entry;
}

TEST(ReceiverLookup, AQueryNamesTheReceiversItMatchesOnThePortAsked) {
    DeviceList list{};
    list.entries[0] = Entry(20, 0x02, 6516);
    list.entries[1] = Entry(21, 0x02, 8309);
    // Another device at the same address with the same last three bytes
    // (discovery lists foreign MAC addresses too).
    list.entries[2] = Entry(20, 0x0A, 6516);
    list.count = 3;

    const auto byAddress = ParseReceiverQuery("10.0.0.21");
    ASSERT_TRUE(byAddress);
    EXPECT_EQ(MatchingEntries(list, *byAddress, std::nullopt).size(), 1u);
    EXPECT_TRUE(MatchingEntries(list, *byAddress, 6516).empty());

    const auto byMac = ParseReceiverQuery("0A-5C-C1-00-00-14");
    ASSERT_TRUE(byMac);
    const auto one = MatchingEntries(list, *byMac, std::nullopt);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(+one[0].mac[0], 0x0A);

    const auto byKey = ParseReceiverQuery("00-00-14");
    ASSERT_TRUE(byKey);
    EXPECT_EQ(MatchingEntries(list, *byKey, std::nullopt).size(), 2u);

    // A count beyond the list's room is not read past.
    list.count = 65535;
    EXPECT_EQ(MatchingEntries(list, *byKey, std::nullopt).size(), 2u);
    EXPECT_FALSE(ParseReceiverQuery("receiver"));
}

}  // namespace
}  // namespace r40ctl
