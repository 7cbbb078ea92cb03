// Real files for the configuration tests: a temporary directory per test, an
// ordinary user's permissions while root, and a tiny file system to fill up.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace config_test {

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// A fresh directory under the system's temporary directory, removed with
// everything in it. InMemory puts it on /dev/shm where that exists, for tests
// that save thousands of times and need no disk behind the flushes.
class TempDir {
  public:
    enum class Where { OnDisk, InMemory };
    explicit TempDir(Where where = Where::OnDisk);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Names of the entries, sorted.
    std::vector<std::string> Entries() const;

  private:
    std::string m_path;
};

// While it lives, the process acts as the user "nobody" when it was root, so
// that permission bits hold as they do for an operator. Does nothing for a
// process that is not root. active() is false when the switch was refused.
class OrdinaryUserScope {
  public:
    OrdinaryUserScope();
    ~OrdinaryUserScope();
    OrdinaryUserScope(const OrdinaryUserScope&) = delete;
    OrdinaryUserScope& operator=(const OrdinaryUserScope&) = delete;
    bool active() const { return m_active; }

  private:
    bool m_switched = false;
    bool m_active = false;
};

// A tmpfs of a few pages mounted in a mount namespace of this process's own,
// so that filling it affects nothing else. mounted() is false, with the reason
// in why(), where that is not allowed.
class SmallFileSystem {
  public:
    explicit SmallFileSystem(std::size_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& why() const { return m_why; }
    std::string File(const std::string& name) const { return m_dir.File(name); }
    std::vector<std::string> Entries() const { return m_dir.Entries(); }

    // Writes `path` until the file system is full; true when it filled up.
    bool Fill(const std::string& path) const;

  private:
    TempDir m_dir;
    bool m_mounted = false;
    std::string m_why;
};

// Makes `path` read-only (mode 0444) or writable for everyone (0666).
void SetMode(const std::string& path, unsigned mode);

}  // namespace config_test
