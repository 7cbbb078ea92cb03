// Hostile files: whatever a file holds, every operation returns false or a
// value, nothing crashes, and no file is left unreadable.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "config/document_text.h"
#include "config/r40_settings_to_xml_doc.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::TempDir;
using config_test::WriteBytes;

const char VALID[] =
    "<?xml version=\"1.0\" standalone=\"yes\" ?>\n"
    "<Device MACByte2=\"0\" MACByte1=\"96\" MACByte0=\"53\">\n"
    "    <DeviceIP>192.168.0.50</DeviceIP>\n"
    "    <UseIGMP>Yes</UseIGMP>\n"
    "    <Channel>14</Channel>\n"
    "    <PIDList Size=\"2\">\n"
    "        <PIDEntry Entry=\"481\" Control=\"0\">\n"
    "            <Destination_IP>192.168.0.20</Destination_IP>\n"
    "            <Destination_Port>601</Destination_Port>\n"
    "        </PIDEntry>\n"
    "        <PIDEntry Entry=\"482\" Control=\"1\" />\n"
    "    </PIDList>\n"
    "</Device>\n";

// Runs every read on a document; whatever a read reports must be a value the
// caller can use.
void ExerciseReads(const CR40SettingsToXmlDoc& doc) {
    std::uint8_t address[4] = {};
    doc.ReadDeviceIP(address);
    doc.ReadDeviceSubNet(address);
    doc.ReadDefaultGW(address);
    doc.ReadUnicastStatus(address);
    std::int32_t igmp = 7;
    if (doc.ReadUseIGMP(igmp)) {
        EXPECT_TRUE(igmp == 0 || igmp == 1);
    }
    std::int32_t channel = 0;
    if (doc.ReadChannel(channel)) {
        EXPECT_TRUE(channel >= 2 && channel <= 69);
    }
    PidListRecord list{};
    if (doc.ReadPIDList(list)) {
        EXPECT_TRUE(list.count >= 0 && list.count <= MAX_PIDS);
    }
    TrevanPidListRecord trevan{};
    if (doc.ReadPIDListWithDestinations(trevan)) {
        EXPECT_TRUE(trevan.count >= 0 && trevan.count <= MAX_PIDS);
        for (int i = 0; i < trevan.count; ++i) EXPECT_LE(trevan.pid[i], 0x1FFF);
    }
}

// Loads the content and reads everything, then opens it for writing: the file
// afterwards is either untouched or a document that loads.
void Survive(const TempDir& dir, const std::string& content) {
    const std::string path = dir.File("hostile.xml");
    WriteBytes(path, content);
    CR40SettingsToXmlDoc doc;
    if (doc.Load(path)) ExerciseReads(doc);
    EXPECT_EQ(ReadBytes(path), content);  // reading never writes

    CR40SettingsToXmlDoc writer;
    const std::int32_t opened = writer.OpenForWriting(path);
    if (opened != OPEN_OK) {
        // Refused: too large to be a configuration, or the new file cannot be saved.
        EXPECT_TRUE(opened == OPEN_BEYOND_LIMITS || opened == OPEN_SAVE_FAILED) << opened;
        EXPECT_EQ(ReadBytes(path), content);
        return;
    }
    ExerciseReads(writer);
    const std::string before = ReadBytes(path);
    if (writer.WriteChannel(14)) {
        CR40SettingsToXmlDoc again;
        EXPECT_TRUE(again.Load(path));
    } else {
        EXPECT_EQ(ReadBytes(path), before);
    }
}

TEST(MalformedFiles, EveryTruncationOfAConfiguration) {
    TempDir dir(TempDir::Where::InMemory);
    const std::string valid = VALID;
    for (std::size_t length = 0; length <= valid.size(); ++length) {
        SCOPED_TRACE(length);
        Survive(dir, valid.substr(0, length));
    }
}

TEST(MalformedFiles, RandomBytesAndMarkupNoise) {
    TempDir dir(TempDir::Where::InMemory);
    std::mt19937 random(2024);
    const std::string alphabet = "<>/=\"'!?-[]&;#x0123456789.ABCDEFGHIJKLMNOPQRSTUVWXYZ abc\n\r\t";
    for (int round = 0; round < 200; ++round) {
        std::string content(random() % 2000, '\0');
        for (char& c : content)
            c = round % 2 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        SCOPED_TRACE(round);
        Survive(dir, content);
    }
}

TEST(MalformedFiles, SingleByteDamageToAConfiguration) {
    TempDir dir(TempDir::Where::InMemory);
    std::mt19937 random(99);
    const std::string valid = VALID;
    for (int round = 0; round < 300; ++round) {
        std::string content = valid;
        content[random() % content.size()] = static_cast<char>(random());
        Survive(dir, content);
    }
}

