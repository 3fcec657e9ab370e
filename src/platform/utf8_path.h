// Paths as the program holds them: UTF-8 text. A std::filesystem::path made from a plain
// std::string takes the bytes in the system's narrow encoding, which on Windows is not UTF-8, so
// every path that comes from text (the command line, a settings file) and every path handed on as
// text goes through these two.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestran::platform {

inline std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8String(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace kestran::platform
