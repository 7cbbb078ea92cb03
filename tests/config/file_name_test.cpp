// The file's name that messages show, cut from UTF-8 paths as the system
// where the console runs separates them.
#include <gtest/gtest.h>

#include <string>

#include "platform/file/file_name.h"

namespace {

struct Case {
    const char* path;
    const char* name;
};

TEST(FileName, IsTheLastPartOfThePathAsTheSystemSeparatesIt) {
    const Case cases[] = {
        {"/home/op/configs/studio.xml", "studio.xml"},
        {"studio.xml", "studio.xml"},
        {"configs/lastused.xml", "lastused.xml"},
        {"/home/op/configs/", ""},  // a folder names no file
        {"", ""},
        // UTF-8 stays whole: a conversion through the locale or Latin-1
        // would split or mangle these bytes.
        {"/tmp/Studio \xC3\x9C \xE2\x82\xAC.xml", "Studio \xC3\x9C \xE2\x82\xAC.xml"},
        {"/tmp/\xE6\x94\xB6\xE4\xBF\xA1/\xE5\x8F\xB0.xml", "\xE5\x8F\xB0.xml"},
#ifdef _WIN32
        {"C:\\Users\\op\\studio.xml", "studio.xml"},
        {"C:/Users/op\\mixed.xml", "mixed.xml"},
        {"\\\\server\\share\\signal.csv", "signal.csv"},
#else
        // A backslash is a letter of a name here, never a separator.
        {"/tmp/a\\b.xml", "a\\b.xml"},
#endif
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::file::FileNameOf(c.path), std::string(c.name)) << c.path;
}

}  // namespace
