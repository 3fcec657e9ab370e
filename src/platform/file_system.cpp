#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kestran::platform {

namespace {

// Runs a call until it is not interrupted; returns its result or -errno.
template <class F>
long Retry(F call) {
    for (;;) {
        long r = call();
        if (r >= 0) return r;
        if (errno != EINTR) return -errno;
    }
}

int Result(long r) {
    return static_cast<int>(r);
}

FileInfo FromStat(const struct stat& st) {
    FileInfo info;
    if (S_ISREG(st.st_mode))
        info.kind = FileInfo::Kind::Regular;
    else if (S_ISDIR(st.st_mode))
        info.kind = FileInfo::Kind::Directory;
    else if (S_ISLNK(st.st_mode))
        info.kind = FileInfo::Kind::Symlink;
    info.size = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
    info.device = static_cast<uint64_t>(st.st_dev);
    info.inode = static_cast<uint64_t>(st.st_ino);
    return info;
}

}  // namespace

int RealFileSystem::OpenFolder(const std::string& path) {
    return Result(Retry([&] { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
}

int RealFileSystem::MakeFolder(const std::string& path) {
    return Result(Retry([&] { return ::mkdir(path.c_str(), 0777); }));
}

int RealFileSystem::List(int folderFd, std::vector<std::string>& names) {
    int fd = Result(Retry([&] { return ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (fd < 0) return fd;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        int err = errno;
        ::close(fd);
        return -err;
    }
    names.clear();
    errno = 0;
    while (struct dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(std::move(name));
    }
    int err = errno;
    ::closedir(dir);
    return err ? -err : 0;
}

int RealFileSystem::InfoAt(int folderFd, const std::string& name, FileInfo& info) {
    struct stat st {};
    int r = Result(Retry([&] { return ::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW); }));
    if (r == 0) info = FromStat(st);
    return r;
}

int RealFileSystem::OpenForReading(int folderFd, const std::string& name) {
    return Result(
        Retry([&] { return ::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY); }));
}

int RealFileSystem::CreateExclusive(int folderFd, const std::string& name) {
    return Result(Retry([&] {
        return ::openat(folderFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    }));
}

int RealFileSystem::Info(int fd, FileInfo& info) {
    struct stat st {};
    int r = Result(Retry([&] { return ::fstat(fd, &st); }));
    if (r == 0) info = FromStat(st);
    return r;
}

long RealFileSystem::Read(int fd, void* buffer, std::size_t size) {
    return Retry([&] { return static_cast<long>(::read(fd, buffer, size)); });
}

long RealFileSystem::Write(int fd, const void* data, std::size_t size) {
    return Retry([&] { return static_cast<long>(::write(fd, data, size)); });
}

int RealFileSystem::Sync(int fd) {
    return Result(Retry([&] { return ::fsync(fd); }));
}

int RealFileSystem::Close(int fd) {
    // A close is not retried: on Linux the descriptor is gone even when it reports EINTR.
    return ::close(fd) == 0 ? 0 : (errno == EINTR ? 0 : -errno);
}

int RealFileSystem::Rename(int folderFd, const std::string& from, const std::string& to, bool replace) {
    if (replace) return Result(Retry([&] { return ::renameat(folderFd, from.c_str(), folderFd, to.c_str()); }));
#ifdef RENAME_NOREPLACE
    int r = Result(Retry([&] { return ::renameat2(folderFd, from.c_str(), folderFd, to.c_str(), RENAME_NOREPLACE); }));
    if (r != -EINVAL && r != -ENOSYS) return r;
    // A file system without the no-replace rename: a hard link refuses an existing name too.
    r = Result(Retry([&] { return ::linkat(folderFd, from.c_str(), folderFd, to.c_str(), 0); }));
    if (r == 0) ::unlinkat(folderFd, from.c_str(), 0);
    return r;
#else
    // A C library without renameat2 (the browser build, whose file system has no hard links
    // either): one program owns the folders there, so nothing comes between check and rename.
    struct stat st {};
    if (::fstatat(folderFd, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return -EEXIST;
    return Result(Retry([&] { return ::renameat(folderFd, from.c_str(), folderFd, to.c_str()); }));
#endif
}

int RealFileSystem::Remove(int folderFd, const std::string& name) {
    return Result(Retry([&] { return ::unlinkat(folderFd, name.c_str(), 0); }));
}

FileSystem& SystemFileSystem() {
    static RealFileSystem fs;
    return fs;
}

}  // namespace kestran::platform
