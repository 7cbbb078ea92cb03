// gtest main for programs that bind the fixed status ports or emulate
// receivers: each test process gets a network namespace of its own.
#include <gtest/gtest.h>

#include "tests/support/test_namespace.h"

int main(int argc, char** argv) {
    if (const int skipped = test_support::EnterTestNamespace(argc, argv)) return skipped;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