TEST(MalformedFiles, HugeNumbersEverywhere) {
    TempDir dir(TempDir::Where::InMemory);
    const std::string huge = "999999999999999999999999999999";
    Survive(dir, "<Device MACByte2=\"" + huge + "\"><DeviceIP>" + huge + "." + huge +
                     ".1.1</DeviceIP>" + "<Channel>" + huge + "</Channel><Channel>-" + huge +
                     "</Channel>" + "<PIDList Size=\"" + huge + "\" /></Device>");
    Survive(dir, "<Device><PIDList Size=\"1\"><PIDEntry Entry=\"-" + huge + "\" Control=\"" + huge +
                     "\"><Destination_IP>" + huge + "</Destination_IP><Destination_Port>" + huge +
                     "</Destination_Port></PIDEntry></PIDList></Device>");
    Survive(dir, "<Device><Channel>&#" + huge + ";</Channel><UseIGMP>&#x" + huge +
                     ";</UseIGMP></Device>");
}

TEST(MalformedFiles, ZeroBytesAndOddEncodings) {
    TempDir dir(TempDir::Where::InMemory);
    Survive(dir, std::string("<Device><Channel>1\0"
                             "4</Channel></Device>",
                             38));
    Survive(dir, std::string("\0\0\0\0", 4));
    Survive(dir, "\xEF\xBB\xBF<Device><Channel>14</Channel></Device>");
    Survive(dir, "\xFF\xFE<\0D\0e\0v\0");
    Survive(dir, "<Device><Channel>\xC3\x28\xE2\x82</Channel></Device>");
    Survive(dir, "<!DOCTYPE Device [<!ENTITY a \"aaaaaaaa\">]><Device>&a;&a;&a;</Device>");
}

TEST(MalformedFiles, NestingWithinTheLimitsParsesButPrintsTooWideToSave) {
    TempDir dir(TempDir::Where::InMemory);
    std::string deep;
    const int depth = static_cast<int>(config::MAX_DOCUMENT_ELEMENTS) - 1;
    for (int i = 0; i < depth; ++i) deep += "<Device>";
    for (int i = 0; i < depth; ++i) deep += "</Device>";
    const std::string path = dir.File("deep.xml");
    WriteBytes(path, deep);
    CR40SettingsToXmlDoc doc;
    EXPECT_TRUE(doc.Load(path));
    ExerciseReads(doc);
    // Indented four spaces a level, it would print to megabytes that Load
    // refuses; the save is refused instead and the file stays loadable.
    ASSERT_EQ(doc.OpenForWriting(path), OPEN_OK);
    EXPECT_FALSE(doc.WriteChannel(14));
    EXPECT_FALSE(doc.SaveAs(dir.File("copy.xml")));
    EXPECT_EQ(ReadBytes(path), deep);
    Survive(dir, deep);
}

TEST(MalformedFiles, DeepNestingIsRefusedBeforeItReachesTheParser) {
    TempDir dir(TempDir::Where::InMemory);
    std::string deep;
    for (int i = 0; i < 300000; ++i) deep += "<a>";
    Survive(dir, deep);
    CR40SettingsToXmlDoc doc;
    WriteBytes(dir.File("deep.xml"), deep);
    EXPECT_FALSE(doc.Load(dir.File("deep.xml")));
    EXPECT_EQ(doc.OpenForWriting(dir.File("deep.xml")), OPEN_BEYOND_LIMITS);
    EXPECT_EQ(ReadBytes(dir.File("deep.xml")), deep);
}

TEST(MalformedFiles, AnElementWithCountlessAttributesIsRefused) {
    TempDir dir(TempDir::Where::InMemory);
    std::string many = "<Device";
    for (int i = 0; i < 100000; ++i) many += " a" + std::to_string(i) + "=\"\"";
    many += " />";
    Survive(dir, many);
    CR40SettingsToXmlDoc doc;
    WriteBytes(dir.File("many.xml"), many);
    EXPECT_FALSE(doc.Load(dir.File("many.xml")));
}

TEST(MalformedFiles, TenMegabytesAreRefusedAndLeftAlone) {
    TempDir dir(TempDir::Where::InMemory);
    // A valid configuration behind a ten-megabyte comment.
    std::string big = "<!--" + std::string(10 * 1024 * 1024, 'x') + "-->" + VALID;
    const auto start = std::chrono::steady_clock::now();
    Survive(dir, big);
    CR40SettingsToXmlDoc doc;
    WriteBytes(dir.File("big.xml"), big);
    EXPECT_FALSE(doc.Load(dir.File("big.xml")));
    EXPECT_EQ(doc.OpenForWriting(dir.File("big.xml")), OPEN_BEYOND_LIMITS);
    EXPECT_FALSE(doc.WriteChannel(14));
    EXPECT_EQ(ReadBytes(dir.File("big.xml")), big);
    // Refused without parsing: far quicker than the per-test time-out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(MalformedFiles, LargestAcceptedDocumentStillReads) {
    TempDir dir(TempDir::Where::InMemory);
    // Just inside every limit: a configuration padded with a long comment and
    // many foreign elements.
    std::string content =
        "<Device><!--" + std::string(config::MAX_DOCUMENT_BYTES - 60000, 'x') + "-->";
    for (std::size_t i = 0; i + 2 < config::MAX_DOCUMENT_ELEMENTS; ++i) content += "<x/>";
    content += "<Channel>14</Channel></Device>";
    ASSERT_LE(content.size(), config::MAX_DOCUMENT_BYTES);
    WriteBytes(dir.File("padded.xml"), content);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("padded.xml")));
    std::int32_t channel = 0;
    EXPECT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 14);
}

}  // namespace
