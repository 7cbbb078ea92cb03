// Windows has no network namespaces: a test program has the loopback it is
// given. Under Wine, scripts/wine-ctest gives each a Linux namespace of its
// own (a Wine slot), or runs them one at a time on the machine's loopback.
#include "tests/support/test_namespace.h"

namespace test_support {

int EnterTestNamespace(int, char**) {
    return 0;
}

}  // namespace test_support
