#include <cerrno>
#include <utility>

#include "platform/drives.h"
#include "platform/error_log.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/file_open.h"
#include "runtime/values/system_errors.h"

namespace kestran {

namespace {

constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kFileExists = 80;

using platform::FileInfo;
using platform::FileSystem;

std::string UpperKey(std::string_view s) {
    std::string key(s);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

[[noreturn]] void RaiseErrno(Runtime& rt, int result, IoDirection direction, std::source_location where) {
    PbRaiseSystemError(rt, -result, direction, kOpenSystemSite, where);
}

// Another open of the same file whose access or sharing does not let this one in.
void CheckSharing(Runtime& rt, const OpenFile& f, std::source_location where) {
    for (const auto& other : rt.files.slots) {
        if (!other || other->folderDevice != f.folderDevice || other->folderInode != f.folderInode ||
            other->entryKey != f.entryKey)
            continue;
        if ((f.access & ~other->share) || (other->access & ~f.share)) RaiseOpenCode(rt, kSharingViolation, where);
    }
}

// The whole content of a regular file, refused when it is larger than the input limit (54, as
// a file that ends too early would be).
std::string ReadWhole(Runtime& rt, FileSystem& fs, int folderFd, const std::string& entry, std::source_location where) {
    int fd = fs.OpenForReading(folderFd, entry);
    if (fd < 0) RaiseErrno(rt, fd, IoDirection::Reading, where);
    std::string data;
    FileInfo info;
    int r = fs.Info(fd, info);
    if (r == 0 && info.kind != FileInfo::Kind::Regular) r = -EACCES;
    if (r == 0 && info.size > kMaxInputFileBytes) r = 1;
    while (r == 0) {
        char buffer[16384];
        long n = fs.Read(fd, buffer, sizeof buffer);
        if (n < 0)
            r = static_cast<int>(n);
        else if (n == 0)
            break;
        else
            data.append(buffer, static_cast<std::size_t>(n));
        if (data.size() > kMaxInputFileBytes) r = 1;  // it grew while being read
    }
    fs.Close(fd);
    if (r == 1) PbRaiseError(54, kOpenSystemSite, where);
    if (r < 0) RaiseErrno(rt, r, IoDirection::Reading, where);
    return data;
}

void OpenForInput(Runtime& rt, OpenFile& f, bool exists, const FileInfo& info, std::source_location where) {
    if (!exists) RaiseOpenCode(rt, kFileNotFound, where);
    if (info.kind == FileInfo::Kind::Symlink) RaiseOpenCode(rt, kAccessDenied, where);
    f.data = ReadWhole(rt, *f.fs, f.folderFd, f.target, where);
    f.fs->Close(std::exchange(f.folderFd, -1));
}

void OpenForOutput(Runtime& rt, OpenFile& f, int mode, bool exists, const FileInfo& info, platform::DriveMap& drives,
                   std::source_location where) {
    if (mode == kModeOutputNew && exists) RaiseOpenCode(rt, kFileExists, where);
    if (mode == kModeAppend && exists) {
        if (info.kind == FileInfo::Kind::Symlink) RaiseOpenCode(rt, kAccessDenied, where);
        f.pending = ReadWhole(rt, *f.fs, f.folderFd, f.target, where);
        if (!f.pending.empty() && f.pending.back() == '\x1A') f.pending.pop_back();
    }
    std::string temp = drives.NewTempName();
    int fd = f.fs->CreateExclusive(f.folderFd, temp);
    if (fd < 0) RaiseErrno(rt, fd, IoDirection::Writing, where);
    f.fd = fd;
    f.tempName = std::move(temp);
}

}  // namespace

void RaiseOpenCode(Runtime& rt, uint32_t code, std::source_location where) {
    if (rt.platform.errorLog) rt.platform.errorLog->WriteApiError(code);
    PbRaiseError(ErrorNumberFromSystemCode(code), kOpenSystemSite, where);
}

std::unique_ptr<OpenFile> OpenChecked(Runtime& rt, const FileName& name, int mode, int access, int share,
                                      std::source_location where) {
    platform::DriveMap& drives = RuntimeDrives(rt);
    auto f = std::make_unique<OpenFile>();
    f->fs = &drives.fs();
    f->access = access;
    f->share = share;
    f->folderFd = drives.OpenDrive(name.drive);
    if (f->folderFd == -ENOENT) RaiseOpenCode(rt, kPathNotFound, where);
    if (f->folderFd < 0) RaiseErrno(rt, f->folderFd, IoDirection::Other, where);
    FileInfo folder;
    if (int r = f->fs->Info(f->folderFd, folder); r < 0) RaiseErrno(rt, r, IoDirection::Other, where);
    f->folderDevice = folder.device;
    f->folderInode = folder.inode;
    if (mode != kModeInput) drives.RemoveLeftovers(f->folderFd);

    auto existing = drives.FindEntry(f->folderFd, name.entry);
    f->target = existing.value_or(name.entry);
    f->entryKey = UpperKey(f->target);
    CheckSharing(rt, *f, where);
    FileInfo info;
    bool exists = existing && f->fs->InfoAt(f->folderFd, *existing, info) == 0;
    if (exists && info.kind == FileInfo::Kind::Directory) RaiseOpenCode(rt, kAccessDenied, where);
    if (mode == kModeInput)
        OpenForInput(rt, *f, exists, info, where);
    else
        OpenForOutput(rt, *f, mode, exists, info, drives, where);
    return f;
}

}  // namespace kestran
