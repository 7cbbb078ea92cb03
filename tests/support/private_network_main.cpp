// gtest main for programs that bind the fixed status ports or emulate
// receivers: each test process gets a network namespace of its own.
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/netns/private_network.h"

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) listing = true;
    if (!listing) {
        std::string why;
        if (!platform::netns::EnterPrivateNetwork(&why)) {
            std::fprintf(stderr,
                         "SKIPPED: these tests need a network namespace of their own "
                         "(run as root or with CAP_SYS_ADMIN): %s\n",
                         why.c_str());
            return 77;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
