#include "tests/support/private_network.h"

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace test_support {

bool EnterPrivateNetwork(std::string* why) {
    if (::unshare(CLONE_NEWNET) != 0) {
        if (why) *why = std::string("unshare(CLONE_NEWNET): ") + std::strerror(errno);
        return false;
    }
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (why) *why = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    ifreq ifr{};
    std::strncpy(ifr.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(fd, SIOCGIFFLAGS, &ifr) == 0;
    if (ok) {
        ifr.ifr_flags |= IFF_UP | IFF_RUNNING;
        ok = ::ioctl(fd, SIOCSIFFLAGS, &ifr) == 0;
    }
    if (!ok && why) *why = std::string("bringing lo up: ") + std::strerror(errno);
    ::close(fd);
    return ok;
}

bool AddLocalNetwork(const std::string& cidr, std::string* why) {
    const std::string command = "ip addr replace " + cidr + " dev lo >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) return true;
    if (why) *why = "cannot add " + cidr + " to lo (needs root and iproute2)";
    return false;
}

}  // namespace test_support
