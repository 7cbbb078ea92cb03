// Windows has no network namespaces: test programs share the machine's
// loopback, so ctest runs them one at a time (the windows test preset).
#include "tests/support/test_namespace.h"

namespace test_support {

int EnterTestNamespace(int, char**) {
    return 0;
}

}  // namespace test_support
