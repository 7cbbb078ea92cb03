// What a file says of the receiver it belongs to and of a satellite
// receiver's tuning: the MAC bytes and the SatelliteTuning element, read
// from hand-written (and hostile) text, and the ownership rules built on them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "config/file_owner.h"
#include "config/r40_settings_to_xml_doc.h"
#include "config/tuning_form.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::TempDir;
using config_test::WriteBytes;

TEST(ReceiverMarks, MacBytesAndOwnership) {
    const config::ReceiverKey key{0x00, 0x60, 0x35};
    const std::array<std::uint8_t, 4> address{192, 168, 0, 50};
    struct Case {
        const char* root;
        const char* children;
        bool marked;
        config::FileOwner owner;
        bool describes;  // starts the receiver's network dialog
    };
    using enum config::FileOwner;
    const Case cases[] = {
        {R"(MACByte2="0" MACByte1="96" MACByte0="53")", "", true, ThisReceiver, true},
        {R"(MACByte0="53" MACByte1=" 96" MACByte2="0")", "", true, ThisReceiver, true},
        {R"(MACByte2="0" MACByte1="96" MACByte0="54")", "<DeviceIP>192.168.0.50</DeviceIP>", true,
         OtherReceiver, false},
        {R"(MACByte2="0" MACByte1="96")", "<DeviceIP>192.168.0.50</DeviceIP>", false, Unmarked,
         true},
        {R"(MACByte2="0" MACByte1="96" MACByte0="309")", "<DeviceIP>192.168.0.51</DeviceIP>", false,
         Unmarked, false},
        {R"(MACByte2="-1" MACByte1="96" MACByte0="53")", "", false, Unmarked, false},
        {R"(MACByte2="x" MACByte1="96" MACByte0="53")", "", false, Unmarked, false},
        {"", "<DeviceIP>192.168.0.50</DeviceIP>", false, Unmarked, true},
        {"", "", false, Unmarked, false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.root) + " " + c.children);
        WriteBytes(dir.File("c.xml"),
                   std::string("<Device ") + c.root + ">" + c.children + "</Device>");
        CR40SettingsToXmlDoc doc;
        ASSERT_TRUE(doc.Load(dir.File("c.xml")));
        std::array<std::uint8_t, 3> bytes{7, 7, 7};
        EXPECT_EQ(doc.ReadMACBytes(bytes), c.marked);
        if (c.marked) {
            EXPECT_EQ(bytes, (std::array<std::uint8_t, 3>{0, 96, bytes[2]}));
        }
        config::ReceiverKey fileKey{};
        EXPECT_EQ(config::OwnerOf(doc, key, &fileKey), c.owner);
        if (c.owner == OtherReceiver) {
            EXPECT_EQ(config::KeyText(fileKey), "00-60-36");
        }
        EXPECT_EQ(config::DescribesReceiver(doc, key, address), c.describes);
    }
}

TEST(ReceiverMarks, SatelliteTuningReadsOnlyWhatACommandCarries) {
    struct Case {
        const char* element;
        bool ok;
    };
    const Case cases[] = {
        {R"(<SatelliteTuning Frequency="1234.5" SymbolRate="27.500" Options="21" />)", true},
        {R"(<SatelliteTuning Frequency=" 0.1 " SymbolRate="65.535" Options="0" />)", true},
        {R"(<SatelliteTuning Frequency="0" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="6553.6" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="1e3" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="inf" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="nan" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="1234,5" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="-1234.5" SymbolRate="27.5" Options="0" />)", false},
        {R"(<SatelliteTuning Frequency="1234.5" SymbolRate="27.5" Options="32" />)", false},
        {R"(<SatelliteTuning Frequency="1234.5" SymbolRate="27.5" />)", false},
        {R"(<SatelliteTuning Frequency="1234.5" Options="3" />)", false},
        {"<Channel>14</Channel>", false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        WriteBytes(dir.File("c.xml"), std::string("<Device>") + c.element + "</Device>");
        CR40SettingsToXmlDoc doc;
        ASSERT_TRUE(doc.Load(dir.File("c.xml")));
        SatelliteTuning tuning{};
        tuning.frequency = 99.0f;
        EXPECT_EQ(doc.ReadSatelliteTuning(tuning), c.ok);
        if (!c.ok) {
            EXPECT_EQ(tuning.frequency, 99.0f) << "a failed read left a value behind";
        }
    }
}

// Written and read back unchanged; a file holding it still reads every
// other element as before, and the element never lands in a file that
// had none.
TEST(ReceiverMarks, SatelliteTuningRoundTripsBesideTheOtherElements) {
    TempDir dir;
    WriteBytes(dir.File("c.xml"), "<Device><Channel>14</Channel></Device>");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    ASSERT_TRUE(doc.WriteSatelliteTuning(config::MakeSatelliteTuning(1234.5, 27.5, 0x15)));
    EXPECT_EQ(ReadBytes(dir.File("c.xml")),
              "<Device>\n"
              "    <Channel>14</Channel>\n"
              "    <SatelliteTuning Frequency=\"1234.5\" SymbolRate=\"27.500\" Options=\"21\" />\n"
              "</Device>\n");
    EXPECT_FALSE(doc.WriteSatelliteTuning(config::MakeSatelliteTuning(0.0, 27.5, 0)));

    CR40SettingsToXmlDoc reader;
    ASSERT_TRUE(reader.Load(dir.File("c.xml")));
    SatelliteTuning tuning{};
    ASSERT_TRUE(reader.ReadSatelliteTuning(tuning));
    EXPECT_FLOAT_EQ(tuning.frequency, 1234.5f);
    EXPECT_FLOAT_EQ(tuning.symbolRate, 27.5f);
    EXPECT_EQ(config::OptionBitsOf(tuning), 0x15u);
    std::int32_t channel = 0;
    EXPECT_TRUE(reader.ReadChannel(channel));
    EXPECT_EQ(channel, 14);
}

// Starting afresh leaves a file that describes no other receiver: only
// what is written after it.
TEST(ReceiverMarks, StartingAfreshDropsAnotherReceiversValues) {
    TempDir dir;
    WriteBytes(dir.File("c.xml"),
               R"(<Device MACByte2="0" MACByte1="0" MACByte0="21"><DeviceIP>10.0.0.21</DeviceIP>)"
               R"(<Channel>61</Channel></Device>)");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    ASSERT_TRUE(doc.StartAfresh());
    EXPECT_NE(ReadBytes(dir.File("c.xml")).find("10.0.0.21"), std::string::npos)
        << "nothing is saved before the next write";
    ASSERT_TRUE(doc.WriteMACBytes(std::array<std::uint8_t, 3>{0, 0, 20}));
    ASSERT_TRUE(doc.WriteChannel(33));
    EXPECT_EQ(ReadBytes(dir.File("c.xml")),
              "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
              "<Device MACByte2=\"0\" MACByte1=\"0\" MACByte0=\"20\">\n"
              "    <Channel>33</Channel>\n"
              "</Device>\n");
}

}  // namespace
