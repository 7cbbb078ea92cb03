// The PID list in both forms: what a read overwrites and what it leaves as the
// caller prepared it, and what a write prints.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "config/r40_settings_to_xml_doc.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::TempDir;
using config_test::WriteBytes;

// A record filled with a pattern, so that every byte a read leaves alone is
// recognisable.
template <typename Record>
Record Prepared() {
    Record list;
    std::memset(&list, 0xAB, sizeof list);
    return list;
}

class PidListRead : public ::testing::Test {
  protected:
    bool LoadList(const std::string& pidList) {
        WriteBytes(m_dir.File("c.xml"), "<Device><Channel>14</Channel>" + pidList + "</Device>");
        return m_doc.Load(m_dir.File("c.xml"));
    }
    TempDir m_dir;
    CR40SettingsToXmlDoc m_doc;
};

TEST_F(PidListRead, SizeOutsideZeroToThirtyTwoFailsAndTouchesNothing) {
    for (const char* list :
         {"<PIDList Size=\"33\" />", "<PIDList Size=\"-1\" />", "<PIDList Size=\"many\" />",
          "<PIDList />", "<PIDList Size=\"99999999999\" />", "<pidlist Size=\"1\" />", ""}) {
        SCOPED_TRACE(list);
        ASSERT_TRUE(LoadList(list));
        auto standard = Prepared<PidListRecord>();
        auto trevan = Prepared<TrevanPidListRecord>();
        EXPECT_FALSE(m_doc.ReadPIDList(standard));
        EXPECT_FALSE(m_doc.ReadPIDListWithDestinations(trevan));
        const auto untouched = Prepared<PidListRecord>();
        EXPECT_EQ(std::memcmp(&standard, &untouched, sizeof standard), 0);
    }
}

TEST_F(PidListRead, ReadsAtMostSizeEntries) {
    ASSERT_TRUE(
        LoadList("<PIDList Size=\"2\"><PIDEntry Entry=\"1\" Control=\"1\" />"
                 "<PIDEntry Entry=\"2\" Control=\"1\" /><PIDEntry Entry=\"3\" Control=\"1\" />"
                 "<PIDEntry Entry=\"4\" Control=\"1\" /><PIDEntry Entry=\"5\" Control=\"1\" />"
                 "</PIDList>"));
    auto list = Prepared<PidListRecord>();
    ASSERT_TRUE(m_doc.ReadPIDList(list));
    EXPECT_EQ(list.count, 2);
    EXPECT_EQ(list.pid[0], 1);
    EXPECT_EQ(list.pid[1], 2);
    EXPECT_EQ(list.pid[2], 0xABAB);
    EXPECT_EQ(list.control[2], 0xAB);
}

TEST_F(PidListRead, FewerChildrenThanSizeKeepThePreparedEntries) {
    ASSERT_TRUE(LoadList("<PIDList Size=\"3\"><PIDEntry Entry=\"481\" Control=\"0\" /></PIDList>"));
    auto list = Prepared<PidListRecord>();
    for (auto& pid : list.pid) pid = NULL_PID;
    ASSERT_TRUE(m_doc.ReadPIDList(list));
    EXPECT_EQ(list.count, 3);
    EXPECT_EQ(list.pid[0], 481);
    EXPECT_EQ(list.control[0], 0);
    EXPECT_EQ(list.pid[1], NULL_PID);
    EXPECT_EQ(list.pid[2], NULL_PID);
    EXPECT_EQ(list.control[1], 0xAB);
}

TEST_F(PidListRead, ValuesAreMaskedAndMissingOnesDefault) {
    ASSERT_TRUE(
        LoadList("<PIDList Size=\"6\">"
                 "<PIDEntry Entry=\"8193\" Control=\"257\" />"
                 "<PIDEntry Entry=\"-1\" Control=\"-1\" />"
                 "<PIDEntry Control=\"1\" />"
                 "<PIDEntry Entry=\"video\" />"
                 "<PIDEntry Entry=\" 33 \" Control=\"2x\" />"
                 "<PIDEntry Entry=\"99999999999\" Control=\"99999999999\" />"
                 "</PIDList>"));
    auto list = Prepared<PidListRecord>();
    ASSERT_TRUE(m_doc.ReadPIDList(list));
    EXPECT_EQ(list.pid[0], 1);  // 13 bits
    EXPECT_EQ(list.control[0], 1);
    EXPECT_EQ(list.pid[1], 0x1FFF);
    EXPECT_EQ(list.control[1], 0xFF);
    EXPECT_EQ(list.pid[2], NULL_PID);
    EXPECT_EQ(list.control[2], 1);
    EXPECT_EQ(list.pid[3], NULL_PID);
    EXPECT_EQ(list.control[3], 0);
    EXPECT_EQ(list.pid[4], 33);
    EXPECT_EQ(list.control[4], 2);
    EXPECT_EQ(list.pid[5], NULL_PID);
    EXPECT_EQ(list.control[5], 0);
}

