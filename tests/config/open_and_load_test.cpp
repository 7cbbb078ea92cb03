// Opening documents: creation, completion and replacement of files, loading,
// and which operations each state allows.
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

const char FRESH_FILE[] = "<?xml version=\"1.0\" standalone=\"yes\" ?>\n<Device />\n";

TEST(OpenForWriting, CreatesAMissingFileAtOnce) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    EXPECT_EQ(doc.OpenForWriting(dir.File("new.xml")), OPEN_OK);
    EXPECT_EQ(ReadBytes(dir.File("new.xml")), FRESH_FILE);
}

TEST(OpenForWriting, ReplacesEmptyAndUnparsableFiles) {
    for (const char* content : {"", "   \n", "<Device><DeviceIP>1.2.3.4</Device>", "not xml at all",
                                "<?xml version=\"1.0\" ?>\n<Device"}) {
        SCOPED_TRACE(content);
        TempDir dir;
        WriteBytes(dir.File("bad.xml"), content);
        CR40SettingsToXmlDoc doc;
        EXPECT_EQ(doc.OpenForWriting(dir.File("bad.xml")), OPEN_OK);
        EXPECT_EQ(ReadBytes(dir.File("bad.xml")), FRESH_FILE);
        EXPECT_TRUE(doc.WriteChannel(30));
    }
}

TEST(OpenForWriting, AddsARootToADeclarationOnlyFile) {
    TempDir dir;
    WriteBytes(dir.File("decl.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("decl.xml")), OPEN_OK);
    // The file's own declaration stays; the root is appended after it.
    EXPECT_EQ(ReadBytes(dir.File("decl.xml")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Device />\n");
}

TEST(OpenForWriting, LeavesAnExistingDocumentUntouchedUntilAWrite) {
    TempDir dir;
    const std::string original = "<Config><!-- kept --><DeviceIP>1.2.3.4</DeviceIP></Config>";
    WriteBytes(dir.File("c.xml"), original);
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    EXPECT_EQ(ReadBytes(dir.File("c.xml")), original);
    std::uint8_t address[4] = {};
    EXPECT_TRUE(doc.ReadDeviceIP(address));  // reads work on a writable document too
    EXPECT_EQ(address[3], 4);
}

TEST(OpenForWriting, FailsWithFourWhenTheFileCannotBeSaved) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    EXPECT_EQ(doc.OpenForWriting(dir.File("missing-dir/new.xml")), OPEN_SAVE_FAILED);
    EXPECT_FALSE(doc.WriteChannel(14));
    EXPECT_FALSE(doc.SaveAs(dir.File("other.xml")));
    // A directory of that name is no file to replace.
    EXPECT_EQ(doc.OpenForWriting(dir.path()), OPEN_SAVE_FAILED);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{});
}

// Opened to save on commit, a document leaves its file exactly as it was,
// however many elements are written, until Commit replaces it whole; a new
// file appears only then, and a document that is not writable commits nothing.
TEST(OpenForWriting, SavedOnCommitTheFileChangesOnceWithEverything) {
    TempDir dir;
    const std::string old = "<Device><DeviceIP>10.9.9.9</DeviceIP><Site>north</Site></Device>";
    WriteBytes(dir.File("old.xml"), old);
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("old.xml"), CR40SettingsToXmlDoc::SaveMode::OnCommit),
              OPEN_OK);
    const std::uint8_t address[4] = {192, 168, 0, 50};
    const std::uint8_t mac[3] = {0, 96, 53};
    PidListRecord list{};
    list.count = 1;
    list.pid[0] = 481;
    EXPECT_TRUE(doc.WriteMACBytes(mac));
    EXPECT_TRUE(doc.WriteDeviceIP(address));
    EXPECT_TRUE(doc.WriteChannel(14));
    EXPECT_TRUE(doc.WritePIDList(list));
    EXPECT_EQ(ReadBytes(dir.File("old.xml")), old) << "written before the commit";
    ASSERT_TRUE(doc.Commit());
    CR40SettingsToXmlDoc saved;
    ASSERT_TRUE(saved.Load(dir.File("old.xml")));
    std::uint8_t read[4] = {};
    EXPECT_TRUE(saved.ReadDeviceIP(read));
    EXPECT_EQ(read[3], 50);
    std::int32_t channel = 0;
    EXPECT_TRUE(saved.ReadChannel(channel));
    EXPECT_EQ(channel, 14);
    EXPECT_NE(ReadBytes(dir.File("old.xml")).find("<Site>north</Site>"), std::string::npos);

    CR40SettingsToXmlDoc fresh;
    ASSERT_EQ(fresh.OpenForWriting(dir.File("new.xml"), CR40SettingsToXmlDoc::SaveMode::OnCommit),
              OPEN_OK);
    EXPECT_TRUE(fresh.WriteChannel(20));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old.xml"}) << "created before the commit";
    ASSERT_TRUE(fresh.Commit());
    EXPECT_NE(ReadBytes(dir.File("new.xml")).find("<Channel>20</Channel>"), std::string::npos);

    CR40SettingsToXmlDoc loaded;
    ASSERT_TRUE(loaded.Load(dir.File("new.xml")));
    EXPECT_FALSE(loaded.Commit()) << "a loaded document is not for writing";
}

