// The attempt lock as a shared flock on a file per network namespace; a
// sweep takes it exclusively without waiting.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "devicelib/route_leftovers.h"

namespace devicelib {
namespace {

// Opens (creating) the lock file; -1 when that is not possible.
int OpenLockFile() {
    const int fd = ::open(AttemptLockPath().c_str(),
                          O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    // Every user's processes take the same lock, whatever the umask.
    if (fd >= 0 && ::fchmod(fd, 0666) != 0) {
        // Someone else's file: it can be locked all the same.
    }
    return fd;
}

bool Flock(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation) == 0) return true;
        if (errno != EINTR) return false;
    }
}

bool IsSystemTable(platform::iphelper::IpHelper& helper) {
    return &helper == &platform::iphelper::SystemIpHelper();
}

}  // namespace

std::string AttemptLockPath() {
    // Each network namespace has its own tables, so each has its own lock.
    struct stat ns {};
    std::string key = "host";
    if (::stat("/proc/thread-self/ns/net", &ns) == 0 || ::stat("/proc/self/ns/net", &ns) == 0)
        key = std::to_string(ns.st_ino);
    const char* directory = ::access("/run/lock", W_OK | X_OK) == 0 ? "/run/lock" : "/tmp";
    return std::string(directory) + "/r40-routes-" + key + ".lock";
}

AttemptLock::AttemptLock(platform::iphelper::IpHelper& helper)
    : m_fd(IsSystemTable(helper) ? OpenLockFile() : -1) {
    if (m_fd >= 0 && !Flock(m_fd, LOCK_SH)) {
        ::close(m_fd);
        m_fd = -1;
    }
}

AttemptLock::~AttemptLock() {
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

SweepLock::SweepLock(platform::iphelper::IpHelper& helper)
    : m_fd(IsSystemTable(helper) ? OpenLockFile() : -1) {
    // Without a lock file (or for tables in memory) no attempt can be told
    // apart from a leftover; the sweep goes on all the same, as the entries
    // would otherwise stay for ever.
    m_acquired = m_fd < 0 || Flock(m_fd, LOCK_EX | LOCK_NB);
}

SweepLock::~SweepLock() {
    if (m_fd >= 0) ::close(m_fd);
}

}  // namespace devicelib
