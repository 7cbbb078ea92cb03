// The last part of a path, for messages that name a file without its folder.
#pragma once

#include <string>
#include <string_view>

namespace platform::file {

// Paths are UTF-8 on every system. On Windows either slash separates; on
// other systems only '/', a backslash being an ordinary letter of a name.
// A path ending in a separator names no file: the result is empty.
std::string FileNameOf(std::string_view path);

}  // namespace platform::file
