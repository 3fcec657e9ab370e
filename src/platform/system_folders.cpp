// The POSIX folders: the XDG base folders under the home folder.
#include "platform/system_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/settings.h"

namespace kestran::platform {

namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

}  // namespace

std::filesystem::path XdgBaseFolder(const char* variable, std::string_view fallback) {
    // An XDG variable counts only when it holds an absolute path.
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    auto home = HomeFolder();
    if (home.empty()) return {};
    return home / fallback;
}

std::filesystem::path DriveMap::DefaultRoot() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::filesystem::path(data) / "kestran" / "drives";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::filesystem::path(home) / ".local/share/kestran/drives";
    return "kestran-drives";
}

std::vector<std::filesystem::path> SettingsFiles() {
    std::vector<std::filesystem::path> files{"/etc/kestran/env.conf"};
    if (auto config = XdgBaseFolder("XDG_CONFIG_HOME", ".config"); !config.empty()) {
        files.push_back(config / "kestran" / "env.conf");
    }
    return files;
}

std::filesystem::path FileErrorLog::DefaultPath() {
    auto state = XdgBaseFolder("XDG_STATE_HOME", ".local/state");
    if (state.empty()) return {};
    return state / "kestran" / "error.log";
}

std::filesystem::path RunningProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) return exe.parent_path();
    auto here = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : here;
}

std::filesystem::path PicturesFolder() {
    std::error_code ec;
    if (const char* pictures = std::getenv("XDG_PICTURES_DIR"); pictures && *pictures) {
        if (std::filesystem::is_directory(pictures, ec)) return pictures;
    }
    return std::filesystem::current_path(ec);
}

bool NameAllowedBySystem(std::string_view name) {
    return name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

}  // namespace kestran::platform
