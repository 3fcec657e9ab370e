#include "platform/png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace kestran::platform {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports errors through a longjmp; they end here as a false result instead.
bool WriteRows(std::FILE* file, const uint32_t* pixels, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(size_t(width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* src = pixels + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = png_byte(src[x] >> 16);
            row[size_t(x) * 3 + 1] = png_byte(src[x] >> 8);
            row[size_t(x) * 3 + 2] = png_byte(src[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height, std::string& error) {
    if (!pixels || width <= 0 || height <= 0) {
        error = "no frame to write to " + path;
        return false;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    const bool written = WriteRows(file.get(), pixels, width, height);
    if (!written || std::fclose(file.release()) != 0) {
        error = "writing " + path + " failed";
        return false;
    }
    return true;
}

}  // namespace kestran::platform
