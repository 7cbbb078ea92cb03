// Moves a test program into a network namespace of its own, unless it is
// only asked to list its tests. Returns 0, or the skip code 77 (with the
// reason printed) when the program may not make a namespace.
#pragma once

namespace test_support {

inline constexpr int SKIPPED = 77;

int EnterTestNamespace(int argc, char** argv);

}  // namespace test_support
