// The per-user folder on Windows: the Start-menu entry starts the console in
// its installation folder under Program Files, which is no place for one
// user's files, so there the console moves to %APPDATA%\<product>; a start
// from a command prompt keeps the prompt's folder, as on Linux.
#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

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

// Backslashes only, '.' and '..' resolved, no trailing separator but a
// root's own.
fs::path Comparable(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    return normal;
}

bool SamePlace(const fs::path& a, const fs::path& b) {
    const std::wstring& x = a.native();
    const std::wstring& y = b.native();
    return !x.empty() && ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                                static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

fs::path ProgramFolder() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return fs::path();
        if (length < name.size()) return fs::path(std::wstring(name.data(), length)).parent_path();
        if (name.size() >= 32768) return fs::path();  // longer than any path Windows takes
        name.resize(name.size() * 2);
    }
}

}  // namespace

std::string ChooseUserFilesFolder(std::string_view workingFolder, std::string_view programFolder,
                                  std::string_view perUserFolder) {
    const fs::path working = Comparable(PathOf(workingFolder));
    const fs::path program = Comparable(PathOf(programFolder));
    if (perUserFolder.empty() || programFolder.empty()) return std::string(workingFolder);
    if (SamePlace(working, program) || SamePlace(working, program.parent_path()))
        return std::string(perUserFolder);
    return std::string(workingFolder);
}

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
    const fs::path working = fs::current_path(failure);
    if (failure) {
        error = "the working folder cannot be read: " + failure.message();
        return std::string();
    }
    const std::string chosen = ChooseUserFilesFolder(Utf8Of(working), Utf8Of(ProgramFolder()),
                                                     PerUserFilesFolder(product));
    if (chosen == Utf8Of(working)) return chosen;
    fs::create_directories(PathOf(chosen), failure);
    if (!failure) fs::current_path(PathOf(chosen), failure);
    if (failure) {
        error = chosen + ": " + failure.message();
        return std::string();
    }
    return chosen;
}

}  // namespace platform::file
