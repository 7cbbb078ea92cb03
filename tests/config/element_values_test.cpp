// Elements with text under the root: addresses, IGMP, channel and the MAC
// attributes; where a write puts them and how reads convert them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/r40_settings_to_xml_doc.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::TempDir;
using config_test::WriteBytes;

// A document loaded from a root holding the given children.
class LoadedDocument : public ::testing::Test {
  protected:
    bool LoadRoot(const std::string& children) {
        WriteBytes(m_dir.File("c.xml"), "<Device>" + children + "</Device>");
        return m_doc.Load(m_dir.File("c.xml"));
    }
    TempDir m_dir;
    CR40SettingsToXmlDoc m_doc;
};

using AddressReads = LoadedDocument;

TEST_F(AddressReads, ConvertLikeDottedDecimalScanning) {
    struct Case {
        const char* text;
        bool ok;
        std::vector<int> bytes;  // what the four bytes hold afterwards
    };
    const Case cases[] = {
        {"192.168.0.50", true, {192, 168, 0, 50}},
        {" 10.1.2.3 is the receiver", true, {10, 1, 2, 3}},
        {"10. 1. 2. 3", true, {10, 1, 2, 3}},
        {"-1.0.0.-2", true, {255, 0, 0, 254}},
        {"+7.8.9.10", true, {7, 8, 9, 10}},
        {"1.2.3", false, {1, 2, 3, 9}},
        {"10.20.256.1", false, {10, 20, 9, 9}},  // bytes before the bad number are stored
        {"99999999999.1.1.1", false, {9, 9, 9, 9}},
        {"1 .2.3.4", false, {1, 9, 9, 9}},
        {"a.b.c.d", false, {9, 9, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(LoadRoot(std::string("<DeviceIP>") + c.text + "</DeviceIP>"));
        std::uint8_t address[4] = {9, 9, 9, 9};
        EXPECT_EQ(m_doc.ReadDeviceIP(address), c.ok);
        EXPECT_EQ(std::vector<int>(address, address + 4), c.bytes);
    }
}

TEST_F(AddressReads, EachElementOfTheFamilyReadsItsOwnName) {
    ASSERT_TRUE(
        LoadRoot("<DeviceIP>1.1.1.1</DeviceIP><DeviceSubNet>2.2.2.2</DeviceSubNet>"
                 "<DefaultGW>3.3.3.3</DefaultGW><UnicastStatus>4.4.4.4</UnicastStatus>"));
    std::uint8_t a[4] = {};
    ASSERT_TRUE(m_doc.ReadDeviceIP(a));
    EXPECT_EQ(a[0], 1);
    ASSERT_TRUE(m_doc.ReadDeviceSubNet(a));
    EXPECT_EQ(a[0], 2);
    ASSERT_TRUE(m_doc.ReadDefaultGW(a));
    EXPECT_EQ(a[0], 3);
    ASSERT_TRUE(m_doc.ReadUnicastStatus(a));
    EXPECT_EQ(a[0], 4);
}

TEST_F(AddressReads, FailWithoutElementOrText) {
    for (const char* children : {"", "<deviceip>1.2.3.4</deviceip>", "<DeviceIP />",
                                 "<DeviceIP><Inner>1.2.3.4</Inner></DeviceIP>"}) {
        SCOPED_TRACE(children);
        ASSERT_TRUE(LoadRoot(children));
        std::uint8_t address[4] = {};
        EXPECT_FALSE(m_doc.ReadDeviceIP(address));
    }
}

TEST_F(LoadedDocument, ReadsFailOneByOne) {
    ASSERT_TRUE(
        LoadRoot("<DeviceIP>300.1.1.1</DeviceIP><Channel>14</Channel>"
                 "<UseIGMP>Yes</UseIGMP>"));
    std::uint8_t address[4] = {};
    std::int32_t channel = 0, igmp = 0;
    EXPECT_FALSE(m_doc.ReadDeviceIP(address));
    EXPECT_FALSE(m_doc.ReadDefaultGW(address));
    EXPECT_TRUE(m_doc.ReadChannel(channel));
    EXPECT_TRUE(m_doc.ReadUseIGMP(igmp));
    EXPECT_EQ(igmp, 1);
}

TEST_F(LoadedDocument, UseIgmpIsOnOnlyForYesInAnyCase) {
    const std::pair<const char*, int> cases[] = {
        {"Yes", 1}, {"YES", 1},  {"yes", 1},  {"yEs", 1}, {"No", 0},
        {"1", 0},   {"true", 0}, {"Yess", 0}, {"Ye", 0},  {"Yes please", 0},
    };
    for (const auto& [text, on] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(LoadRoot(std::string("<UseIGMP>") + text + "</UseIGMP>"));
        std::int32_t value = -1;
        EXPECT_TRUE(m_doc.ReadUseIGMP(value));
        EXPECT_EQ(value, on);
    }
    ASSERT_TRUE(LoadRoot("<UseIGMP />"));
    std::int32_t value = -1;
    EXPECT_FALSE(m_doc.ReadUseIGMP(value));
}

TEST_F(LoadedDocument, ChannelIsStoredWhateverItsValueButChecked) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2", true, 2},
        {"69", true, 69},
        {" +14 MHz", true, 14},
        {"1", false, 1},
        {"70", false, 70},
        {"-3", false, -3},
        {"abc", false, 0},
        {"0x20", false, 0},
        {"99999999999", false, 2147483647},
        {"-99999999999", false, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(LoadRoot(std::string("<Channel>") + c.text + "</Channel>"));
        std::int32_t channel = 12345;
        EXPECT_EQ(m_doc.ReadChannel(channel), c.ok);
        EXPECT_EQ(channel, c.value);
    }
}

TEST(ElementWrites, ChannelOutsideTheRangeIsWrittenAndReadBackAsFailure) {
    TempDir dir;
    for (const std::int32_t value : {1, 70}) {
        CR40SettingsToXmlDoc doc;
        ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
        EXPECT_TRUE(doc.WriteChannel(value));
        CR40SettingsToXmlDoc reader;
        ASSERT_TRUE(reader.Load(dir.File("c.xml")));
        std::int32_t channel = 0;
        EXPECT_FALSE(reader.ReadChannel(channel));
        EXPECT_EQ(channel, value);
    }
}

TEST(ElementWrites, RewritingMovesTheElementLastAndKeepsOneCopy) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    const std::uint8_t first[4] = {10, 0, 0, 1};
    const std::uint8_t second[4] = {10, 0, 0, 2};
    ASSERT_TRUE(doc.WriteDeviceIP(first));
    ASSERT_TRUE(doc.WriteChannel(14));
    ASSERT_TRUE(doc.WriteDeviceIP(second));
    EXPECT_EQ(ReadBytes(dir.File("c.xml")),
              "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
              "<Device>\n"
              "    <Channel>14</Channel>\n"
              "    <DeviceIP>10.0.0.2</DeviceIP>\n"
              "</Device>\n");
}

