#include "platform/font.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include "platform/settings.h"
#include "platform/utf8_path.h"

namespace kestran::platform {

namespace {

// A hex number of up to 8 digits and nothing else.
bool ParseHexNumber(std::string_view s, uint32_t& value) {
    if (s.empty() || s.size() > 8) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseBits(std::string_view bits, Glyph& g) {
    if (bits.size() != 32 && bits.size() != 64) return false;
    g.width = bits.size() == 32 ? 8 : 16;
    const size_t perRow = g.width / 4;
    for (size_t row = 0; row < 16; ++row) {
        uint32_t v = 0;
        if (!ParseHexNumber(bits.substr(row * perRow, perRow), v)) return false;
        g.rows[row] = uint16_t(g.width == 8 ? v << 8 : v);
    }
    return true;
}

}  // namespace

void Font::Add(uint32_t codepoint, const Glyph& glyph) {
    if (codepoint >= kPlaneSize) return;
    if (!index_) {
        index_.reset(new int32_t[kPlaneSize]);
        std::fill_n(index_.get(), kPlaneSize, -1);
    }
    if (index_[codepoint] >= 0) {
        glyphs_[size_t(index_[codepoint])] = glyph;
    } else {
        index_[codepoint] = int32_t(glyphs_.size());
        glyphs_.push_back(glyph);
    }
}

size_t Font::ParseHex(std::string_view text, const GlyphFilter& keep) {
    size_t taken = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t colon = line.find(':');
        uint32_t cp = 0;
        Glyph g;
        if (colon == std::string_view::npos || !ParseHexNumber(line.substr(0, colon), cp) || cp >= kPlaneSize ||
            (keep && !keep(cp)) || !ParseBits(line.substr(colon + 1), g)) {
            continue;
        }
        Add(cp, g);
        ++taken;
    }
    return taken;
}

bool Font::LoadHexFile(const std::string& path, std::string& error, const GlyphFilter& keep) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        error = "cannot read the font file " + path;
        return false;
    }
    size_t taken = 0;
    for (std::string line; std::getline(in, line);)
        taken += ParseHex(line, keep);
    if (in.bad()) {
        error = "cannot read the font file " + path;
        return false;
    }
    if (taken == 0) {
        error = "the font file " + path + " holds no Unifont .hex glyphs";
        return false;
    }
    glyphs_.shrink_to_fit();
    return true;
}

std::vector<std::string> DefaultFontPaths() {
    // A relative name is a font shipped beside the program (the Windows build's).
    std::filesystem::path jp = KESTRAN_DEFAULT_FONT;
    if (jp.is_relative()) jp = RunningProgramFolder() / jp;
    return {Utf8String(jp), Utf8String(jp.parent_path() / "unifont.hex")};
}

bool LoadFont(Font& font, const std::string& path, std::string& error, const GlyphFilter& keep) {
    if (!path.empty()) return font.LoadHexFile(path, error, keep);
    for (const auto& candidate : DefaultFontPaths()) {
        if (font.LoadHexFile(candidate, error, keep)) return true;
    }
    error = "no Unifont font found (install the Debian package unifont, or give --font=PATH)";
    return false;
}

}  // namespace kestran::platform
