// Moves the calling thread (only it) into an existing network namespace, so
// that the sockets it creates afterwards live there. The receiver emulator
// uses it to stand a receiver behind a veth pair in another namespace.
#pragma once

#include <string>

namespace test_support {

// `path` names the namespace, e.g. /run/netns/B or /proc/<pid>/task/<tid>/ns/net.
// Returns false (with a reason) when it cannot be opened or joined.
bool JoinNetworkNamespace(const std::string& path, std::string* why = nullptr);

}  // namespace test_support
