#include "tests/support/test_namespace.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "tests/support/private_network.h"

namespace test_support {

int EnterTestNamespace(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) return 0;
    std::string why;
    if (test_support::EnterPrivateNetwork(&why)) return 0;
    std::fprintf(stderr,
                 "SKIPPED: these tests need a network namespace of their own "
                 "(run as root or with CAP_SYS_ADMIN): %s\n",
                 why.c_str());
    return SKIPPED;
}

}  // namespace test_support
