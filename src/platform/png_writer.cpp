#include "platform/png_writer.h"

#include <png.h>

#include <fstream>
#include <vector>

#include "platform/utf8_path.h"

namespace kestran::platform {

namespace {

// The file goes through a stream, which takes a UTF-8 path on every system.
void WriteToStream(png_structp png, png_bytep data, png_size_t size) {
    static_cast<std::ofstream*>(png_get_io_ptr(png))
        ->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void FlushStream(png_structp png) {
    static_cast<std::ofstream*>(png_get_io_ptr(png))->flush();
}

// libpng reports errors through a longjmp; they end here as a false result instead.
bool WriteRows(std::ofstream& file, const uint32_t* pixels, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(size_t(width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, &file, WriteToStream, FlushStream);
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
    std::ofstream file(Utf8Path(path), std::ios::binary | std::ios::trunc);
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    const bool written = WriteRows(file, pixels, width, height) && file.flush();
    file.close();
    if (!written || file.fail()) {
        error = "writing " + path + " failed";
        return false;
    }
    return true;
}

}  // namespace kestran::platform
