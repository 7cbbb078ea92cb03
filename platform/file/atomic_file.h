// Replacing a file so that it is never seen half written.
//
// The new contents go to a temporary file in the target's directory, which is
// flushed to the disk and then renamed over the target. Whatever fails on the
// way (no room on the disk, a read-only target), the temporary file is
// removed and the previous file stays whole.
//
// Temporary names are short whatever the target's ("<up to 64 bytes of the
// name>.tmp-PID-SEQ-STAMP"). Temporaries of that form that a killed save left
// in the directory (this user's, older than ten minutes) are removed by the
// next save there. A writable file in a directory that refuses new files is
// rewritten in place instead, which is not atomic.
#pragma once

#include <string>
#include <string_view>

namespace platform::file {

// Replaces (or creates) the regular file `path` with `contents`. True only
// when every write, the flush to the disk, the close and the rename succeeded. Refuses a target
// that exists but is not a regular file or cannot be opened for writing. A symbolic link is
// followed: the file it names is replaced. The permission bits of a replaced file are kept.
bool ReplaceFile(const std::string& path, std::string_view contents);

}  // namespace platform::file
