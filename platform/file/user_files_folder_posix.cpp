// The per-user folder on Linux: the desktop launcher changes to the state
// folder before it starts the program, and a start from a terminal keeps
// the terminal's folder, so the working directory is always the answer.
#include <filesystem>
#include <system_error>

#include "platform/file/user_files_folder.h"

namespace platform::file {

std::string PerUserFilesFolder(std::string_view) {
    return std::string();
}

std::string EnterUserFilesFolder(std::string_view, std::string& error) {
    std::error_code failure;
    const std::filesystem::path here = std::filesystem::current_path(failure);
    if (failure) {
        error = failure.message();
        return std::string();
    }
    return here.string();
}

}  // namespace platform::file
