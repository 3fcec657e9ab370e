#include "platform/drives.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <system_error>

#include "platform/process.h"
#include "platform/system_folders.h"
#include "platform/utf8_path.h"

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
long TempOwner(std::string_view name) {
    name.remove_prefix(DriveMap::kTempPrefix.size());
    long pid = 0;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (ec != std::errc() || end == name.data() || pid <= 0) return 0;
    return pid;
}

}  // namespace

DriveMap::DriveMap(std::filesystem::path root, FileSystem* fs)
    : root_(std::move(root)), fs_(fs ? fs : &SystemFileSystem()) {}

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
    int fd = fs_->OpenFolder(Utf8String(*folder));
    if (fd == -ENOENT && LetterIndex(letter) == 'C' - 'A') {
        MakeFolders(*folder);  // a failure shows in the open below
        fd = fs_->OpenFolder(Utf8String(*folder));
    }
    return fd == -ENOTDIR ? -ENOENT : fd;
}

void DriveMap::MakeFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        fs_->MakeFolder(Utf8String(made));
    }
}

bool DriveMap::IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (!NameAllowedBySystem(name)) return false;
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
        const long owner = TempOwner(entry);
        // Another live process may be writing its own; ours are removed as soon as they fail.
        if (owner == CurrentProcessId() || ProcessRuns(owner)) continue;
        fs_->Remove(folderFd, entry);
    }
}

void DriveMap::RemoveLeftoversOfEveryDrive() {
    for (unsigned char letter = 'A'; letter <= 'Z'; ++letter) {
        const int fd = fs_->OpenFolder(Utf8String(*FolderPath(letter)));
        if (fd < 0) continue;
        RemoveLeftovers(fd);
        fs_->Close(fd);
    }
}

std::string DriveMap::NewTempName() {
    return std::string(kTempPrefix) + std::to_string(CurrentProcessId()) + "-" + std::to_string(++tempCounter_);
}

}  // namespace kestran::platform
