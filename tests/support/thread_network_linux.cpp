#include "tests/support/thread_network.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace test_support {

bool JoinNetworkNamespace(const std::string& path, std::string* why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (why) *why = "open " + path + ": " + std::strerror(errno);
        return false;
    }
    // The network namespace is a per-thread attribute; only this thread moves.
    const bool ok = ::setns(fd, CLONE_NEWNET) == 0;
    if (!ok && why) *why = "setns " + path + ": " + std::strerror(errno);
    ::close(fd);
    return ok;
}

}  // namespace test_support
