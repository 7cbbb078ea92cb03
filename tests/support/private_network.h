// Moves the calling process into a network namespace of its own with only
// the loopback interface up. Test programs use it so that the fixed status
// ports they bind and the receivers they emulate never meet another test's.
#pragma once

#include <string>

namespace test_support {

// Call before any thread is started. Returns false (with a reason) when the
// process may not create a namespace.
bool EnterPrivateNetwork(std::string* why = nullptr);

// Puts `cidr` (e.g. "10.26.0.1/16") on the loopback interface of the
// calling process's namespace, so that a test can send from addresses that
// are not loopback ones, as hosts on a LAN do (every address of the range
// is then this machine's). Call it only inside a namespace of the test's
// own. False (with a reason) where it cannot: not root, no iproute2, or
// Windows.
bool AddLocalNetwork(const std::string& cidr, std::string* why = nullptr);

}  // namespace test_support
