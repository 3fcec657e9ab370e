#include "platform/drives.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <system_error>

namespace kestran::platform {

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// ASCII letters compared without case. Bytes of UTF-8 multibyte sequences are all 0x80 and up,
// so a byte-wise fold never touches them.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

int LetterIndex(unsigned char letter) {
    return UpperAscii(static_cast<char>(letter)) - 'A';
}

// The process a temporary file name belongs to, or 0 when the name has no process number.
pid_t TempOwner(std::string_view name) {
    name.remove_prefix(DriveMap::kTempPrefix.size());
    long pid = 0;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (ec != std::errc() || end == name.data() || pid <= 0) return 0;
    return static_cast<pid_t>(pid);
}

}  // namespace

DriveMap::DriveMap(std::filesystem::path root, FileSystem* fs)
    : root_(std::move(root)), fs_(fs ? fs : &SystemFileSystem()) {}

std::filesystem::path DriveMap::DefaultRoot() {
    // An XDG variable counts only when it holds an absolute path.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::filesystem::path(data) / "kestran" / "drives";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::filesystem::path(home) / ".local/share/kestran/drives";
    return "kestran-drives";
}

bool DriveMap::Map(char letter, std::filesystem::path dir) {
    if (!IsDriveLetter(static_cast<unsigned char>(letter))) return false;
    mapped_[static_cast<std::size_t>(LetterIndex(static_cast<unsigned char>(letter)))] = std::move(dir);
    return true;
}

std::optional<std::filesystem::path> DriveMap::FolderPath(unsigned char letter) const {
    if (!IsDriveLetter(letter)) return std::nullopt;
    const auto& mapped = mapped_[static_cast<std::size_t>(LetterIndex(letter))];
    if (mapped) return *mapped;
    return root_ / std::string(1, UpperAscii(static_cast<char>(letter)));
}

int DriveMap::OpenDrive(unsigned char letter) {
    auto folder = FolderPath(letter);
    if (!folder) return -ENOENT;
    int fd = fs_->OpenFolder(folder->string());
    if (fd == -ENOENT && LetterIndex(letter) == 'C' - 'A') {
        MakeFolders(*folder);  // a failure shows in the open below
        fd = fs_->OpenFolder(folder->string());
    }
    return fd == -ENOTDIR ? -ENOENT : fd;
}

void DriveMap::MakeFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        fs_->MakeFolder(made.string());
    }
}

bool DriveMap::IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos) return false;
    return !name.starts_with(kTempPrefix);
}

std::optional<std::string> DriveMap::FindEntry(int folderFd, std::string_view name) {
    std::vector<std::string> names;
    if (fs_->List(folderFd, names) < 0) return std::nullopt;
    std::sort(names.begin(), names.end());
    std::optional<std::string> folded;
    for (const auto& entry : names) {
        if (!IsPlainName(entry)) continue;
        if (entry == name) return entry;
        if (!folded && SameIgnoringAsciiCase(entry, name)) folded = entry;
    }
    return folded;
}

void DriveMap::RemoveLeftovers(int folderFd) {
    std::vector<std::string> names;
    if (fs_->List(folderFd, names) < 0) return;
    for (const auto& entry : names) {
        if (!entry.starts_with(kTempPrefix)) continue;
        pid_t owner = TempOwner(entry);
        // Another live process may be writing its own; ours are removed as soon as they fail.
        if (owner == ::getpid()) continue;
        if (owner != 0 && (::kill(owner, 0) == 0 || errno == EPERM)) continue;
        fs_->Remove(folderFd, entry);
    }
}

void DriveMap::RemoveLeftoversOfEveryDrive() {
    for (unsigned char letter = 'A'; letter <= 'Z'; ++letter) {
        const int fd = fs_->OpenFolder(FolderPath(letter)->string());
        if (fd < 0) continue;
        RemoveLeftovers(fd);
        fs_->Close(fd);
    }
}

std::string DriveMap::NewTempName() {
    return std::string(kTempPrefix) + std::to_string(::getpid()) + "-" + std::to_string(++tempCounter_);
}

}  // namespace kestran::platform
