#include "platform/scratch_drives.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

#include "platform/process.h"
#include "platform/utf8_path.h"

namespace kestran::platform {

namespace {

namespace fs = std::filesystem;

// A scratch folder's name: the prefix, the number of the process that made it, a unique tail.
constexpr std::string_view kPrefix = "kestran-watch-";

// The scratch folders of watching programs that a signal ended (their process is gone).
void RemoveAbandoned(const fs::path& parent) {
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8String(it->path().filename());
        if (!name.starts_with(kPrefix)) continue;
        const long pid = std::atol(name.c_str() + kPrefix.size());
        if (pid <= 0 || pid == CurrentProcessId() || ProcessRuns(pid)) continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

// The plain files of `from` (no folders, links or temporary files: nothing a drive name reaches).
bool CopyPlainFiles(const fs::path& from, const fs::path& to, std::error_code& ec) {
    fs::create_directories(to, ec);
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8String(it->path().filename());
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
    std::error_code ec;
    const std::string stem = std::string(kPrefix) + std::to_string(CurrentProcessId()) + "-";
    // The first free name of this process: a folder made by this call, never one found there,
    // and the player's own (the copies are the player's saves).
    for (int n = 1; n < 1000 && folder_.empty(); ++n) {
        const fs::path candidate = parent / (stem + std::to_string(n));
        if (fs::create_directory(candidate, ec)) folder_ = candidate;
    }
    if (!folder_.empty()) fs::permissions(folder_, fs::perms::owner_all, ec);
    if (folder_.empty()) {
        error = "cannot make a scratch folder in " + Utf8String(parent);
        return false;
    }
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