TEST(ElementWrites, MacAttributesKeepTheirPlaceAndForeignContentStays) {
    TempDir dir;
    WriteBytes(dir.File("c.xml"),
               "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
               "<!-- edited by hand -->\n"
               "<Device MACByte0=\"1\" Site=\"north &amp; east\" MACByte2=\"2\">\n"
               "  <Channel>9</Channel>\n"
               "  <Note kind='x'>keep me</Note>\n"
               "  <!-- inner -->\n"
               "</Device>\n");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    const std::uint8_t mac[3] = {0, 96, 53};
    ASSERT_TRUE(doc.WriteMACBytes(mac));
    ASSERT_TRUE(doc.WriteChannel(14));
    ASSERT_TRUE(doc.WriteMACBytes(mac));
    EXPECT_EQ(ReadBytes(dir.File("c.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
              "<!-- edited by hand -->\n"
              "<Device MACByte0=\"53\" Site=\"north &amp; east\" MACByte2=\"0\" "
              "MACByte1=\"96\">\n"
              "    <Note kind=\"x\">keep me</Note>\n"
              "    <!-- inner -->\n"
              "    <Channel>14</Channel>\n"
              "</Device>\n");
}

TEST(ElementWrites, WrittenValuesReadBack) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    const std::uint8_t device[4] = {0, 255, 7, 128};
    const std::uint8_t mask[4] = {255, 255, 0, 0};
    const std::uint8_t gateway[4] = {172, 16, 0, 1};
    const std::uint8_t status[4] = {239, 1, 2, 3};
    ASSERT_TRUE(doc.WriteDeviceIP(device));
    ASSERT_TRUE(doc.WriteDeviceSubNet(mask));
    ASSERT_TRUE(doc.WriteDefaultGW(gateway));
    ASSERT_TRUE(doc.WriteUnicastStatus(status));
    ASSERT_TRUE(doc.WriteUseIGMP(true));
    EXPECT_NE(ReadBytes(dir.File("c.xml")).find("    <UseIGMP>Yes</UseIGMP>\n"), std::string::npos);

    CR40SettingsToXmlDoc reader;
    ASSERT_TRUE(reader.Load(dir.File("c.xml")));
    std::uint8_t a[4] = {};
    ASSERT_TRUE(reader.ReadDeviceIP(a));
    EXPECT_EQ(std::vector<int>(a, a + 4), (std::vector<int>{0, 255, 7, 128}));
    ASSERT_TRUE(reader.ReadDeviceSubNet(a));
    EXPECT_EQ(std::vector<int>(a, a + 4), (std::vector<int>{255, 255, 0, 0}));
    ASSERT_TRUE(reader.ReadDefaultGW(a));
    EXPECT_EQ(std::vector<int>(a, a + 4), (std::vector<int>{172, 16, 0, 1}));
    ASSERT_TRUE(reader.ReadUnicastStatus(a));
    EXPECT_EQ(std::vector<int>(a, a + 4), (std::vector<int>{239, 1, 2, 3}));
    std::int32_t igmp = 0;
    ASSERT_TRUE(reader.ReadUseIGMP(igmp));
    EXPECT_EQ(igmp, 1);
}

}  // namespace
