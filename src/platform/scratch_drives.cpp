#include "platform/scratch_drives.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <system_error>

namespace kestran::platform {

namespace {

namespace fs = std::filesystem;

// A scratch folder's name: the prefix, the number of the process that made it, a unique tail.
constexpr std::string_view kPrefix = "kestran-watch-";

// The scratch folders of watching programs that a signal ended (their process is gone).
void RemoveAbandoned(const fs::path& parent) {
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(kPrefix)) continue;
        const long pid = std::atol(name.c_str() + kPrefix.size());
        if (pid <= 0 || pid == ::getpid() || ::kill(pid_t(pid), 0) == 0 || errno == EPERM) continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

// The plain files of `from` (no folders, links or temporary files: nothing a drive name reaches).
bool CopyPlainFiles(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::create_directories(to, ec);
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto status = it->symlink_status(ec);
        if (!ec && status.type() == fs::file_type::regular && DriveMap::IsPlainName(name))
            fs::copy_file(it->path(), to / name, ec);
    }
    return !ec;
}

}  // namespace

ScratchDrives::~ScratchDrives() {
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
}

bool ScratchDrives::Create(const DriveMap& real, const fs::path& parent, std::string& error) {
    RemoveAbandoned(parent);
    std::string pattern = (parent / (std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        error = "cannot make a scratch folder in " + parent.string();
        return false;
    }
    folder_ = pattern;
    std::error_code ec;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const fs::path drive = *real.FolderPath(static_cast<unsigned char>(letter));
        if (!fs::is_directory(drive, ec)) continue;
        if (!CopyPlainFiles(drive, folder_ / "taken" / std::string(1, letter), ec)) {
            error = "cannot copy drive " + std::string(1, letter) + ": " + ec.message();
            return false;
        }
    }
    fs::create_directories(folder_ / "taken", ec);
    return true;
}

bool ScratchDrives::Fresh(fs::path& root, std::string& error) {
    std::error_code ec;
    root = folder_ / "run";
    fs::remove_all(root, ec);
    if (!ec) fs::copy(folder_ / "taken", root, fs::copy_options::recursive, ec);
    if (ec) error = "cannot copy the scratch drives: " + ec.message();
    return !ec;
}

}  // namespace kestran::platform