TEST_F(PidListRead, CommentsAndForeignChildrenAreSkippedNotCounted) {
    ASSERT_TRUE(
        LoadList("<PIDList Size=\"2\"><!-- video first -->"
                 "<PIDEntry Entry=\"10\" Control=\"0\" />stray text<Remark />"
                 "<PIDEntry Entry=\"11\" Control=\"1\" /></PIDList>"));
    auto list = Prepared<PidListRecord>();
    ASSERT_TRUE(m_doc.ReadPIDList(list));
    EXPECT_EQ(list.pid[0], 10);
    EXPECT_EQ(list.pid[1], 11);
}

TEST_F(PidListRead, DestinationTouchesOnlyItsOwnBytesAlsoForTheLastEntry) {
    std::string entries;
    for (int i = 0; i < 31; ++i)
        entries += "<PIDEntry Entry=\"" + std::to_string(100 + i) + "\" Control=\"1\" />";
    entries +=
        "<PIDEntry Entry=\"200\" Control=\"0\">"
        "<Destination_IP>192.168.0.20</Destination_IP></PIDEntry>";
    ASSERT_TRUE(LoadList("<PIDList Size=\"32\">" + entries + "</PIDList>"));
    auto list = Prepared<TrevanPidListRecord>();
    ASSERT_TRUE(m_doc.ReadPIDListWithDestinations(list));

    auto expected = Prepared<TrevanPidListRecord>();
    expected.count = 32;
    for (int i = 0; i < 31; ++i) {
        expected.pid[i] = static_cast<std::uint16_t>(100 + i);
        expected.control[i] = 1;
    }
    expected.pid[31] = 200;
    expected.control[31] = 0;
    const std::uint8_t address[4] = {192, 168, 0, 20};
    std::memcpy(expected.destination[31].address, address, 4);
    EXPECT_EQ(std::memcmp(&list, &expected, sizeof list), 0);
    EXPECT_EQ(list.destination[31].port, 0xABAB);
}

