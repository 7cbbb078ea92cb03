// Moves the calling process into a network namespace of its own with only
// the loopback interface up. Test programs use it so that the fixed status
// ports they bind and the receivers they emulate never meet another test's.
#pragma once

#include <string>

namespace test_support {

// Call before any thread is started. Returns false (with a reason) when the
// process may not create a namespace.
bool EnterPrivateNetwork(std::string* why = nullptr);

}  // namespace test_support
