// What the configuration tests' file fixtures do alike on every system.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tests/config/file_fixtures.h"

namespace config_test {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return std::string();
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Whatever a test made read-only goes too (Windows deletes no read-only file).
    fs::permissions(m_path, fs::perms::all, ignored);
    for (fs::recursive_directory_iterator it(m_path, ignored), end; !ignored && it != end;
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::all, ignored);
    fs::remove_all(m_path, ignored);
}

std::vector<std::string> TempDir::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace config_test
