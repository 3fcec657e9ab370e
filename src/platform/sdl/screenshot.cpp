#include "platform/sdl/screenshot.h"

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <vector>

namespace kestran::platform::sdl {

namespace {

// libpng reports errors by longjmp; nothing with a destructor lives between setjmp and the
// calls that may jump.
bool WriteRows(FILE* out, std::vector<png_bytep>& rows, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::filesystem::path& file, const uint32_t* pixels, int width, int height, std::string& error) {
    if (!pixels || width <= 0 || height <= 0) {
        error = "nothing to save";
        return false;
    }
    const auto w = static_cast<std::size_t>(width);
    std::vector<png_byte> rgb(w * static_cast<std::size_t>(height) * 3);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        rows[y] = rgb.data() + y * w * 3;
        for (std::size_t x = 0; x < w; ++x) {
            const uint32_t p = pixels[y * w + x];
            rows[y][x * 3] = static_cast<png_byte>(p >> 16);
            rows[y][x * 3 + 1] = static_cast<png_byte>(p >> 8);
            rows[y][x * 3 + 2] = static_cast<png_byte>(p);
        }
    }
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        error = "cannot write " + file.string();
        return false;
    }
    const bool written = WriteRows(out, rows, width, height);
    const bool closed = std::fclose(out) == 0;
    if (written && closed) return true;
    std::remove(file.c_str());
    error = "cannot write " + file.string();
    return false;
}

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
