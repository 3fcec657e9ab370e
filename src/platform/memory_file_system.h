// A file system held in memory: folders of plain files, no links. For programs that run the
// game many times over from the same files and must leave nothing on disk (the fuzz targets):
// its whole content is one value, read out to compare and put back to start again.
//
// Paths are absolute ("/drives/C"); "/" always exists. Descriptors behave as the system's do:
// a file open for reading or writing stays the same file when its name is renamed or removed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kestran::platform {

class MemoryFileSystem final : public FileSystem {
public:
    // Every folder by path, each with its files by name.
    using Files = std::map<std::string, std::string>;
    using Contents = std::map<std::string, Files>;

    MemoryFileSystem() { Restore({}); }

    // What the folders hold now.
    Contents contents() const;
    // Replaces everything with `contents` (whose folders need no parents listed) and closes
    // every descriptor.
    void Restore(const Contents& contents);

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

private:
    struct File {
        std::string bytes;
        uint64_t inode = 0;
    };
    struct Folder {
        uint64_t inode = 0;
        std::map<std::string, std::shared_ptr<File>> files;
    };
    // An open folder (`file` null) or file; a folder descriptor names its folder by path.
    struct Descriptor {
        std::string folder;
        std::shared_ptr<File> file;
        std::size_t position = 0;
        bool writing = false;
    };

    Folder* FindFolder(const std::string& path);
    Descriptor* FindDescriptor(int fd, bool folder);
    int Open(Descriptor d);

    std::map<std::string, Folder> folders_;
    std::map<int, Descriptor> open_;
    uint64_t nextInode_ = 1;
    int nextFd_ = 3;
};

}  // namespace kestran::platform
