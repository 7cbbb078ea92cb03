#include "platform/file/file_name.h"

#include <filesystem>

namespace platform::file {

std::string FileNameOf(std::string_view path) {
    // A path made from char8_t reads UTF-8 on Windows too, where a path made
    // from char would be read in the ANSI code page.
    const std::u8string name =
        std::filesystem::path(std::u8string(path.begin(), path.end())).filename().u8string();
    return std::string(name.begin(), name.end());
}

}  // namespace platform::file
