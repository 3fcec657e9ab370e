// The few file-system calls the drive folders and the runtime's files make, behind one seam so
// that tests can inject failures (a full disk, an I/O error, a kill between two writes).
// Every call returns a value >= 0 on success and -errno on failure; EINTR is retried inside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestran::platform {

struct FileInfo {
    enum class Kind { Regular, Directory, Symlink, Other };
    Kind kind = Kind::Other;
    uint64_t size = 0;
    uint64_t device = 0;  // device and inode tell whether two names are one file or folder
    uint64_t inode = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // A folder, opened for the *At calls below (follows a symlink: folders are the user's choice).
    virtual int OpenFolder(const std::string& path) = 0;
    // Creates one folder level (mode 0777 before the umask); -EEXIST when it is there.
    virtual int MakeFolder(const std::string& path) = 0;
    // Names in a folder, without "." and "..".
    virtual int List(int folderFd, std::vector<std::string>& names) = 0;
    // Kind and size of a folder entry, without following a symlink.
    virtual int InfoAt(int folderFd, const std::string& name, FileInfo& info) = 0;

    // Opens an existing file for reading; a symlink is refused (-ELOOP).
    virtual int OpenForReading(int folderFd, const std::string& name) = 0;
    // Creates a new file for writing; fails with -EEXIST when the name exists (also as a symlink).
    virtual int CreateExclusive(int folderFd, const std::string& name) = 0;
    virtual int Info(int fd, FileInfo& info) = 0;
    virtual long Read(int fd, void* buffer, std::size_t size) = 0;
    // May write fewer bytes than asked; the caller writes the rest.
    virtual long Write(int fd, const void* data, std::size_t size) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Close(int fd) = 0;

    // Renames within one folder. `replace` false fails with -EEXIST when `to` exists.
    virtual int Rename(int folderFd, const std::string& from, const std::string& to, bool replace) = 0;
    virtual int Remove(int folderFd, const std::string& name) = 0;
};

// The real file system (POSIX calls; the Windows calls in file_system_win.cpp).
class RealFileSystem final : public FileSystem {
public:
    int OpenFolder(const std::string& path) override;
    int MakeFolder(const std::string& path) override;
    int List(int folderFd, std::vector<std::string>& names) override;
    int InfoAt(int folderFd, const std::string& name, FileInfo& info) override;
    int OpenForReading(int folderFd, const std::string& name) override;
    int CreateExclusive(int folderFd, const std::string& name) override;
    int Info(int fd, FileInfo& info) override;
    long Read(int fd, void* buffer, std::size_t size) override;
    long Write(int fd, const void* data, std::size_t size) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int Rename(int folderFd, const std::string& from, const std::string& to, bool replace) override;
    int Remove(int folderFd, const std::string& name) override;
};

// The process's one RealFileSystem.
FileSystem& SystemFileSystem();

}  // namespace kestran::platform
