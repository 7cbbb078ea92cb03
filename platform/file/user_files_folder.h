// The folder a program keeps its per-user files in (the console's
// lastused.xml): the working directory, as the program's files are named
// relative to it.
#pragma once

#include <string>
#include <string_view>

namespace platform::file {

// This user's folder for the files of `product` (Windows: under the roaming
// application data, %APPDATA%\<product>); empty where the system names none,
// as on Linux, where the desktop launcher picks the folder.
std::string PerUserFilesFolder(std::string_view product);

// Makes PerUserFilesFolder(product) the working directory, creating it when
// missing; where the system names none, the working directory stays. The
// folder now current on success; on failure empty, with what went wrong in
// `error`, and the working directory unchanged.
std::string EnterUserFilesFolder(std::string_view product, std::string& error);

}  // namespace platform::file
