#include "tests/config/file_fixtures.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace config_test {

namespace fs = std::filesystem;

TempDir::TempDir(Where where) {
    std::error_code error;
    const fs::path base = where == Where::InMemory && fs::is_directory("/dev/shm", error)
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    std::string pattern = (base / "r40-config-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    // Reachable for the ordinary user of OrdinaryUserScope as well.
    chmod(m_path.c_str(), 0777);
}

OrdinaryUserScope::OrdinaryUserScope() {
    if (geteuid() != 0) {
        m_active = true;
        return;
    }
    constexpr uid_t NOBODY = 65534;
    m_switched = seteuid(NOBODY) == 0;
    m_active = m_switched;
}

OrdinaryUserScope::~OrdinaryUserScope() {
    if (m_switched && seteuid(0) != 0) std::abort();  // the rest of the run would be wrong
}

SmallFileSystem::SmallFileSystem(std::size_t bytes) {
    if (unshare(CLONE_NEWNS) != 0) {
        m_why = std::string("no mount namespace of our own: ") + std::strerror(errno);
        return;
    }
    // Mounts made from here on stay in this process's namespace.
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        m_why = std::string("cannot make mounts private: ") + std::strerror(errno);
        return;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (mount("tmpfs", m_dir.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        m_why = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        return;
    }
    m_mounted = true;
}

SmallFileSystem::~SmallFileSystem() {
    if (m_mounted) umount2(m_dir.path().c_str(), MNT_DETACH);
}

bool SmallFileSystem::Fill(const std::string& path) const {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    char block[4096] = {};
    bool full = false;
    for (;;) {
        const ssize_t n = write(fd, block, sizeof block);
        if (n < 0 && errno == ENOSPC) {
            full = true;
            break;
        }
        if (n <= 0) break;
    }
    close(fd);
    return full;
}

void SetMode(const std::string& path, unsigned mode) {
    if (chmod(path.c_str(), static_cast<mode_t>(mode)) != 0)
        throw std::runtime_error("chmod failed on " + path);
}

}  // namespace config_test