TEST(Load, TakesTheFirstElementAsRootWhateverItsName) {
    TempDir dir;
    WriteBytes(dir.File("other.xml"),
               "<?xml version=\"1.0\"?>\n<!-- from another tool -->\n"
               "<Receiver Model=\"R40\"><Channel>33</Channel></Receiver>\n");
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("other.xml")));
    std::int32_t channel = 0;
    EXPECT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 33);
}

TEST(Load, FailsForMissingEmptyUnparsableAndRootlessFiles) {
    TempDir dir;
    WriteBytes(dir.File("empty.xml"), "");
    WriteBytes(dir.File("broken.xml"), "<Device><Channel>14</Channel>");
    WriteBytes(dir.File("decl.xml"), "<?xml version=\"1.0\" ?>\n<!-- nothing else -->\n");
    for (const char* name : {"missing.xml", "empty.xml", "broken.xml", "decl.xml", ""}) {
        SCOPED_TRACE(name);
        CR40SettingsToXmlDoc doc;
        EXPECT_FALSE(doc.Load(dir.File(name)));
        std::int32_t channel = 0;
        EXPECT_FALSE(doc.ReadChannel(channel));
        // There is no document to save under another name either.
        EXPECT_FALSE(doc.SaveAs(dir.File("copy.xml")));
    }
    EXPECT_FALSE(CR40SettingsToXmlDoc().Load(dir.path()));  // a directory
    EXPECT_EQ(ReadBytes(dir.File("broken.xml")), "<Device><Channel>14</Channel>");
}

TEST(Load, DocumentRefusesWritesAndLeavesTheFileAlone) {
    TempDir dir;
    const std::string original = "<Device><Channel>14</Channel></Device>";
    WriteBytes(dir.File("c.xml"), original);
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("c.xml")));
    const std::uint8_t address[4] = {10, 0, 0, 1};
    const std::uint8_t mac[3] = {1, 2, 3};
    PidListRecord list{};
    EXPECT_FALSE(doc.WriteChannel(20));
    EXPECT_FALSE(doc.WriteDeviceIP(address));
    EXPECT_FALSE(doc.WriteMACBytes(mac));
    EXPECT_FALSE(doc.WriteUseIGMP(true));
    EXPECT_FALSE(doc.WritePIDList(list));
    EXPECT_EQ(ReadBytes(dir.File("c.xml")), original);
    // The refused writes did not reach the document either.
    ASSERT_TRUE(doc.SaveAs(dir.File("copy.xml")));
    EXPECT_EQ(ReadBytes(dir.File("copy.xml")), "<Device>\n    <Channel>14</Channel>\n</Device>\n");
}

TEST(Load, AfterOpenForWritingDiscardsTheRightToWrite) {
    TempDir dir;
    WriteBytes(dir.File("source.xml"), "<Device><Channel>14</Channel></Device>");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("last.xml")), OPEN_OK);
    ASSERT_TRUE(doc.Load(dir.File("source.xml")));
    EXPECT_FALSE(doc.WriteChannel(20));
    EXPECT_EQ(ReadBytes(dir.File("source.xml")), "<Device><Channel>14</Channel></Device>");
}

TEST(Writes, AreRefusedOnANewObject) {
    CR40SettingsToXmlDoc doc;
    const std::uint8_t address[4] = {};
    EXPECT_FALSE(doc.WriteDefaultGW(address));
    EXPECT_FALSE(doc.WriteChannel(14));
    EXPECT_FALSE(doc.SaveAs("never-written.xml"));
}

TEST(SaveAs, CopiesTheDocumentButLaterWritesGoToTheOpenedFile) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("last.xml")), OPEN_OK);
    ASSERT_TRUE(doc.WriteChannel(14));
    ASSERT_TRUE(doc.SaveAs(dir.File("copy.xml")));
    ASSERT_TRUE(doc.WriteChannel(15));
    EXPECT_NE(ReadBytes(dir.File("last.xml")).find("<Channel>15</Channel>"), std::string::npos);
    EXPECT_NE(ReadBytes(dir.File("copy.xml")).find("<Channel>14</Channel>"), std::string::npos);
}

TEST(SaveAs, ReplacesAnExistingFileWhole) {
    TempDir dir;
    WriteBytes(dir.File("copy.xml"), std::string(5000, 'x'));
    WriteBytes(dir.File("in.xml"), "<Device />");
    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(dir.File("in.xml")));
    ASSERT_TRUE(doc.SaveAs(dir.File("copy.xml")));
    EXPECT_EQ(ReadBytes(dir.File("copy.xml")), "<Device />\n");
}

}  // namespace
