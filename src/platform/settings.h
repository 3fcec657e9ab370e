// Settings: the stand-in for the runtime's environment key of the registry. Two KEY=value
// files are read in order, the user's after the system's, so the user's values win:
//   /etc/kestran/env.conf               (Windows: %ProgramData%\KESTRAN\env.conf)
//   $XDG_CONFIG_HOME/kestran/env.conf   (~/.config/kestran/env.conf; Windows: %APPDATA%\KESTRAN)
// Keys: MERIDOX (folder of the error-message library), HELP (folder of the help file).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestran::platform {

struct Settings {
    // Where the error-message library is looked for; by default the program's own folder, or the
    // installed library's folder when only that one holds it.
    std::filesystem::path errorMessageFolder;
    // Where the help file is looked for; by default the program's own folder or the installed help
    // folder, whichever holds it first; empty when neither does.
    std::filesystem::path helpFolder;
    // The language a window or a terminal shows the game in ("ja", "en"); empty: the locale's.
    std::string language;
};

// The help file's name in its folder.
inline constexpr const char* kHelpFileName = "kestran.html";

// Where an installed program keeps the error-message library and the help file, beside the
// folder it runs from (for /usr/bin/kestran: /usr/lib/<multiarch>/kestran and /usr/share/kestran).
// The build names these folders from its install layout.
std::filesystem::path InstalledErrorMessageFolder(const std::filesystem::path& programFolder);
std::filesystem::path InstalledHelpFolder(const std::filesystem::path& programFolder);

// The settings before any file is read: each folder where its file is, the program's own folder
// first (a build tree), then the installed one.
Settings DefaultSettings(const std::filesystem::path& programFolder);

// The longest folder value taken, as the registry read had room for; a longer value is ignored.
constexpr std::size_t kMaxSettingsPath = 260;

// Applies the KEY=value lines of one settings file. Blank lines and lines starting with '#'
// are skipped, blanks around key and value are dropped, unknown keys are ignored.
void ApplySettingsText(Settings& settings, std::string_view text);

// The settings files in the order they are read.
std::vector<std::filesystem::path> SettingsFiles();

// The defaults, then every settings file that exists. An unreadable file is skipped.
Settings LoadSettings(const std::filesystem::path& programFolder);

// The folder the running program was started from (/proc/self/exe, or the module's file name on
// Windows), or the current folder when it cannot be found.
std::filesystem::path RunningProgramFolder();

// (POSIX only) An XDG base folder: the variable's value when it is an absolute path, else $HOME/fallback
// (for example XdgBaseFolder("XDG_STATE_HOME", ".local/state")). Empty when there is no home.
std::filesystem::path XdgBaseFolder(const char* variable, std::string_view fallback);

}  // namespace kestran::platform
