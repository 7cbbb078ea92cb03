// The per-user folder on Windows: %APPDATA%\<product>, however the program
// was started. The Start-menu entry starts it in its installation folder
// under Program Files, which every user shares and few may write to, and a
// Windows program keeps one place for a user's files.
#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/file/user_files_folder.h"

namespace platform::file {
namespace {

namespace fs = std::filesystem;

// Made from char8_t, so the ANSI code page never reads the UTF-8.
fs::path PathOf(std::string_view text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

std::string PerUserFilesFolder(std::string_view product) {
    PWSTR raw = nullptr;
    const HRESULT found =
        ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &raw);
    // Freed whether or not the call succeeded, as the shell asks.
    const std::unique_ptr<wchar_t, decltype(&::CoTaskMemFree)> owned(raw, &::CoTaskMemFree);
    if (FAILED(found) || raw == nullptr) return std::string();
    return Utf8Of(fs::path(raw) / PathOf(product));
}

std::string EnterUserFilesFolder(std::string_view product, std::string& error) {
    std::error_code failure;
    const std::string folder = PerUserFilesFolder(product);
    if (folder.empty()) {
        const fs::path working = fs::current_path(failure);
        if (failure) error = "the working folder cannot be read: " + failure.message();
        return failure ? std::string() : Utf8Of(working);
    }
    fs::create_directories(PathOf(folder), failure);
    if (!failure) fs::current_path(PathOf(folder), failure);
    if (failure) {
        error = folder + ": " + failure.message();
        return std::string();
    }
    return folder;
}

}  // namespace platform::file
