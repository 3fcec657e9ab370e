// The real file system on Windows. Descriptors are this file's own small numbers: a folder's
// stands for its full path (Windows opens names by path, so the *At calls join the two), a
// file's for its handle. Every name goes through the wide (UTF-16) calls, so a folder such as
// C:\Users\山田\ works. A replacing rename is MoveFileExW with REPLACE_EXISTING and
// WRITE_THROUGH, which also stands for the folder sync POSIX needs after a rename.
#include <windows.h>

#include <cerrno>
#include <mutex>
#include <utility>
#include <variant>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_folders.h"
#include "platform/wide_text_win.h"

namespace kestran::platform {

namespace {

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
            return EINVAL;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        default:
            return EIO;
    }
}

int LastError() {
    return -ErrnoOf(GetLastError());
}

FileInfo FromHandleInfo(const BY_HANDLE_FILE_INFORMATION& h) {
    FileInfo info;
    if (h.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        info.kind = FileInfo::Kind::Symlink;
    else if (h.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        info.kind = FileInfo::Kind::Directory;
    else
        info.kind = FileInfo::Kind::Regular;
    info.size = (uint64_t(h.nFileSizeHigh) << 32) | h.nFileSizeLow;
    info.device = h.dwVolumeSerialNumber;
    info.inode = (uint64_t(h.nFileIndexHigh) << 32) | h.nFileIndexLow;
    return info;
}

// The open folders and files, by descriptor.
class Table {
public:
    using Entry = std::variant<std::monostate, std::wstring, HANDLE>;

    int Add(Entry entry) {
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (std::holds_alternative<std::monostate>(entries_[i])) {
                entries_[i] = std::move(entry);
                return static_cast<int>(i);
            }
        }
        entries_.push_back(std::move(entry));
        return static_cast<int>(entries_.size() - 1);
    }
    Entry Get(int fd) {
        std::lock_guard lock(mutex_);
        if (fd < 0 || static_cast<std::size_t>(fd) >= entries_.size()) return {};
        return entries_[static_cast<std::size_t>(fd)];
    }
    Entry Take(int fd) {
        std::lock_guard lock(mutex_);
        if (fd < 0 || static_cast<std::size_t>(fd) >= entries_.size()) return {};
        return std::exchange(entries_[static_cast<std::size_t>(fd)], std::monostate{});
    }

private:
    std::mutex mutex_;
    std::vector<Entry> entries_;
};

Table& Open() {
    static Table table;
    return table;
}

HANDLE FileHandle(int fd) {
    const auto entry = Open().Get(fd);
    return std::holds_alternative<HANDLE>(entry) ? std::get<HANDLE>(entry) : INVALID_HANDLE_VALUE;
}

// The full path of `name` in the open folder `folderFd`; false for a name that is not one plain
// entry (Windows would read "a\b" or "CON" as something else) or is not UTF-8.
bool EntryPath(int folderFd, const std::string& name, std::wstring& path, int& error) {
    const auto entry = Open().Get(folderFd);
    error = -EBADF;
    if (!std::holds_alternative<std::wstring>(entry)) return false;
    bool utf8 = false;
    const std::wstring wide = Widen(name, &utf8);
    error = -EINVAL;
    if (!utf8 || name.empty() || !NameAllowedBySystem(name)) return false;
    path = std::get<std::wstring>(entry) + L"\\" + wide;
    return true;
}

HANDLE OpenEntry(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       disposition, flags, nullptr);
}

// The entry at `path` itself, not what a link points to; a folder opens only with backup
// semantics.
int InfoOfPath(const std::wstring& path, FileInfo& info) {
    HANDLE h = OpenEntry(path, 0, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    BY_HANDLE_FILE_INFORMATION data{};
    const bool known = GetFileInformationByHandle(h, &data);
    const int r = known ? 0 : LastError();
    CloseHandle(h);
    if (known) info = FromHandleInfo(data);
    return r;
}

}  // namespace

int RealFileSystem::OpenFolder(const std::string& path) {
    bool utf8 = false;
    const std::wstring wide = Widen(path, &utf8);
    if (!utf8 || wide.empty()) return -ENOENT;
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return LastError();
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return -ENOTDIR;
    return Open().Add(std::move(full));
}

