#include "platform/settings.h"

#include <fstream>
#include <system_error>

#include "platform/errmsg_library.h"
#include "platform/utf8_path.h"

namespace kestran::platform {

namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

void ApplyLine(Settings& settings, std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == '#') return;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const auto key = Trim(line.substr(0, equals));
    const auto value = Trim(line.substr(equals + 1));
    if (value.size() > kMaxSettingsPath) return;
    if (key == "MERIDOX") {
        if (!value.empty()) settings.errorMessageFolder = Utf8Path(value);
    } else if (key == "HELP") {
        settings.helpFolder = Utf8Path(value);
    } else if (key == "LANGUAGE") {
        settings.language = std::string(value);
    }
}

constexpr std::size_t kMaxSettingsFile = 64 * 1024;

#ifndef KESTRAN_INSTALLED_ERRMSG_DIR
#define KESTRAN_INSTALLED_ERRMSG_DIR "../lib/kestran"
#endif
#ifndef KESTRAN_INSTALLED_HELP_DIR
#define KESTRAN_INSTALLED_HELP_DIR "../share/kestran"
#endif

bool Holds(const std::filesystem::path& folder, const char* fileName) {
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / fileName, ec);
}

}  // namespace

void ApplySettingsText(Settings& settings, std::string_view text) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        ApplyLine(settings, text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

std::filesystem::path InstalledErrorMessageFolder(const std::filesystem::path& programFolder) {
    return (programFolder / KESTRAN_INSTALLED_ERRMSG_DIR).lexically_normal();
}

std::filesystem::path InstalledHelpFolder(const std::filesystem::path& programFolder) {
    return (programFolder / KESTRAN_INSTALLED_HELP_DIR).lexically_normal();
}

Settings DefaultSettings(const std::filesystem::path& programFolder) {
    Settings settings;
    settings.errorMessageFolder = programFolder;
    if (!Holds(programFolder, kErrorMessageLibraryName)) {
        const auto installed = InstalledErrorMessageFolder(programFolder);
        if (Holds(installed, kErrorMessageLibraryName)) settings.errorMessageFolder = installed;
    }
    if (Holds(programFolder, kHelpFileName)) {
        settings.helpFolder = programFolder;
    } else if (const auto installed = InstalledHelpFolder(programFolder); Holds(installed, kHelpFileName)) {
        settings.helpFolder = installed;
    }
    return settings;
}

Settings LoadSettings(const std::filesystem::path& programFolder) {
    Settings settings = DefaultSettings(programFolder);
    for (const auto& file : SettingsFiles()) {
        std::ifstream in(file, std::ios::binary);
        if (!in) continue;
        // A settings file is a few lines; more than this is not one (or is /dev/zero).
        std::string text(kMaxSettingsFile, '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
        ApplySettingsText(settings, text);
    }
    return settings;
}

}  // namespace kestran::platform
