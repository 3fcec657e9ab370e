// The text font: GNU Unifont glyphs read at run time from a .hex file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestran::platform {

// One glyph of 16 rows; bit 15 of a row is its leftmost pixel. `width` is 8 or 16.
struct Glyph {
    uint8_t width = 8;
    std::array<uint16_t, 16> rows{};
};

// The code points whose glyphs are kept when a font is read; an empty filter keeps them all.
// (The screen can show only a few thousand of Unifont's characters, and the rest would hold
// most of the program's memory.)
using GlyphFilter = std::function<bool(uint32_t codepoint)>;

class Font {
public:
    static constexpr int kGlyphHeight = 16;

    // Reads a Unifont .hex file ("CODE:HEXBITS" lines; 32 hex digits for an 8-wide glyph, 64
    // for a 16-wide one) line by line. Fails with a message when the file cannot be read or
    // holds no glyph `keep` accepts.
    bool LoadHexFile(const std::string& path, std::string& error, const GlyphFilter& keep = {});
    // Takes the glyphs of .hex text that `keep` accepts; lines that are not glyphs of the Basic
    // Multilingual Plane are skipped. Returns how many glyphs were taken.
    size_t ParseHex(std::string_view text, const GlyphFilter& keep = {});
    // Takes one glyph of the Basic Multilingual Plane, replacing one the code point had.
    void Add(uint32_t codepoint, const Glyph& glyph);

    // The glyph of a code point, or null when the font has none.
    const Glyph* Find(uint32_t codepoint) const {
        if (codepoint >= kPlaneSize || !index_ || index_[codepoint] < 0) return nullptr;
        return &glyphs_[size_t(index_[codepoint])];
    }
    size_t size() const { return glyphs_.size(); }

private:
    static constexpr uint32_t kPlaneSize = 0x10000;  // the Basic Multilingual Plane
    // Per code point of the BMP: position in glyphs_, or -1; made with the first glyph. Not a
    // vector, which the browser fills element by element, slowly enough to delay its start.
    std::unique_ptr<int32_t[]> index_;
    std::vector<Glyph> glyphs_;
};

// Where the font is looked for when none is named: the Japanese Unifont, then the plain one.
std::vector<std::string> DefaultFontPaths();

// Loads `path`, or when it is empty the first default font that loads.
bool LoadFont(Font& font, const std::string& path, std::string& error, const GlyphFilter& keep = {});

}  // namespace kestran::platform