TEST_F(PidListRead, DestinationNumbersTakeAtMostThreeCharacters) {
    struct Case {
        const char* text;
        std::vector<int> bytes;
    };
    const Case cases[] = {
        {"10.0.0.1", {10, 0, 0, 1}},
        {" 10.0.0.1 backup", {10, 0, 0, 1}},
        {"1234.5.6.7", {123, 0xAB, 0xAB, 0xAB}},  // the fourth digit is no dot
        {"10.0", {10, 0, 0xAB, 0xAB}},
        {"-1.2.3.4", {255, 2, 3, 4}},
        {"300.1.1.1", {0xAB, 0xAB, 0xAB, 0xAB}},  // never wrapped to 44
        {"1.2.999.4", {1, 2, 0xAB, 0xAB}},
        {"", {0xAB, 0xAB, 0xAB, 0xAB}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(LoadList(std::string("<PIDList Size=\"1\"><PIDEntry Entry=\"5\" Control=\"0\">"
                                         "<Destination_IP>") +
                             c.text + "</Destination_IP></PIDEntry></PIDList>"));
        auto list = Prepared<TrevanPidListRecord>();
        ASSERT_TRUE(m_doc.ReadPIDListWithDestinations(list));
        const auto* a = list.destination[0].address;
        EXPECT_EQ(std::vector<int>(a, a + 4), c.bytes);
        EXPECT_EQ(list.destination[0].port, 0xABAB);
    }
}

TEST_F(PidListRead, DestinationPortKeepsItsLowSixteenBits) {
    const std::pair<const char*, int> cases[] = {
        {"601", 601},  {"65535", 65535}, {"70000", 4464},
        {"-1", 65535}, {"port", 0},      {" 80/udp", 80},
    };
    for (const auto& [text, port] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(LoadList(std::string("<PIDList Size=\"1\"><PIDEntry Entry=\"5\" Control=\"0\">"
                                         "<Destination_Port>") +
                             text + "</Destination_Port></PIDEntry></PIDList>"));
        auto list = Prepared<TrevanPidListRecord>();
        ASSERT_TRUE(m_doc.ReadPIDListWithDestinations(list));
        EXPECT_EQ(list.destination[0].port, port);
        EXPECT_EQ(list.destination[0].address[0], 0xAB);
    }
}

TEST_F(PidListRead, StandardFormReadsEitherForm) {
    ASSERT_TRUE(
        LoadList("<PIDList Size=\"1\"><PIDEntry Entry=\"481\" Control=\"0\">"
                 "<Destination_IP>1.2.3.4</Destination_IP>"
                 "<Destination_Port>5</Destination_Port></PIDEntry></PIDList>"));
    auto standard = Prepared<PidListRecord>();
    ASSERT_TRUE(m_doc.ReadPIDList(standard));
    EXPECT_EQ(standard.pid[0], 481);

    ASSERT_TRUE(LoadList("<PIDList Size=\"1\"><PIDEntry Entry=\"481\" Control=\"0\" /></PIDList>"));
    auto trevan = Prepared<TrevanPidListRecord>();
    ASSERT_TRUE(m_doc.ReadPIDListWithDestinations(trevan));
    EXPECT_EQ(trevan.pid[0], 481);
    EXPECT_EQ(trevan.destination[0].port, 0xABAB);
}

TEST(PidListWrite, FullListsRoundTripInBothForms) {
    std::mt19937 random(7);
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);

    PidListRecord standard{};
    TrevanPidListRecord trevan{};
    standard.count = trevan.count = MAX_PIDS;
    for (int i = 0; i < MAX_PIDS; ++i) {
        standard.pid[i] = trevan.pid[i] = static_cast<std::uint16_t>(random() % 0x2000);
        standard.control[i] = trevan.control[i] = static_cast<std::uint8_t>(random());
        for (auto& byte : trevan.destination[i].address) byte = static_cast<std::uint8_t>(random());
        trevan.destination[i].port = static_cast<std::uint16_t>(random());
    }
    ASSERT_TRUE(doc.WritePIDList(standard));
    CR40SettingsToXmlDoc reader;
    ASSERT_TRUE(reader.Load(dir.File("c.xml")));
    PidListRecord standardBack{};
    ASSERT_TRUE(reader.ReadPIDList(standardBack));
    EXPECT_EQ(std::memcmp(&standardBack, &standard, sizeof standard), 0);

    ASSERT_TRUE(doc.WritePIDListWithDestinations(trevan));
    ASSERT_TRUE(reader.Load(dir.File("c.xml")));
    TrevanPidListRecord trevanBack{};
    ASSERT_TRUE(reader.ReadPIDListWithDestinations(trevanBack));
    EXPECT_EQ(std::memcmp(&trevanBack, &trevan, sizeof trevan), 0);
}

TEST(PidListWrite, CountOutsideZeroToThirtyTwoIsRefused) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    PidListRecord list{};
    list.count = 1;
    ASSERT_TRUE(doc.WritePIDList(list));
    const std::string before = ReadBytes(dir.File("c.xml"));
    for (const std::int32_t count : {33, -1, -2147483647 - 1}) {
        list.count = count;
        EXPECT_FALSE(doc.WritePIDList(list));
        TrevanPidListRecord trevan{};
        trevan.count = count;
        EXPECT_FALSE(doc.WritePIDListWithDestinations(trevan));
    }
    EXPECT_EQ(ReadBytes(dir.File("c.xml")), before);
    // The refused lists never reached the document.
    ASSERT_TRUE(doc.WriteChannel(5));
    EXPECT_NE(ReadBytes(dir.File("c.xml")).find("<PIDList Size=\"1\">"), std::string::npos);
}

TEST(PidListWrite, ReplacesTheListAndPrintsThePidUnmasked) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    PidListRecord list{};
    list.count = 1;
    list.pid[0] = 0xFFFF;
    list.control[0] = 255;
    ASSERT_TRUE(doc.WritePIDList(list));
    ASSERT_TRUE(doc.WriteChannel(14));
    list.pid[0] = 8191;
    ASSERT_TRUE(doc.WritePIDList(list));
    EXPECT_EQ(ReadBytes(dir.File("c.xml")),
              "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
              "<Device>\n"
              "    <Channel>14</Channel>\n"
              "    <PIDList Size=\"1\">\n"
              "        <PIDEntry Entry=\"8191\" Control=\"255\" />\n"
              "    </PIDList>\n"
              "</Device>\n");
    list.pid[0] = 0xFFFF;
    ASSERT_TRUE(doc.WritePIDList(list));
    EXPECT_NE(ReadBytes(dir.File("c.xml")).find("Entry=\"65535\""), std::string::npos);
}

}  // namespace
