// Saves that cannot complete: the file on the disk stays as it was, nothing
// is left behind, and the document keeps the change for the next save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "config/r40_settings_to_xml_doc.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::OrdinaryUserScope;
using config_test::ReadBytes;
using config_test::SetMode;
using config_test::SmallFileSystem;
using config_test::TempDir;
using config_test::WriteBytes;

bool Contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

// A writable document on `path` holding a few settings.
void OpenWithSettings(CR40SettingsToXmlDoc& doc, const std::string& path) {
    ASSERT_EQ(doc.OpenForWriting(path), OPEN_OK);
    const std::uint8_t address[4] = {192, 168, 0, 50};
    ASSERT_TRUE(doc.WriteDeviceIP(address));
    ASSERT_TRUE(doc.WriteChannel(14));
}

TEST(SaveFailure, ReadOnlyFileRefusesTheWriteButTheDocumentKeepsIt) {
    TempDir dir;
    const std::string path = dir.File("lastused.xml");
    CR40SettingsToXmlDoc doc;
    OpenWithSettings(doc, path);
    const std::string before = ReadBytes(path);
    SetMode(path, 0444);
    {
        OrdinaryUserScope user;
        if (!user.active()) GTEST_SKIP() << "cannot act as an ordinary user here";
        EXPECT_FALSE(doc.WriteChannel(20));
        const std::uint8_t mac[3] = {1, 2, 3};
        EXPECT_FALSE(doc.WriteMACBytes(mac));
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"lastused.xml"});

    SetMode(path, 0644);
    ASSERT_TRUE(doc.WriteUseIGMP(true));
    const std::string after = ReadBytes(path);
    EXPECT_TRUE(Contains(after, "<Channel>20</Channel>"));
    EXPECT_TRUE(Contains(after, "MACByte2=\"1\""));
}

TEST(SaveFailure, FullDiskLeavesTheOldFileWholeAndReportsFailure) {
    SmallFileSystem disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    const std::string path = disk.File("lastused.xml");
    CR40SettingsToXmlDoc doc;
    OpenWithSettings(doc, path);
    const std::string before = ReadBytes(path);
    ASSERT_TRUE(disk.Fill(disk.File("filler")));

    EXPECT_FALSE(doc.WriteChannel(22));
    PidListRecord list{};
    list.count = 32;
    EXPECT_FALSE(doc.WritePIDList(list));
    EXPECT_FALSE(doc.SaveAs(disk.File("copy.xml")));
    CR40SettingsToXmlDoc other;
    EXPECT_EQ(other.OpenForWriting(disk.File("new.xml")), OPEN_SAVE_FAILED);

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(disk.Entries(), (std::vector<std::string>{"filler", "lastused.xml"}));

    // Room again: the next save writes everything the document holds.
    std::filesystem::remove(disk.File("filler"));
    ASSERT_TRUE(doc.WriteUseIGMP(false));
    const std::string after = ReadBytes(path);
    EXPECT_TRUE(Contains(after, "<Channel>22</Channel>"));
    EXPECT_TRUE(Contains(after, "<PIDList Size=\"32\">"));
    EXPECT_TRUE(Contains(after, "</Device>\n"));
}

TEST(AtomicSave, AReaderOfTheOldFileSeesItWholeWhileTheNewOneArrives) {
    TempDir dir;
    const std::string path = dir.File("lastused.xml");
    CR40SettingsToXmlDoc doc;
    OpenWithSettings(doc, path);
    const std::string before = ReadBytes(path);
    // A file replaced in place would be truncated under this reader.
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(doc.WriteChannel(60));
    const std::string seen((std::istreambuf_iterator<char>(reader)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(seen, before);
    EXPECT_TRUE(Contains(ReadBytes(path), "<Channel>60</Channel>"));
}

TEST(AtomicSave, KeepsThePermissionsOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir.File("c.xml");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(path), OPEN_OK);
    SetMode(path, 0640);
    ASSERT_TRUE(doc.WriteChannel(3));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(AtomicSave, FollowsASymbolicLinkToTheFileItNames) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("real.xml")), OPEN_OK);
    std::filesystem::create_symlink(dir.File("real.xml"), dir.File("link.xml"));
    CR40SettingsToXmlDoc viaLink;
    ASSERT_EQ(viaLink.OpenForWriting(dir.File("link.xml")), OPEN_OK);
    ASSERT_TRUE(viaLink.WriteChannel(7));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.xml")));
    EXPECT_TRUE(Contains(ReadBytes(dir.File("real.xml")), "<Channel>7</Channel>"));
}

TEST(AtomicSave, RefusesTargetsThatAreNoRegularFile) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    ASSERT_EQ(mkfifo(dir.File("pipe").c_str(), 0666), 0);
    EXPECT_FALSE(doc.SaveAs(dir.File("pipe")));  // and does not wait for a reader
    std::filesystem::create_directory(dir.File("sub"));
    EXPECT_FALSE(doc.SaveAs(dir.File("sub")));
    EXPECT_FALSE(doc.SaveAs(dir.File("sub/")));
    EXPECT_FALSE(doc.SaveAs(""));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("pipe")));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"c.xml", "pipe", "sub"}));
}

}  // namespace
