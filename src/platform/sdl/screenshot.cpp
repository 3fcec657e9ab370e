#include "platform/sdl/screenshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <vector>

namespace kestran::platform::sdl {

std::filesystem::path ScreenshotFolder() {
    std::error_code ec;
    if (const char* pictures = std::getenv("XDG_PICTURES_DIR"); pictures && *pictures) {
        if (std::filesystem::is_directory(pictures, ec)) return pictures;
    }
    return std::filesystem::current_path(ec);
}

std::filesystem::path NewScreenshotFile(const std::filesystem::path& folder, const std::string& program) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    for (int n = 1; n < 100; ++n) {
        std::string name = program;
        name.append("-").append(stamp);
        if (n > 1) name.append("-").append(std::to_string(n));
        name.append(".png");
        auto file = folder / name;
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return file;
        }
        if (errno != EEXIST) return {};
    }
    return {};
}

}  // namespace kestran::platform::sdl
