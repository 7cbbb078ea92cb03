// Windows has no network namespaces: there is nothing to enter.
#include "tests/support/private_network.h"

namespace test_support {

bool EnterPrivateNetwork(std::string* why) {
    if (why) *why = "network namespaces exist on Linux only";
    return false;
}

bool AddLocalNetwork(const std::string&, std::string* why) {
    if (why) *why = "no network namespace of the test's own to add addresses to";
    return false;
}

}  // namespace test_support
