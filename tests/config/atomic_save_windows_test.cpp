// Saves on Windows: the file is replaced whole through ReplaceFileW or
// MoveFileExW, or left exactly as it was, and no temporary stays behind.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h names ReplaceFileW ReplaceFile; ours is platform::file::ReplaceFile.
#undef ReplaceFile

#include <cstdint>
#include <string>
#include <vector>

#include "config/r40_settings_to_xml_doc.h"
#include "platform/file/atomic_file.h"
#include "tests/config/file_fixtures.h"

namespace {

using config_test::ReadBytes;
using config_test::SetMode;
using config_test::TempDir;
using config_test::WriteBytes;
using platform::file::ReplaceFile;

std::wstring Wide(const std::string& path) {
    return std::wstring(path.begin(), path.end());  // the tests' paths are ASCII
}

bool Contains(const std::string& haystack, const std::string& needle) {
    return haystack.find(needle) != std::string::npos;
}

// A handle on a file as another program would hold it open.
struct OpenFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OpenFile(const std::string& path, DWORD share) {
        handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~OpenFile() { Close(); }
    void Close() {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    std::string ReadAll() const {
        std::string bytes;
        char buffer[4096];
        DWORD n = 0;
        while (::ReadFile(handle, buffer, sizeof buffer, &n, nullptr) && n > 0)
            bytes.append(buffer, n);
        return bytes;
    }
};

// Wine's ntdll exports its version; Windows' does not.
bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Sets a file's times `seconds` into the past.
void Age(const std::string& path, long long seconds) {
    HANDLE file = ::CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{};
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart -= static_cast<ULONGLONG>(seconds) * 10000000ull;
    FILETIME then{value.LowPart, value.HighPart};
    EXPECT_TRUE(::SetFileTime(file, &then, &then, &then));
    ::CloseHandle(file);
}

TEST(WindowsAtomicSave, ReplacesTheFileWholeAndLeavesOnlyIt) {
    TempDir dir;
    const std::string path = dir.File("lastused.xml");
    ASSERT_TRUE(ReplaceFile(path, "first"));
    ASSERT_TRUE(ReplaceFile(path, std::string(100000, 'x')));
    ASSERT_TRUE(ReplaceFile(path, "third"));
    EXPECT_EQ(ReadBytes(path), "third");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"lastused.xml"});
    // Either separator leads to the same file.
    std::string backslashed = path;
    for (char& c : backslashed)
        if (c == '/') c = '\\';
    ASSERT_TRUE(ReplaceFile(backslashed, "fourth"));
    EXPECT_EQ(ReadBytes(path), "fourth");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"lastused.xml"});
    // A bare name in the working folder, as the console names its file.
    wchar_t previous[MAX_PATH];
    ASSERT_NE(::GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(::SetCurrentDirectoryW(Wide(dir.path()).c_str()));
    const bool bareReplaced = ReplaceFile("lastused.xml", "fifth");
    ::SetCurrentDirectoryW(previous);
    EXPECT_TRUE(bareReplaced);
    EXPECT_EQ(ReadBytes(path), "fifth");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"lastused.xml"});
}

TEST(WindowsAtomicSave, AReadOnlyFileRefusesTheSaveAndTheDocumentKeepsTheChange) {
    TempDir dir;
    const std::string path = dir.File("lastused.xml");
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(path), OPEN_OK);
    ASSERT_TRUE(doc.WriteChannel(14));
    const std::string before = ReadBytes(path);
    SetMode(path, 0444);
    EXPECT_FALSE(doc.WriteChannel(20));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"lastused.xml"});
    SetMode(path, 0644);
    ASSERT_TRUE(doc.WriteUseIGMP(true));
    EXPECT_TRUE(Contains(ReadBytes(path), "<Channel>20</Channel>"));
}

