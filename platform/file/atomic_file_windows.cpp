// Windows backend of the atomic file replacement: the temporary beside the
// target is written through to the disk, then put in the target's place with
// ReplaceFileW (which keeps the replaced file's attributes, security and
// streams) or, for a new file, MoveFileExW with write-through.
//
// Paths are UTF-8, as everywhere in the program; both '/' and '\' separate
// folders.
#include <windows.h>
// windows.h names ReplaceFileW ReplaceFile; ours is platform::file::ReplaceFile.
#undef ReplaceFile

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/file/atomic_file.h"
#include "platform/file/temporary_names.h"

namespace platform::file {
namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                        static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          wide.data(), n);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n,
                          nullptr, nullptr);
    return narrow;
}

bool IsSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

std::wstring::size_type LastSeparator(const std::wstring& path) {
    const auto slash = path.find_last_of(L"/\\");
    const auto drive =
        path.size() >= 2 && path[1] == L':' ? std::wstring::size_type{1} : std::wstring::npos;
    if (slash == std::wstring::npos) return drive;
    return drive != std::wstring::npos && drive > slash ? drive : slash;
}

// The folder of `path`, with its separator, ready to take a name ("" for
// the current folder).
std::wstring FolderPrefix(const std::wstring& path) {
    const auto last = LastSeparator(path);
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring NameOf(const std::wstring& path) {
    const auto last = LastSeparator(path);
    return last == std::wstring::npos ? path : path.substr(last + 1);
}

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle Own(HANDLE handle) {
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The file a symbolic link (or junction on the way) leads to; the path
// itself when it is none; empty when it leads nowhere.
// The path named from the root: a bare name in the working folder keeps
// naming the same file whatever the folder becomes, and ReplaceFileW finds
// the folder for its own temporary (Wine's finds none in a bare name).
std::wstring FullPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()),
                                           buffer.data(), nullptr);
        if (n == 0) return std::wstring();
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n + 1);
    }
}

