// Packs the font asset of the browser page: the glyphs of every character the CP932 table can
// show (and the replacement glyph the screen falls back on) from a Unifont .hex file.
// Usage: pack_font [FONT.hex] OUTPUT   (without FONT, the font the program itself would load)
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/web/font_pack.h"
#include "runtime/values/cp932.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: pack_font [FONT.hex] OUTPUT\n");
        return 2;
    }
    kestran::platform::Font font;
    std::string error;
    if (!kestran::platform::LoadFont(font, argc == 3 ? argv[1] : "", error)) {
        std::fprintf(stderr, "pack_font: %s\n", error.c_str());
        return 1;
    }
    std::vector<uint32_t> repertoire{' ', 0xFFFD};
    for (const auto& pair : kestran::kCp932Decode)
        repertoire.push_back(pair.unicode);
    const std::string packed = kestran::platform::web::PackFont(font, repertoire);
    const char* output = argv[argc - 1];
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(packed.data(), std::streamsize(packed.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "pack_font: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
