// The names atomic saves give their temporary files, on every platform:
// "<up to 64 bytes of the target's name>.tmp-PID-SEQ-STAMP".
#pragma once

#include <cstddef>
#include <ctime>
#include <string>

namespace platform::file {

// The target's part is cut so that the whole stays far below the file
// systems' name limit (255).
inline constexpr std::size_t TEMPORARY_PREFIX_BYTES = 64;
inline constexpr char TEMPORARY_MARK[] = ".tmp-";
// A temporary older than this belongs to a save that was killed: a save
// takes milliseconds, seconds on the slowest disk.
inline constexpr std::time_t STALE_TEMPORARY_SECONDS = 10 * 60;

// The target's name cut to TEMPORARY_PREFIX_BYTES, never inside a UTF-8
// sequence.
std::string TemporaryPrefix(const std::string& name);

// "<prefix>.tmp-PID-SEQ-STAMP".
std::string TemporaryName(const std::string& name, unsigned long processId, unsigned sequence,
                          long long stamp);

// True for the names saves give their temporaries, now and in earlier
// versions: a name, ".tmp-", then three runs of digits joined by '-'.
bool IsTemporaryName(const std::string& name);

}  // namespace platform::file