TEST(WindowsAtomicSave, AFileHeldOpenWithoutDeleteSharingStaysWhole) {
    TempDir dir;
    const std::string path = dir.File("c.xml");
    WriteBytes(path, "old contents");
    OpenFile holder(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(holder.handle, INVALID_HANDLE_VALUE);
    // Windows refuses while the file is held without delete sharing; Wine's
    // ReplaceFileW renames beneath the holder, as POSIX does. Either way the
    // file is whole and no temporary is left.
    const bool replaced = ReplaceFile(path, "new contents");
    if (!UnderWine()) {
        EXPECT_FALSE(replaced);
    }
    EXPECT_EQ(ReadBytes(path), replaced ? "new contents" : "old contents");
    std::vector<std::string> left = dir.Entries();
    // Wine cannot delete its own backup (rfNNNN.tmp) of the held file.
    if (UnderWine())
        std::erase_if(left, [](const std::string& name) { return name.rfind("rf", 0) == 0; });
    EXPECT_EQ(left, std::vector<std::string>{"c.xml"});
    holder.Close();
    EXPECT_TRUE(ReplaceFile(path, "new contents"));
    EXPECT_EQ(ReadBytes(path), "new contents");
}

TEST(WindowsAtomicSave, AReaderSharingDeleteSeesTheOldFileWholeWhileTheNewOneArrives) {
    TempDir dir;
    const std::string path = dir.File("c.xml");
    const std::string before(20000, 'o');
    WriteBytes(path, before);
    OpenFile reader(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(reader.handle, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(ReplaceFile(path, "new"));
    EXPECT_EQ(reader.ReadAll(), before);
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(WindowsAtomicSave, KeepsTheAttributesOfTheFileItReplaces) {
    if (UnderWine()) GTEST_SKIP() << "Wine's ReplaceFileW does not carry the attributes over";
    TempDir dir;
    const std::string path = dir.File("c.xml");
    WriteBytes(path, "old");
    ASSERT_TRUE(::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ReplaceFile(path, "new"));
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(WindowsAtomicSave, RefusesTargetsThatAreNoRegularFile) {
    TempDir dir;
    CR40SettingsToXmlDoc doc;
    ASSERT_EQ(doc.OpenForWriting(dir.File("c.xml")), OPEN_OK);
    ASSERT_TRUE(::CreateDirectoryW(Wide(dir.File("sub")).c_str(), nullptr));
    EXPECT_FALSE(doc.SaveAs(dir.File("sub")));
    EXPECT_FALSE(doc.SaveAs(dir.File("sub/")));
    EXPECT_FALSE(doc.SaveAs(dir.File("sub\\")));
    EXPECT_FALSE(doc.SaveAs(""));
    EXPECT_FALSE(doc.SaveAs(dir.File("missing/c.xml")));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"c.xml", "sub"}));
}

TEST(WindowsAtomicSave, OldTemporariesOfOurOwnAreRemovedOnTheNextSave) {
    TempDir dir;
    const std::vector<std::string> stale = {"lastused.xml.tmp-4242-0-123456",
                                            "other.xml.tmp-17-3-999999"};
    for (const std::string& name : stale) {
        WriteBytes(dir.File(name), "<Device");
        Age(dir.File(name), 3600);
    }
    // Kept: a save that may still be running, names that only look alike,
    // and a folder.
    WriteBytes(dir.File("lastused.xml.tmp-4243-0-1"), "in flight");
    WriteBytes(dir.File("notes.tmp-1-2-x"), "mine");
    Age(dir.File("notes.tmp-1-2-x"), 3600);
    ASSERT_TRUE(::CreateDirectoryW(Wide(dir.File("saves.tmp-1-2-3")).c_str(), nullptr));
    Age(dir.File("saves.tmp-1-2-3"), 3600);

    ASSERT_TRUE(ReplaceFile(dir.File("lastused.xml"), "<Device />\n"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"lastused.xml", "lastused.xml.tmp-4243-0-1",
                                                       "notes.tmp-1-2-x", "saves.tmp-1-2-3"}));
}

TEST(WindowsAtomicSave, LongNamesGetShortTemporaries) {
    TempDir dir;
    const std::string name = std::string(196, 'n') + ".xml";
    const std::string path = dir.File(name);
    EXPECT_TRUE(ReplaceFile(path, "first"));
    EXPECT_TRUE(ReplaceFile(path, "second"));
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{name});
}

}  // namespace
