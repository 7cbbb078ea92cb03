// POSIX backend of the atomic file replacement: open(O_EXCL), fsync, rename.
#include "platform/file/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "platform/file/temporary_names.h"

namespace platform::file {
namespace {

// The file to replace once symbolic links are followed; empty when a link
// leads nowhere.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Removes what saves killed in this directory left behind: regular files of
// this user with a temporary's name, untouched for longer than any save
// takes. A younger one may belong to a save still running elsewhere.
void RemoveStaleTemporaries(const std::string& directory) {
    struct CloseDirectory {
        void operator()(DIR* listing) const { closedir(listing); }
    };
    std::unique_ptr<DIR, CloseDirectory> listing(opendir(directory.c_str()));
    if (!listing) return;
    const int directoryFd = dirfd(listing.get());
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (!IsTemporaryName(name)) continue;
        struct stat info {};
        if (fstatat(directoryFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) continue;
        if (now - info.st_mtime < STALE_TEMPORARY_SECONDS) continue;
        if (unlinkat(directoryFd, name.c_str(), 0) != 0) {
            // Gone already, or the directory refuses: the next save tries again.
        }
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Rewrites the file itself, for a writable file in a directory that refuses
// new files (a shared folder where the operator may change the file but not
// the folder). This trades the atomic replacement for being able to save at
// all: a crash or power loss in the middle leaves the file partly written,
// and a reader at that moment may see it half old, half new. The space is
// reserved first, so a full disk refuses the save before the file is touched.
bool RewriteInPlace(const std::string& target, std::string_view contents) {
    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const off_t size = static_cast<off_t>(contents.size());
    // File systems without fallocate answer otherwise; they go on unreserved.
    bool ok = size == 0 || fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0 || errno != ENOSPC;
    // Written over the old bytes first and cut after, so the file is never
    // shorter than needed while it is being written.
    ok = ok && WriteAll(fd, contents) && ftruncate(fd, size) == 0 && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    return ok && closed;
}

// A uniquely named file beside the target that disappears again unless it has
// been renamed into place.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (m_fd >= 0) close(m_fd);
        if (!m_path.empty() && !m_placed) unlink(m_path.c_str());
    }

    // False with errno set by the last refusal.
    bool Create(const std::string& target) {
        static std::atomic<unsigned> sequence{0};
        for (int attempt = 0; attempt < 16; ++attempt) {
            const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
            const std::string candidate =
                DirectoryOf(target) + "/" +
                TemporaryName(NameOf(target), static_cast<unsigned long>(getpid()), sequence++,
                              static_cast<long long>(stamp));
            m_fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_path = candidate;
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }

    // Gives the file the permissions (and, where allowed, the owner) of the
    // file it replaces; the umask applied at creation would otherwise narrow them.
    bool Adopt(const struct stat& replaced) {
        if (fchown(m_fd, replaced.st_uid, replaced.st_gid) != 0) {
            // Only the owner's own files can be given away; ours stays ours.
        }
        return fchmod(m_fd, replaced.st_mode & 07777) == 0;
    }

    bool Write(std::string_view bytes) { return WriteAll(m_fd, bytes); }

    // Pushes everything to the disk and closes the file; both are checked
    // because a full disk can show up in either.
    bool Finish() {
        const bool synced = fsync(m_fd) == 0;
        const bool closed = close(m_fd) == 0;
        m_fd = -1;
        return synced && closed;
    }

    bool RenameOver(const std::string& target) {
        if (rename(m_path.c_str(), target.c_str()) != 0) return false;
        m_placed = true;
        return true;
    }

  private:
    std::string m_path;
    int m_fd = -1;
    bool m_placed = false;
};

// Makes the rename itself durable. The new file is in place already, so a
// directory that cannot be synchronised does not undo the save.
void SyncDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (fsync(fd) != 0) {
        // Some file systems do not synchronise directories; nothing to undo.
    }
    close(fd);
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view contents) {
    const std::string target = ResolveTarget(path);
    if (target.empty() || target.back() == '/') return false;

    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
        // Never replace a device, pipe or directory, and refuse a file the
        // caller could not have written in place.
        if (!S_ISREG(existing.st_mode)) return false;
        const int probe = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) return false;
        close(probe);
    }

    const std::string directory = DirectoryOf(target);
    RemoveStaleTemporaries(directory);

    TemporaryFile temporary;
    if (!temporary.Create(target)) {
        const bool directoryRefuses = errno == EACCES || errno == EPERM;
        return exists && directoryRefuses && RewriteInPlace(target, contents);
    }
    if (exists && !temporary.Adopt(existing)) return false;
    if (!temporary.Write(contents)) return false;
    if (!temporary.Finish()) return false;
    if (!temporary.RenameOver(target)) return false;
    SyncDirectory(directory);
    return true;
}

}  // namespace platform::file
