// Where the console keeps lastused.xml on Windows: the per-user folder when
// started in its own installation (the Start menu's way), the working folder
// otherwise; and the real move into %APPDATA% under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file/user_files_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::file::ChooseUserFilesFolder;

constexpr char PROGRAM[] = "C:\\Program Files\\R40 Management Console\\bin";
constexpr char PER_USER[] = "C:\\Users\\op\\AppData\\Roaming\\R40 Management Console";

struct Choice {
    const char* working;
    const char* program;
    const char* perUser;
    const char* chosen;
};

TEST(UserFilesFolder, ProgramsOwnFoldersGiveWayToThePerUserFolder) {
    const Choice cases[] = {
        // The Start-menu entry starts in the installation folder; Explorer in the program's.
        {"C:\\Program Files\\R40 Management Console", PROGRAM, PER_USER, PER_USER},
        {PROGRAM, PROGRAM, PER_USER, PER_USER},
        // The same places written otherwise.
        {"c:\\program files\\r40 management console\\", PROGRAM, PER_USER, PER_USER},
        {"C:/Program Files/R40 Management Console/bin/", PROGRAM, PER_USER, PER_USER},
        {"C:\\Program Files\\R40 Management Console\\bin\\..", PROGRAM, PER_USER, PER_USER},
        // A folder the operator chose at a command prompt stays.
        {"C:\\Users\\op\\receivers", PROGRAM, PER_USER, "C:\\Users\\op\\receivers"},
        {"C:\\Program Files", PROGRAM, PER_USER, "C:\\Program Files"},
        {"C:\\Program Files\\R40 Management Console\\bin\\configs", PROGRAM, PER_USER,
         "C:\\Program Files\\R40 Management Console\\bin\\configs"},
        {"C:\\Program Files\\R40 Management Console 2", PROGRAM, PER_USER,
         "C:\\Program Files\\R40 Management Console 2"},
        // Without a per-user folder or a known program folder nothing moves.
        {PROGRAM, PROGRAM, "", PROGRAM},
        {PROGRAM, "", PER_USER, PROGRAM},
    };
    for (const Choice& c : cases)
        EXPECT_EQ(ChooseUserFilesFolder(c.working, c.program, c.perUser), c.chosen)
            << "started in " << c.working << ", program in " << c.program;
}

// The test program stands in for the console: started in its own folder it
// moves into a folder of its own under this user's application data.
TEST(UserFilesFolder, StartedInTheProgramsFolderMovesToAppData) {
    const fs::path before = fs::current_path();
    wchar_t module[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
    const fs::path programFolder = fs::path(module).parent_path();
    const std::string product = "r40 user files test " + std::to_string(::GetCurrentProcessId());

    const std::string perUser = platform::file::PerUserFilesFolder(product);
    const char* appData = std::getenv("APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_TRUE(fs::equivalent(fs::path(perUser).parent_path(), appData)) << perUser;
    EXPECT_EQ(fs::path(perUser).filename().string(), product);
    ASSERT_FALSE(fs::exists(perUser));

    struct Restore {
        fs::path folder;
        std::string made;
        ~Restore() {
            std::error_code ignored;
            fs::current_path(folder, ignored);
            fs::remove_all(made, ignored);
        }
    } restore{before, perUser};

    const struct {
        fs::path startedIn;
        bool moves;
    } starts[] = {{programFolder, true},
                  {programFolder.parent_path(), true},
                  {fs::temp_directory_path(), false}};
    for (const auto& start : starts) {
        fs::current_path(start.startedIn);
        const std::string expected = start.moves ? perUser : fs::current_path().string();
        std::string error;
        const std::string entered = platform::file::EnterUserFilesFolder(product, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(entered, expected) << "started in " << start.startedIn;
        EXPECT_EQ(fs::current_path().string(), expected) << "started in " << start.startedIn;
    }
    EXPECT_TRUE(fs::is_directory(perUser));
}

}  // namespace
