#include "platform/web/save_transfer.h"

#include <cerrno>
#include <cstring>

namespace kestran::platform::web {

namespace {

std::string DriveName(char letter) {
    const char upper = (letter >= 'a' && letter <= 'z') ? char(letter - 'a' + 'A') : letter;
    return std::string("drive ") + upper;
}

TransferResult Refused(TransferStatus status, std::string message) {
    return TransferResult{status, std::move(message)};
}

TransferResult Failure(std::string_view what, int error) {
    return Refused(TransferStatus::Failed, std::string(what) + " (" + std::strerror(error) + ").");
}

// Closes a descriptor on every way out.
class OpenFd {
public:
    OpenFd(FileSystem& fs, int fd) : fs_(fs), fd_(fd) {}
    ~OpenFd() {
        if (fd_ >= 0) fs_.Close(fd_);
    }
    OpenFd(const OpenFd&) = delete;
    OpenFd& operator=(const OpenFd&) = delete;
    int get() const { return fd_; }
    // Closes now, for the result.
    int Close() {
        const int r = fs_.Close(fd_);
        fd_ = -1;
        return r;
    }

private:
    FileSystem& fs_;
    int fd_;
};

// Reads a whole file of at most `limit` bytes; -EFBIG when it is larger.
int ReadAll(FileSystem& fs, int folderFd, const std::string& entry, std::size_t limit, std::string& bytes) {
    OpenFd file(fs, fs.OpenForReading(folderFd, entry));
    if (file.get() < 0) return file.get();
    bytes.clear();
    char buffer[16 * 1024];
    for (;;) {
        const long n = fs.Read(file.get(), buffer, sizeof buffer);
        if (n < 0) return int(n);
        if (n == 0) return 0;
        bytes.append(buffer, std::size_t(n));
        if (bytes.size() > limit) return -EFBIG;
    }
}

}  // namespace

TransferResult SaveTransfer::Fetch(char letter, std::string_view name, std::string& bytes) {
    FileSystem& fs = drives_.fs();
    OpenFd folder(fs, drives_.OpenDrive(uint8_t(letter)));
    if (folder.get() < 0) return Refused(TransferStatus::NoDrive, "There is no " + DriveName(letter) + ".");
    const auto entry = DriveMap::IsPlainName(name) ? drives_.FindEntry(folder.get(), name) : std::nullopt;
    if (!entry) {
        return Refused(TransferStatus::NoFile, "There is no " + std::string(name) + " on " + DriveName(letter) + ".");
    }
    const int r = ReadAll(fs, folder.get(), *entry, kMaxSaveFileSize, bytes);
    if (r == -EFBIG) return Refused(TransferStatus::TooLarge, *entry + " is too large to be a save file.");
    if (r < 0) return Failure(*entry + " could not be read", -r);
    return {};
}

TransferResult SaveTransfer::Place(char letter, std::string_view name, std::string_view bytes) {
    if (bytes.size() > kMaxSaveFileSize) {
        return Refused(TransferStatus::TooLarge, "The file is larger than 1 MiB: it cannot be a save file.");
    }
    if (!DriveMap::IsPlainName(name)) return Refused(TransferStatus::Failed, "That is no file name.");
    FileSystem& fs = drives_.fs();
    OpenFd folder(fs, OpenOrMakeDrive(letter));
    if (folder.get() < 0) return Refused(TransferStatus::NoDrive, "There is no " + DriveName(letter) + ".");
    Replaced replaced{letter, std::string(name), std::nullopt};
    if (const auto entry = drives_.FindEntry(folder.get(), name)) {
        replaced.entry = *entry;
        std::string before;
        // A file too large to keep for an undo is no save either: it is replaced all the same.
        if (const int r = ReadAll(fs, folder.get(), *entry, kMaxSaveFileSize, before); r == 0) {
            replaced.before = std::move(before);
        } else if (r != -EFBIG) {
            return Failure("The file there could not be read", -r);
        }
    }
    if (const int r = WriteWhole(folder.get(), replaced.entry, bytes); r < 0) {
        return Failure("The file could not be stored", -r);
    }
    last_ = std::move(replaced);
    return {};
}

bool SaveTransfer::Undo() {
    if (!last_) return false;
    const Replaced replaced = std::move(*last_);
    last_.reset();
    FileSystem& fs = drives_.fs();
    OpenFd folder(fs, drives_.OpenDrive(uint8_t(replaced.letter)));
    if (folder.get() < 0) return false;
    if (replaced.before) return WriteWhole(folder.get(), replaced.entry, *replaced.before) == 0;
    return fs.Remove(folder.get(), replaced.entry) == 0;
}

int SaveTransfer::WriteWhole(int folderFd, const std::string& entry, std::string_view bytes) {
    FileSystem& fs = drives_.fs();
    const std::string temp = drives_.NewTempName();
    OpenFd file(fs, fs.CreateExclusive(folderFd, temp));
    if (file.get() < 0) return file.get();
    int r = 0;
    for (std::size_t done = 0; r == 0 && done < bytes.size();) {
        const long n = fs.Write(file.get(), bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            r = n < 0 ? int(n) : -ENOSPC;
        else
            done += std::size_t(n);
    }
    if (r == 0) r = fs.Sync(file.get());
    if (const int closed = file.Close(); r == 0) r = closed;
    if (r == 0) r = fs.Rename(folderFd, temp, entry, true);
    if (r < 0) fs.Remove(folderFd, temp);
    return r;
}

int SaveTransfer::OpenOrMakeDrive(char letter) {
    const int fd = drives_.OpenDrive(uint8_t(letter));
    if (fd != -ENOENT) return fd;
    const auto folder = drives_.FolderPath(uint8_t(letter));
    if (!folder) return fd;
    drives_.fs().MakeFolder(drives_.root().string());
    drives_.fs().MakeFolder(folder->string());
    return drives_.OpenDrive(uint8_t(letter));
}

}  // namespace kestran::platform::web
