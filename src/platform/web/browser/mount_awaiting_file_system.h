// The drive folders while the browser's storage is still being brought in: the game starts
// (and draws its title) at once, and only its first file operation waits until the drives are
// in. The page's own transfers go round this file system: the page offers them only once the
// drives are in.
#pragma once

#include "platform/file_system.h"

namespace kestran::platform::web {

class MountAwaitingFileSystem final : public FileSystem {
public:
    explicit MountAwaitingFileSystem(FileSystem& inner) : inner_(inner) {}

    int OpenFolder(const std::string& path) override { return In().OpenFolder(path); }
    int MakeFolder(const std::string& path) override { return In().MakeFolder(path); }
    int List(int folderFd, std::vector<std::string>& names) override { return In().List(folderFd, names); }
    int InfoAt(int folderFd, const std::string& name, FileInfo& info) override {
        return In().InfoAt(folderFd, name, info);
    }
    int OpenForReading(int folderFd, const std::string& name) override { return In().OpenForReading(folderFd, name); }
    int CreateExclusive(int folderFd, const std::string& name) override { return In().CreateExclusive(folderFd, name); }
    int Info(int fd, FileInfo& info) override { return In().Info(fd, info); }
    long Read(int fd, void* buffer, std::size_t size) override { return In().Read(fd, buffer, size); }
    long Write(int fd, const void* data, std::size_t size) override { return In().Write(fd, data, size); }
    int Sync(int fd) override { return In().Sync(fd); }
    int Close(int fd) override { return In().Close(fd); }
    int Rename(int folderFd, const std::string& from, const std::string& to, bool replace) override {
        return In().Rename(folderFd, from, to, replace);
    }
    int Remove(int folderFd, const std::string& name) override { return In().Remove(folderFd, name); }

private:
    // The inner file system, once the drives are in (waits for them the first time).
    FileSystem& In();

    FileSystem& inner_;
    bool in_ = false;
};

}  // namespace kestran::platform::web
