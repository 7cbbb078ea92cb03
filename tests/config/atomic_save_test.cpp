// Saves where the temporary file beside the target is the problem: names
// near the file system's limit, directories that refuse new files, and
// temporaries an interrupted save left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "config/r40_settings_to_xml_doc.h"
#include "platform/file/atomic_file.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::OrdinaryUserScope;
using config_test::ReadBytes;
using config_test::SetMode;
using config_test::SmallFileSystem;
using config_test::TempDir;
using config_test::WriteBytes;
using platform::file::ReplaceFile;

// Sets a file's modification time `seconds` into the past.
void Age(const std::string& path, long seconds) {
    timeval now{};
    gettimeofday(&now, nullptr);
    const timeval then[2] = {{now.tv_sec - seconds, 0}, {now.tv_sec - seconds, 0}};
    ASSERT_EQ(utimes(path.c_str(), then), 0);
}

TEST(AtomicSaveNames, NamesUpToTheFileSystemLimitCanBeSaved) {
    for (const std::size_t length : {200u, 238u, 255u}) {
        SCOPED_TRACE(length);
        TempDir dir;
        const std::string name = std::string(length - 4, 'n') + ".xml";
        const std::string path = dir.File(name);
        EXPECT_TRUE(ReplaceFile(path, "first"));
        EXPECT_TRUE(ReplaceFile(path, "second"));
        EXPECT_EQ(ReadBytes(path), "second");
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{name});

        CR40SettingsToXmlDoc doc;
        ASSERT_EQ(doc.OpenForWriting(path), OPEN_OK);
        EXPECT_TRUE(doc.WriteChannel(30));
        EXPECT_NE(ReadBytes(path).find("<Channel>30</Channel>"), std::string::npos);
    }
}

TEST(AtomicSaveReadOnlyDirectory, AWritableFileIsRewrittenInPlace) {
    TempDir dir;
    const std::string path = dir.File("lastused.xml");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(path), OPEN_OK);
    ASSERT_TRUE(doc.WriteChannel(14));
    SetMode(path, 0666);
    SetMode(dir.path(), 0555);
    bool longer = false;
    bool shorter = false;
    std::string afterLonger;
    {
        OrdinaryUserScope user;
        if (!user.active()) {
            SetMode(dir.path(), 0777);
            GTEST_SKIP() << "cannot act as an ordinary user here";
        }
        const std::uint8_t address[4] = {192, 168, 0, 50};
        longer = doc.WriteDeviceIP(address);
        afterLonger = ReadBytes(path);
        shorter = doc.WritePIDList(PidListRecord{});
    }
    SetMode(dir.path(), 0777);
    EXPECT_TRUE(longer);
    EXPECT_NE(afterLonger.find("<DeviceIP>192.168.0.50</DeviceIP>"), std::string::npos);
    EXPECT_TRUE(shorter);
    // The file holds exactly the document, with nothing left of the longer text.
    CR40SettingsToXmlDoc reread;
    ASSERT_TRUE(reread.Load(path));
    PidListRecord list{};
    EXPECT_TRUE(reread.ReadPIDList(list));
    std::int32_t channel = 0;
    EXPECT_TRUE(reread.ReadChannel(channel));
    EXPECT_EQ(ReadBytes(path).substr(ReadBytes(path).size() - 10), "</Device>\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"lastused.xml"});
}

TEST(AtomicSaveReadOnlyDirectory, AFullDiskRefusesTheRewriteBeforeTouchingTheFile) {
    SmallFileSystem disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << disk.why();
    const std::string path = disk.File("lastused.xml");
    ASSERT_TRUE(ReplaceFile(path, "short"));
    SetMode(path, 0666);
    ASSERT_TRUE(disk.Fill(disk.File("filler")));
    const std::string directory = path.substr(0, path.rfind('/'));
    SetMode(directory, 0555);
    bool saved = true;
    {
        OrdinaryUserScope user;
        if (!user.active()) {
            SetMode(directory, 0777);
            GTEST_SKIP() << "cannot act as an ordinary user here";
        }
        saved = ReplaceFile(path, std::string(32 * 1024, 'x'));
    }
    SetMode(directory, 0777);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(path), "short");
}

TEST(AtomicSaveReadOnlyDirectory, NoNewFileAndNoReadOnlyFileThere) {
    TempDir dir;
    WriteBytes(dir.File("kept.xml"), "old");
    SetMode(dir.File("kept.xml"), 0444);
    SetMode(dir.path(), 0555);
    bool created = true;
    bool replaced = true;
    {
        OrdinaryUserScope user;
        if (!user.active()) {
            SetMode(dir.path(), 0777);
            GTEST_SKIP() << "cannot act as an ordinary user here";
        }
        created = ReplaceFile(dir.File("new.xml"), "new");
        replaced = ReplaceFile(dir.File("kept.xml"), "new");
    }
    SetMode(dir.path(), 0777);
    EXPECT_FALSE(created);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(ReadBytes(dir.File("kept.xml")), "old");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"kept.xml"});
}

TEST(AtomicSaveLeftovers, OldTemporariesOfOurOwnAreRemovedOnTheNextSave) {
    TempDir dir;
    // Left by saves killed an hour ago: the earlier long form and the short one.
    const std::vector<std::string> stale = {"lastused.xml.tmp-4242-0-123456",
                                            "other.xml.tmp-17-3-999999", "lastused.tmp-4242-1-42"};
    for (const std::string& name : stale) {
        WriteBytes(dir.File(name), "<Device");
        Age(dir.File(name), 3600);
    }
    // Kept: a save that may still be running, a name that only looks alike,
    // a directory, and the operator's own file of that name long ago.
    WriteBytes(dir.File("lastused.xml.tmp-4243-0-1"), "in flight");
    WriteBytes(dir.File("notes.tmp-draft"), "mine");
    Age(dir.File("notes.tmp-draft"), 3600);
    WriteBytes(dir.File("notes.tmp-1-2-x"), "mine");
    Age(dir.File("notes.tmp-1-2-x"), 3600);
    ASSERT_EQ(mkdir(dir.File("saves.tmp-1-2-3").c_str(), 0755), 0);
    Age(dir.File("saves.tmp-1-2-3"), 3600);

    ASSERT_TRUE(ReplaceFile(dir.File("lastused.xml"), "<Device />\n"));
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{"lastused.xml", "lastused.xml.tmp-4243-0-1",
                                        "notes.tmp-1-2-x", "notes.tmp-draft", "saves.tmp-1-2-3"}));
}

TEST(AtomicSaveLeftovers, AnotherUsersTemporaryIsLeftAlone) {
    TempDir dir;
    const std::string theirs = dir.File("lastused.xml.tmp-99-0-1");
    WriteBytes(theirs, "<Device");
    Age(theirs, 3600);
    if (geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(ReplaceFile(dir.File("lastused.xml"), "x"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"lastused.xml", "lastused.xml.tmp-99-0-1"}));
}

}  // namespace
