// Windows has no network namespaces: there is nothing to join.
#include "tests/support/thread_network.h"

namespace test_support {

bool JoinNetworkNamespace(const std::string& path, std::string* why) {
    if (why) *why = path + ": network namespaces exist on Linux only";
    return false;
}

}  // namespace test_support
