// The folder a program keeps its per-user files in (the console's
// lastused.xml): the working directory, as the program's files are named
// relative to it.
#pragma once

#include <string>
#include <string_view>

namespace platform::file {

// Which folder holds the files: `workingFolder`, unless it is the folder of
// the program itself (`programFolder`) or the installation folder above it,
// which every user shares, most may not write to, and where the Start menu
// and Explorer start an installed program. Then `perUserFolder`. Paths are
// UTF-8 and compared as the system compares them (on Windows: either slash,
// any case, a trailing separator or not).
std::string ChooseUserFilesFolder(std::string_view workingFolder, std::string_view programFolder,
                                  std::string_view perUserFolder);

// This user's folder for the files of `product` (Windows: under the roaming
// application data, %APPDATA%\<product>); empty where the system names none,
// as on Linux, where the desktop launcher picks the folder.
std::string PerUserFilesFolder(std::string_view product);

// Makes the folder ChooseUserFilesFolder names for this process the working
// directory, creating the per-user folder when it is taken. The folder on
// success; on failure empty, with what went wrong in `error`.
std::string EnterUserFilesFolder(std::string_view product, std::string& error);

}  // namespace platform::file