std::wstring ResolveTarget(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    UniqueHandle file = Own(::CreateFileW(path.c_str(), 0, SHARE_ALL, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return std::wstring();
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(file.get(), buffer.data(),
                                                    static_cast<DWORD>(buffer.size()), 0);
        if (n == 0) return std::wstring();
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n + 1);
    }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// The security identifier of the user this process runs as.
std::vector<std::uint8_t> OwnUserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    UniqueHandle owned(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<std::uint8_t> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return {};
    const SID* sid =
        static_cast<const SID*>(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
    const DWORD length = ::GetLengthSid(const_cast<SID*>(sid));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(sid);
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

bool OwnedBy(const std::wstring& path, const std::vector<std::uint8_t>& user) {
    if (user.empty()) return false;
    DWORD size = 0;
    ::GetFileSecurityW(path.c_str(), OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<std::uint8_t> descriptor(size);
    if (!::GetFileSecurityW(path.c_str(), OWNER_SECURITY_INFORMATION, descriptor.data(), size,
                            &size))
        return false;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted) || owner == nullptr)
        return false;
    return ::EqualSid(owner, const_cast<std::uint8_t*>(user.data())) != FALSE;
}

std::int64_t SecondsSince(const FILETIME& then) {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const auto value = [](const FILETIME& t) {
        return (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (value(now) - value(then)) / 10000000;  // 100 ns units
}

// Removes what saves killed in this folder left behind: files of this
// user with a temporary's name, untouched for longer than any save takes.
void RemoveStaleTemporaries(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"*" + Wide(TEMPORARY_MARK) + L"*";
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    const std::vector<std::uint8_t> user = OwnUserSid();
    do {
        const std::wstring name = found.cFileName;
        if (!IsTemporaryName(Narrow(name))) continue;
        if (found.dwFileAttributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
            continue;
        if (SecondsSince(found.ftLastWriteTime) < STALE_TEMPORARY_SECONDS) continue;
        const std::wstring path = folder + name;
        if (!OwnedBy(path, user)) continue;
        if (!::DeleteFileW(path.c_str())) {
            // Gone already, or the folder refuses: the next save tries again.
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Rewrites the file itself, for a writable file in a folder that refuses
// new files (a shared folder where the operator may change the file but not
// the folder). Not atomic: a crash in the middle leaves the file partly
// written. The space is reserved first, so a full disk refuses the save
// before the file is touched.
bool RewriteInPlace(const std::wstring& target, std::string_view contents) {
    UniqueHandle file =
        Own(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file) return false;
    FILE_ALLOCATION_INFO reserve{};
    reserve.AllocationSize.QuadPart = static_cast<LONGLONG>(contents.size());
    if (!::SetFileInformationByHandle(file.get(), FileAllocationInfo, &reserve, sizeof reserve) &&
        ::GetLastError() == ERROR_DISK_FULL)
        return false;
    // Written over the old bytes first and cut after, so the file is never
    // shorter than needed while it is being written.
    return WriteAll(file.get(), contents) && ::SetEndOfFile(file.get()) &&
           ::FlushFileBuffers(file.get());
}

// A uniquely named file beside the target that disappears again unless it
// has been put in the target's place.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        m_file.reset();
        if (!m_path.empty() && !m_placed) ::DeleteFileW(m_path.c_str());
    }

    // False with the last error set by the last refusal.
    bool Create(const std::wstring& target) {
        static std::atomic<unsigned> sequence{0};
        const std::wstring folder = FolderPrefix(target);
        const std::string name = Narrow(NameOf(target));
        for (int attempt = 0; attempt < 16; ++attempt) {
            const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
            const std::wstring candidate =
                folder + Wide(TemporaryName(name, ::GetCurrentProcessId(), sequence++,
                                            static_cast<long long>(stamp)));
            // Nobody else may open it while it is being written; deleting or
            // renaming it through this handle's path stays possible.
            m_file = Own(::CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH,
                                       nullptr));
            if (m_file) {
                m_path = candidate;
                return true;
            }
            if (::GetLastError() != ERROR_FILE_EXISTS) return false;
        }
        return false;
    }

    bool Write(std::string_view bytes) { return WriteAll(m_file.get(), bytes); }

    // Pushes everything to the disk and closes the file; both are checked
    // because a full disk can show up in either.
    bool Finish() {
        const bool flushed = ::FlushFileBuffers(m_file.get()) != FALSE;
        const bool closed = ::CloseHandle(m_file.release()) != FALSE;
        return flushed && closed;
    }

    // An existing target is replaced keeping its identity (attributes,
    // security, streams); a new one is the temporary renamed.
    bool PutInPlaceOf(const std::wstring& target, bool exists) {
        if (exists) {
            if (::ReplaceFileW(target.c_str(), m_path.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
                m_placed = true;
                return true;
            }
            // Refused before anything moved (the target is open elsewhere
            // without delete sharing, or read-only): the old file stands.
            if (::GetLastError() != ERROR_UNABLE_TO_REMOVE_REPLACED) return false;
            // The target could not be swapped but is unchanged; a plain
            // replacement may still go through.
        }
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (exists ? MOVEFILE_REPLACE_EXISTING : 0);
        if (!::MoveFileExW(m_path.c_str(), target.c_str(), flags)) return false;
        m_placed = true;
        return true;
    }

  private:
    std::wstring m_path;
    UniqueHandle m_file;
    bool m_placed = false;
};

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view contents) {
    const std::wstring given = Wide(path);
    if (given.empty()) return false;
    const std::wstring target = ResolveTarget(FullPath(given));
    if (target.empty() || IsSeparator(target.back()) || target.back() == L':') return false;

    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return false;  // a missing folder, no access...
    } else {
        // Never replace a folder or device, and refuse a file the caller could
        // not have written in place (read-only, or no write access).
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return false;
        UniqueHandle probe = Own(::CreateFileW(target.c_str(), GENERIC_WRITE, SHARE_ALL, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) return false;
        if (::GetFileType(probe.get()) != FILE_TYPE_DISK) return false;
    }

    const std::wstring folder = FolderPrefix(target);
    RemoveStaleTemporaries(folder);

    TemporaryFile temporary;
    if (!temporary.Create(target)) {
        const bool folderRefuses = ::GetLastError() == ERROR_ACCESS_DENIED;
        return exists && folderRefuses && RewriteInPlace(target, contents);
    }
    if (!temporary.Write(contents)) return false;
    if (!temporary.Finish()) return false;
    return temporary.PutInPlaceOf(target, exists);
}

}  // namespace platform::file
