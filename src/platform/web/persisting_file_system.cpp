#include "platform/web/persisting_file_system.h"

namespace kestran::platform::web {

int PersistingFileSystem::OpenFolder(const std::string& path) {
    if (refresh_) refresh_();
    const int fd = inner_.OpenFolder(path);
    if (fd >= 0) folders_.insert(fd);
    return fd;
}

int PersistingFileSystem::Sync(int fd) {
    if (!folders_.contains(fd)) return 0;
    return persist_();
}

int PersistingFileSystem::Close(int fd) {
    folders_.erase(fd);
    return inner_.Close(fd);
}

}  // namespace kestran::platform::web
