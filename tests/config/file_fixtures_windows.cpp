// The file fixtures on Windows: no other user to become and no small file
// system to fill, so the tests that need them are left out there.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/config/file_fixtures.h"

namespace config_test {

namespace fs = std::filesystem;

TempDir::TempDir(Where) {
    static std::atomic<unsigned> sequence{0};
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = "r40-config-" + std::to_string(::GetCurrentProcessId()) + "-" +
                                 std::to_string(sequence++) + "-" +
                                 std::to_string(::GetTickCount64() % 100000);
        const fs::path candidate = base / name;
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_path = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary directory");
}

OrdinaryUserScope::OrdinaryUserScope() = default;
OrdinaryUserScope::~OrdinaryUserScope() = default;

SmallFileSystem::SmallFileSystem(std::size_t) : m_why("no small file system to mount on Windows") {}
SmallFileSystem::~SmallFileSystem() = default;

bool SmallFileSystem::Fill(const std::string&) const {
    return false;
}

void SetMode(const std::string& path, unsigned mode) {
    // Windows keeps one bit of these: read-only.
    std::error_code error;
    fs::permissions(path, fs::perms::owner_write,
                    (mode & 0222) ? fs::perm_options::add : fs::perm_options::remove, error);
    if (error) throw std::runtime_error("cannot change the mode of " + path);
}

}  // namespace config_test
