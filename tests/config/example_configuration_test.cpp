// The configuration a receiver's status produces, byte for byte, through the
// operations the console's file operations use.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "config/r40_settings_to_xml_doc.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::TempDir;
using config_test::WriteBytes;

const char EXAMPLE[] =
    "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
    "<Device MACByte2=\"0\" MACByte1=\"96\" MACByte0=\"53\">\n"
    "    <DefaultGW>192.168.0.1</DefaultGW>\n"
    "    <DeviceIP>192.168.0.50</DeviceIP>\n"
    "    <DeviceSubNet>255.255.255.0</DeviceSubNet>\n"
    "    <UnicastStatus>255.255.255.255</UnicastStatus>\n"
    "    <UseIGMP>No</UseIGMP>\n"
    "    <Channel>14</Channel>\n"
    "    <PIDList Size=\"2\">\n"
    "        <PIDEntry Entry=\"481\" Control=\"0\">\n"
    "            <Destination_IP>192.168.0.20</Destination_IP>\n"
    "            <Destination_Port>601</Destination_Port>\n"
    "        </PIDEntry>\n"
    "        <PIDEntry Entry=\"482\" Control=\"1\">\n"
    "            <Destination_IP>0.0.0.0</Destination_IP>\n"
    "            <Destination_Port>0</Destination_Port>\n"
    "        </PIDEntry>\n"
    "    </PIDList>\n"
    "</Device>\n";

TrevanPidListRecord ExampleList() {
    TrevanPidListRecord list;
    std::memset(&list, 0, sizeof list);
    list.count = 2;
    list.pid[0] = 481;
    list.pid[1] = 482;
    list.control[0] = 0;
    list.control[1] = 1;
    const std::uint8_t destination[4] = {192, 168, 0, 20};
    std::memcpy(list.destination[0].address, destination, 4);
    list.destination[0].port = 601;
    return list;
}

// The order in which a configuration is created from a receiver's status.
void WriteExample(CR40SettingsToXmlDoc& doc) {
    const std::uint8_t mac[3] = {0, 96, 53};
    const std::uint8_t gateway[4] = {192, 168, 0, 1};
    const std::uint8_t device[4] = {192, 168, 0, 50};
    const std::uint8_t mask[4] = {255, 255, 255, 0};
    const std::uint8_t status[4] = {255, 255, 255, 255};
    EXPECT_TRUE(doc.WriteMACBytes(mac));
    EXPECT_TRUE(doc.WriteDefaultGW(gateway));
    EXPECT_TRUE(doc.WriteDeviceIP(device));
    EXPECT_TRUE(doc.WriteDeviceSubNet(mask));
    EXPECT_TRUE(doc.WriteUnicastStatus(status));
    EXPECT_TRUE(doc.WriteUseIGMP(false));
    EXPECT_TRUE(doc.WriteChannel(14));
    EXPECT_TRUE(doc.WritePIDListWithDestinations(ExampleList()));
}

TEST(ExampleConfiguration, WrittenFromStatusComesOutByteForByte) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("receiver.xml")), OPEN_OK);
    WriteExample(doc);
    EXPECT_EQ(ReadBytes(dir.File("receiver.xml")), EXAMPLE);
    // Nothing but the file itself is left in the directory.
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"receiver.xml"});
}

TEST(ExampleConfiguration, WritingIntoTheExampleAgainChangesNothing) {
    TempDir dir;
    WriteBytes(dir.File("receiver.xml"), EXAMPLE);
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("receiver.xml")), OPEN_OK);
    WriteExample(doc);
    EXPECT_EQ(ReadBytes(dir.File("receiver.xml")), EXAMPLE);
}

TEST(ExampleConfiguration, RoundTripsThroughLoadAndSaveAs) {
    TempDir dir;
    WriteBytes(dir.File("in.xml"), EXAMPLE);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("in.xml")));
    ASSERT_TRUE(doc.SaveAs(dir.File("out.xml")));
    EXPECT_EQ(ReadBytes(dir.File("out.xml")), EXAMPLE);
}

TEST(ExampleConfiguration, ReadsBackEveryValue) {
    TempDir dir;
    WriteBytes(dir.File("in.xml"), EXAMPLE);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("in.xml")));

    std::uint8_t address[4] = {};
    ASSERT_TRUE(doc.ReadDefaultGW(address));
    EXPECT_EQ(std::vector<int>(address, address + 4), (std::vector<int>{192, 168, 0, 1}));
    ASSERT_TRUE(doc.ReadDeviceIP(address));
    EXPECT_EQ(std::vector<int>(address, address + 4), (std::vector<int>{192, 168, 0, 50}));
    ASSERT_TRUE(doc.ReadDeviceSubNet(address));
    EXPECT_EQ(std::vector<int>(address, address + 4), (std::vector<int>{255, 255, 255, 0}));
    ASSERT_TRUE(doc.ReadUnicastStatus(address));
    EXPECT_EQ(std::vector<int>(address, address + 4), (std::vector<int>{255, 255, 255, 255}));
    std::int32_t igmp = -1;
    ASSERT_TRUE(doc.ReadUseIGMP(igmp));
    EXPECT_EQ(igmp, 0);
    std::int32_t channel = 0;
    ASSERT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 14);

    TrevanPidListRecord read;
    std::memset(&read, 0, sizeof read);
    ASSERT_TRUE(doc.ReadPIDListWithDestinations(read));
    const TrevanPidListRecord expected = ExampleList();
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0);
}

TEST(ExampleConfiguration, CarriageReturnLineEndsReadTheSame) {
    std::string crlf;
    for (const char c : std::string(EXAMPLE)) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    TempDir dir;
    WriteBytes(dir.File("windows.xml"), crlf);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("windows.xml")));
    std::int32_t channel = 0;
    EXPECT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 14);
    // Printed again, the lines end in line feeds only.
    ASSERT_TRUE(doc.SaveAs(dir.File("out.xml")));
    EXPECT_EQ(ReadBytes(dir.File("out.xml")), EXAMPLE);
}

TEST(ExampleConfiguration, StandardFormPrintsEachEntryOnOneLine) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("std.xml")), OPEN_OK);
    PidListRecord list;
    std::memset(&list, 0, sizeof list);
    list.count = 2;
    list.pid[0] = 481;
    list.pid[1] = 482;
    list.control[1] = 1;
    ASSERT_TRUE(doc.WritePIDList(list));
    EXPECT_EQ(ReadBytes(dir.File("std.xml")),
              "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
              "<Device>\n"
              "    <PIDList Size=\"2\">\n"
              "        <PIDEntry Entry=\"481\" Control=\"0\" />\n"
              "        <PIDEntry Entry=\"482\" Control=\"1\" />\n"
              "    </PIDList>\n"
              "</Device>\n");

    list.count = 0;
    ASSERT_TRUE(doc.WritePIDList(list));
    EXPECT_EQ(ReadBytes(dir.File("std.xml")),
              "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
              "<Device>\n"
              "    <PIDList Size=\"0\" />\n"
              "</Device>\n");
}

}  // namespace