int RealFileSystem::MakeFolder(const std::string& path) {
    bool utf8 = false;
    const std::wstring wide = Widen(path, &utf8);
    if (!utf8 || wide.empty()) return -ENOENT;
    return CreateDirectoryW(wide.c_str(), nullptr) ? 0 : LastError();
}

int RealFileSystem::List(int folderFd, std::vector<std::string>& names) {
    const auto entry = Open().Get(folderFd);
    if (!std::holds_alternative<std::wstring>(entry)) return -EBADF;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((std::get<std::wstring>(entry) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return LastError();
    names.clear();
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (FindNextFileW(search, &found));
    const DWORD end = GetLastError();
    FindClose(search);
    return end == ERROR_NO_MORE_FILES ? 0 : -ErrnoOf(end);
}

int RealFileSystem::InfoAt(int folderFd, const std::string& name, FileInfo& info) {
    std::wstring path;
    int error = 0;
    if (!EntryPath(folderFd, name, path, error)) return error;
    return InfoOfPath(path, info);
}

int RealFileSystem::OpenForReading(int folderFd, const std::string& name) {
    std::wstring path;
    int error = 0;
    if (!EntryPath(folderFd, name, path, error)) return error;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return -ELOOP;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return -EISDIR;
    HANDLE h = OpenEntry(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    return Open().Add(h);
}

int RealFileSystem::CreateExclusive(int folderFd, const std::string& name) {
    std::wstring path;
    int error = 0;
    if (!EntryPath(folderFd, name, path, error)) return error;
    HANDLE h = OpenEntry(path, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) return LastError();
    return Open().Add(h);
}

int RealFileSystem::Info(int fd, FileInfo& info) {
    const auto entry = Open().Get(fd);
    if (std::holds_alternative<std::wstring>(entry)) return InfoOfPath(std::get<std::wstring>(entry), info);
    HANDLE h = FileHandle(fd);
    if (h == INVALID_HANDLE_VALUE) return -EBADF;
    BY_HANDLE_FILE_INFORMATION data{};
    if (!GetFileInformationByHandle(h, &data)) return LastError();
    info = FromHandleInfo(data);
    return 0;
}

long RealFileSystem::Read(int fd, void* buffer, std::size_t size) {
    HANDLE h = FileHandle(fd);
    if (h == INVALID_HANDLE_VALUE) return -EBADF;
    DWORD done = 0;
    const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(h, buffer, ask, &done, nullptr)) return LastError();
    return static_cast<long>(done);
}

long RealFileSystem::Write(int fd, const void* data, std::size_t size) {
    HANDLE h = FileHandle(fd);
    if (h == INVALID_HANDLE_VALUE) return -EBADF;
    DWORD done = 0;
    const DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!WriteFile(h, data, ask, &done, nullptr)) return LastError();
    return static_cast<long>(done);
}

int RealFileSystem::Sync(int fd) {
    const auto entry = Open().Get(fd);
    // A folder needs no sync of its own: the rename that changed it was written through.
    if (std::holds_alternative<std::wstring>(entry)) return 0;
    if (!std::holds_alternative<HANDLE>(entry)) return -EBADF;
    return FlushFileBuffers(std::get<HANDLE>(entry)) ? 0 : LastError();
}

int RealFileSystem::Close(int fd) {
    const auto entry = Open().Take(fd);
    if (std::holds_alternative<HANDLE>(entry)) return CloseHandle(std::get<HANDLE>(entry)) ? 0 : LastError();
    return std::holds_alternative<std::wstring>(entry) ? 0 : -EBADF;
}

int RealFileSystem::Rename(int folderFd, const std::string& from, const std::string& to, bool replace) {
    std::wstring source, target;
    int error = 0;
    if (!EntryPath(folderFd, from, source, error) || !EntryPath(folderFd, to, target, error)) return error;
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExW(source.c_str(), target.c_str(), flags) ? 0 : LastError();
}

int RealFileSystem::Remove(int folderFd, const std::string& name) {
    std::wstring path;
    int error = 0;
    if (!EntryPath(folderFd, name, path, error)) return error;
    return DeleteFileW(path.c_str()) ? 0 : LastError();
}

FileSystem& SystemFileSystem() {
    static RealFileSystem fs;
    return fs;
}

}  // namespace kestran::platform
