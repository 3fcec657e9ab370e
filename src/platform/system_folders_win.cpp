// The Windows folders. Saves go to the user's Saved Games folder (Saved Games\KESTRAN\drives\C):
// that is where Windows and its players look for a game's saves, and it is easy to find for
// copying a save of the original in. Settings are read
// from %ProgramData%\KESTRAN\env.conf and then %APPDATA%\KESTRAN\env.conf; the error log is
// %APPDATA%\KESTRAN\error.log; screenshots go to the Pictures folder.
#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

#include <array>
#include <cctype>
#include <system_error>

#include "platform/drives.h"
#include "platform/error_log_file.h"
#include "platform/settings.h"
#include "platform/system_folders.h"

namespace kestran::platform {

namespace {

std::filesystem::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::filesystem::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) folder = path;
    CoTaskMemFree(path);
    return folder;
}

std::filesystem::path ProgramFolder(REFKNOWNFOLDERID id) {
    const auto folder = KnownFolder(id);
    return folder.empty() ? std::filesystem::path() : folder / L"KESTRAN";
}

std::string UpperAscii(std::string_view s) {
    std::string upper(s);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices in every folder, with any extension.
bool IsDeviceName(std::string_view name) {
    const std::string stem = UpperAscii(name.substr(0, name.find('.')));
    static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    for (auto device : kDevices) {
        if (stem == device) return true;
    }
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::filesystem::path DriveMap::DefaultRoot() {
    if (auto saved = ProgramFolder(FOLDERID_SavedGames); !saved.empty()) return saved / L"drives";
    if (auto local = ProgramFolder(FOLDERID_LocalAppData); !local.empty()) return local / L"drives";
    return "kestran-drives";
}

std::vector<std::filesystem::path> SettingsFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto id : {&FOLDERID_ProgramData, &FOLDERID_RoamingAppData}) {
        if (auto folder = ProgramFolder(*id); !folder.empty()) files.push_back(folder / L"env.conf");
    }
    return files;
}

std::filesystem::path FileErrorLog::DefaultPath() {
    auto folder = ProgramFolder(FOLDERID_RoamingAppData);
    return folder.empty() ? folder : folder / L"error.log";
}

std::filesystem::path RunningProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) break;
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
    std::error_code ec;
    auto here = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : here;
}

std::filesystem::path PicturesFolder() {
    if (auto pictures = KnownFolder(FOLDERID_Pictures); !pictures.empty()) return pictures;
    std::error_code ec;
    return std::filesystem::current_path(ec);
}

bool NameAllowedBySystem(std::string_view name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
    }
    return name.find_first_of("/\\:*?\"<>|") == std::string_view::npos && !IsDeviceName(name);
}

}  // namespace kestran::platform
