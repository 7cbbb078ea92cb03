// Where the console keeps lastused.xml on Windows: this user's application
// data, wherever it was started (the Start menu starts it in Program Files),
// made when missing; a folder that cannot be made leaves the working folder
// as it was and says why.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/file/user_files_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(UserFilesFolder, EveryStartMovesToTheUsersApplicationData) {
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

    // The program's own folder (Explorer), the installation folder above it
    // (the Start menu), any other (a command prompt); the first start makes
    // the folder, the others find it.
    const fs::path starts[] = {programFolder, programFolder.parent_path(),
                               fs::temp_directory_path()};
    for (const fs::path& start : starts) {
        fs::current_path(start);
        std::string error;
        EXPECT_EQ(platform::file::EnterUserFilesFolder(product, error), perUser) << start;
        EXPECT_EQ(error, "");
        EXPECT_EQ(fs::current_path().string(), perUser) << "started in " << start;
    }

    // A name Windows refuses for a folder: nothing moves, and the error says where.
    fs::current_path(programFolder);
    std::string error;
    EXPECT_EQ(platform::file::EnterUserFilesFolder("r40 <refused> | name", error), "");
    EXPECT_NE(error.find("<refused>"), std::string::npos) << error;
    EXPECT_EQ(fs::current_path(), programFolder);
}

}  // namespace
