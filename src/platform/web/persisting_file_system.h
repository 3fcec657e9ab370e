// The drive folders of the browser: the program works on a file system in memory that the
// browser copies into its own storage on request. This file system passes the calls on, except
// that a sync is the point where a change is meant to last: a synced folder is copied into the
// browser's storage (the runtime syncs a folder after it has put a closed output file in place,
// so a save is stored before the game says it is), and a synced file is left for its folder's
// sync (its bytes are already where they will be copied from). Before a folder is opened the
// browser's storage may be read afresh, for what another tab of the page has saved since. No sync reaches the C
// library's fsync, which in the browser build would copy the storage by itself, and wait for that even where no wait
// may happen (in a call from the page).
#pragma once

#include <functional>
#include <set>

#include "platform/file_system.h"

namespace kestran::platform::web {

class PersistingFileSystem final : public FileSystem {
public:
    // `persist` copies the file system into lasting storage: 0, or the negative error number of
    // its failure (-ENOSPC for a full storage). A `persist` that does nothing leaves the copying
    // to the caller (the page's transfers). `refresh`, when given, brings in what the lasting
    // storage holds before a folder is opened.
    PersistingFileSystem(FileSystem& inner, std::function<int()> persist, std::function<void()> refresh = {})
        : inner_(inner), persist_(std::move(persist)), refresh_(std::move(refresh)) {}

    int OpenFolder(const std::string& path) override;
    int MakeFolder(const std::string& path) override { return inner_.MakeFolder(path); }
    int List(int folderFd, std::vector<std::string>& names) override { return inner_.List(folderFd, names); }
    int InfoAt(int folderFd, const std::string& name, FileInfo& info) override {
        return inner_.InfoAt(folderFd, name, info);
    }
    int OpenForReading(int folderFd, const std::string& name) override { return inner_.OpenForReading(folderFd, name); }
    int CreateExclusive(int folderFd, const std::string& name) override {
        return inner_.CreateExclusive(folderFd, name);
    }
    int Info(int fd, FileInfo& info) override { return inner_.Info(fd, info); }
    long Read(int fd, void* buffer, std::size_t size) override { return inner_.Read(fd, buffer, size); }
    long Write(int fd, const void* data, std::size_t size) override { return inner_.Write(fd, data, size); }
    // A synced folder is persisted, a failed copy being its error; a synced file is not touched.
    int Sync(int fd) override;
    int Close(int fd) override;
    int Rename(int folderFd, const std::string& from, const std::string& to, bool replace) override {
        return inner_.Rename(folderFd, from, to, replace);
    }
    int Remove(int folderFd, const std::string& name) override { return inner_.Remove(folderFd, name); }

private:
    FileSystem& inner_;
    std::function<int()> persist_;
    std::function<void()> refresh_;
    std::set<int> folders_;  // descriptors of open folders
};

}  // namespace kestran::platform::web
