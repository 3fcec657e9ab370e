#include "platform/memory_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kestran::platform {

namespace {

constexpr uint64_t kDevice = 1;

std::string Normalized(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The folder a path is in ("" for a relative name without one) and the path's last name.
std::string ParentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || path == "/") return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}
std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::string ChildPath(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

MemoryFileSystem::Contents MemoryFileSystem::contents() const {
    Contents out;
    for (const auto& [path, folder] : folders_) {
        Files& files = out[path];
        for (const auto& [name, file] : folder.files)
            files[name] = file->bytes;
    }
    return out;
}

void MemoryFileSystem::Restore(const Contents& contents) {
    folders_.clear();
    open_.clear();
    nextInode_ = 1;
    nextFd_ = 3;
    folders_["/"].inode = nextInode_++;
    for (const auto& [path, files] : contents) {
        std::string made;
        for (std::string rest = Normalized(path); !rest.empty();) {  // the folder and those above it
            const auto slash = rest.find('/', 1);
            made += rest.substr(0, slash);
            rest = slash == std::string::npos ? "" : rest.substr(slash);
            if (!folders_.contains(made)) folders_[made].inode = nextInode_++;
        }
        Folder& folder = folders_[made.empty() ? "/" : made];
        for (const auto& [name, bytes] : files)
            folder.files[name] = std::make_shared<File>(File{bytes, nextInode_++});
    }
}

MemoryFileSystem::Folder* MemoryFileSystem::FindFolder(const std::string& path) {
    const auto it = folders_.find(path);
    return it == folders_.end() ? nullptr : &it->second;
}

MemoryFileSystem::Descriptor* MemoryFileSystem::FindDescriptor(int fd, bool folder) {
    const auto it = open_.find(fd);
    if (it == open_.end() || (it->second.file == nullptr) != folder) return nullptr;
    return &it->second;
}

int MemoryFileSystem::Open(Descriptor d) {
    const int fd = nextFd_++;
    open_.emplace(fd, std::move(d));
    return fd;
}

int MemoryFileSystem::OpenFolder(const std::string& path) {
    const std::string p = Normalized(path);
    if (FindFolder(p)) return Open(Descriptor{p, nullptr});
    const Folder* parent = FindFolder(ParentOf(p));
    return parent && parent->files.contains(NameOf(p)) ? -ENOTDIR : -ENOENT;
}

int MemoryFileSystem::MakeFolder(const std::string& path) {
    const std::string p = Normalized(path);
    if (FindFolder(p)) return -EEXIST;
    Folder* parent = FindFolder(ParentOf(p));
    if (!parent) return -ENOENT;
    if (parent->files.contains(NameOf(p))) return -EEXIST;
    folders_[p].inode = nextInode_++;
    return 0;
}

int MemoryFileSystem::List(int folderFd, std::vector<std::string>& names) {
    const Descriptor* d = FindDescriptor(folderFd, true);
    if (!d) return -EBADF;
    names.clear();
    for (const auto& [name, file] : folders_[d->folder].files)
        names.push_back(name);
    const std::string prefix = ChildPath(d->folder, "");
    for (auto it = folders_.upper_bound(prefix); it != folders_.end() && it->first.starts_with(prefix); ++it) {
        const std::string rest = it->first.substr(prefix.size());
        if (rest.find('/') == std::string::npos) names.push_back(rest);
    }
    return 0;
}

int MemoryFileSystem::InfoAt(int folderFd, const std::string& name, FileInfo& info) {
    const Descriptor* d = FindDescriptor(folderFd, true);
    if (!d) return -EBADF;
    const Folder& folder = folders_[d->folder];
    if (const auto it = folder.files.find(name); it != folder.files.end()) {
        info = FileInfo{FileInfo::Kind::Regular, it->second->bytes.size(), kDevice, it->second->inode};
        return 0;
    }
    if (const Folder* child = FindFolder(ChildPath(d->folder, name)); child && !name.empty()) {
        info = FileInfo{FileInfo::Kind::Directory, 0, kDevice, child->inode};
        return 0;
    }
    return -ENOENT;
}

int MemoryFileSystem::OpenForReading(int folderFd, const std::string& name) {
    const Descriptor* d = FindDescriptor(folderFd, true);
    if (!d) return -EBADF;
    const Folder& folder = folders_[d->folder];
    const auto it = folder.files.find(name);
    if (it == folder.files.end()) return FindFolder(ChildPath(d->folder, name)) ? -EISDIR : -ENOENT;
    return Open(Descriptor{"", it->second});
}

int MemoryFileSystem::CreateExclusive(int folderFd, const std::string& name) {
    const Descriptor* d = FindDescriptor(folderFd, true);
    if (!d) return -EBADF;
    Folder& folder = folders_[d->folder];
    if (folder.files.contains(name) || FindFolder(ChildPath(d->folder, name))) return -EEXIST;
    auto file = std::make_shared<File>(File{"", nextInode_++});
    folder.files[name] = file;
    return Open(Descriptor{"", std::move(file), 0, true});
}

int MemoryFileSystem::Info(int fd, FileInfo& info) {
    const auto it = open_.find(fd);
    if (it == open_.end()) return -EBADF;
    const Descriptor& d = it->second;
    if (d.file) {
        info = FileInfo{FileInfo::Kind::Regular, d.file->bytes.size(), kDevice, d.file->inode};
    } else {
        info = FileInfo{FileInfo::Kind::Directory, 0, kDevice, folders_[d.folder].inode};
    }
    return 0;
}

long MemoryFileSystem::Read(int fd, void* buffer, std::size_t size) {
    Descriptor* d = FindDescriptor(fd, false);
    if (!d) return open_.contains(fd) ? -EISDIR : -EBADF;
    if (d->writing) return -EBADF;
    const std::string& bytes = d->file->bytes;
    const std::size_t n = std::min(size, bytes.size() - std::min(d->position, bytes.size()));
    std::memcpy(buffer, bytes.data() + d->position, n);
    d->position += n;
    return static_cast<long>(n);
}

long MemoryFileSystem::Write(int fd, const void* data, std::size_t size) {
    Descriptor* d = FindDescriptor(fd, false);
    if (!d || !d->writing) return -EBADF;
    std::string& bytes = d->file->bytes;
    bytes.resize(std::max(bytes.size(), d->position + size));
    std::memcpy(bytes.data() + d->position, data, size);
    d->position += size;
    return static_cast<long>(size);
}

int MemoryFileSystem::Sync(int fd) {
    return open_.contains(fd) ? 0 : -EBADF;
}

int MemoryFileSystem::Close(int fd) {
    return open_.erase(fd) ? 0 : -EBADF;
}

int MemoryFileSystem::Rename(int folderFd, const std::string& from, const std::string& to, bool replace) {
    const Descriptor* d = FindDescriptor(folderFd, true);
    if (!d) return -EBADF;
    Folder& folder = folders_[d->folder];
    const auto it = folder.files.find(from);
    if (it == folder.files.end()) return -ENOENT;
    if (FindFolder(ChildPath(d->folder, to))) return -EISDIR;
    if (from == to) return 0;
    if (!replace && folder.files.contains(to)) return -EEXIST;
    folder.files[to] = std::move(it->second);
    folder.files.erase(from);
    return 0;
}

int MemoryFileSystem::Remove(int folderFd, const std::string& name) {
    const Descriptor* d = FindDescriptor(folderFd, true);
    if (!d) return -EBADF;
    if (folders_[d->folder].files.erase(name)) return 0;
    return FindFolder(ChildPath(d->folder, name)) ? -EISDIR : -ENOENT;
}

}  // namespace kestran::platform
