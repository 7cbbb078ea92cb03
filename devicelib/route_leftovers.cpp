#include "devicelib/route_leftovers.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "devicelib/devicelib.h"

namespace devicelib {
namespace {

using platform::iphelper::NeighbourEntry;
using platform::iphelper::RouteRow;

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
    : m_fd(&helper == &platform::iphelper::SystemIpHelper() ? OpenLockFile() : -1) {
    if (m_fd >= 0 && !Flock(m_fd, LOCK_SH)) {
        ::close(m_fd);
        m_fd = -1;
    }
}

AttemptLock::~AttemptLock() {
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

int RemoveLeftoverEntries(platform::iphelper::IpHelper& helper) {
    const int fd = &helper == &platform::iphelper::SystemIpHelper() ? OpenLockFile() : -1;
    // Without a lock file (or for tables in memory) no attempt can be told
    // apart from a leftover; the entries are removed all the same, as they
    // would otherwise stay for ever.
    if (fd >= 0 && !Flock(fd, LOCK_EX | LOCK_NB)) {
        ::close(fd);
        return 0;  // an attempt is running; its entries are its own
    }
    int removed = 0;
    std::vector<NeighbourEntry> neighbours;
    if (helper.ReadNeighbours(neighbours)) {
        for (const NeighbourEntry& entry : neighbours)
            if (platform::iphelper::IsOwnNeighbour(entry) &&
                helper.DeleteNeighbour(entry.interfaceIndex, entry.address))
                ++removed;
    }
    std::vector<RouteRow> routes;
    if (helper.ReadRoutes(routes)) {
        for (const RouteRow& row : routes) {
            if (!platform::iphelper::IsOwnRoute(row)) continue;
            platform::iphelper::HostRoute route;
            route.destination = row.destination;
            route.localAddress = row.preferredSource;
            route.interfaceIndex = row.interfaceIndex;
            route.metric = row.metric;
            if (helper.DeleteHostRoute(route)) ++removed;
        }
    }
    if (fd >= 0) ::close(fd);
    return removed;
}

}  // namespace devicelib

extern "C" DEVICELIB_API int32_t RemoveStaleRoutes(void) {
    try {
        return devicelib::RemoveLeftoverEntries(platform::iphelper::SystemIpHelper());
    } catch (...) {
        return 0;
    }
}
