#include "platform/sdl/screenshot.h"

#include <cerrno>
#include <cstdio>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/system_folders.h"
#include "platform/utf8_path.h"

namespace kestran::platform::sdl {

std::filesystem::path ScreenshotFolder() {
    return PicturesFolder();
}

std::filesystem::path NewScreenshotFile(const std::filesystem::path& folder, const std::string& program) {
    const LocalTime t = SystemClock().Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    FileSystem& fs = SystemFileSystem();
    const int folderFd = fs.OpenFolder(Utf8String(folder));
    if (folderFd < 0) return {};
    std::filesystem::path made;
    for (int n = 1; n < 100; ++n) {
        std::string name = program;
        name.append("-").append(stamp);
        if (n > 1) name.append("-").append(std::to_string(n));
        name.append(".png");
        const int fd = fs.CreateExclusive(folderFd, name);
        if (fd >= 0) {
            fs.Close(fd);
            made = folder / Utf8Path(name);
            break;
        }
        if (fd != -EEXIST) break;
    }
    fs.Close(folderFd);
    return made;
}

}  // namespace kestran::platform::sdl
