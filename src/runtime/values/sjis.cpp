#include "runtime/values/sjis.h"

#include "runtime/values/cp932.h"

namespace kestran {

std::size_t SjisCharCount(std::string_view s) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < s.size(); i += SjisCharLength(s, i)) ++n;
    return n;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string SjisToUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (std::size_t i = 0; i < sjis.size();) {
        auto b = static_cast<unsigned char>(sjis[i]);
        uint16_t code = b;
        std::size_t len = 1;
        if (IsSjisLeadByte(b) && i + 1 < sjis.size()) {
            code = uint16_t((b << 8) | static_cast<unsigned char>(sjis[i + 1]));
            len = 2;
        }
        auto cp = UnicodeFromCp932(code);
        if (!cp && len == 2) {
            // An invalid pair: show the lead byte as unknown and read the next byte on its own.
            len = 1;
            cp = std::nullopt;
        }
        AppendUtf8(out, cp ? *cp : 0xFFFD);
        i += len;
    }
    return out;
}

uint32_t DecodeUtf8(std::string_view s, std::size_t& pos) {
    constexpr uint32_t kBad = 0xFFFFFFFF;
    auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (len == 0 || pos + len > s.size()) {
        ++pos;
        return kBad;
    }
    uint32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (std::size_t k = 1; k < len; ++k) {
        auto b = static_cast<unsigned char>(s[pos + k]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return kBad;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kBad;
    }
    pos += len;
    return cp;
}

bool Utf8ToSjis(std::string_view utf8, std::string& out) {
    for (std::size_t i = 0; i < utf8.size();) {
        uint32_t cp = DecodeUtf8(utf8, i);
        auto code = Cp932FromUnicode(cp);
        if (!code) return false;
        if (*code > 0xFF) out += char(*code >> 8);
        out += char(*code & 0xFF);
    }
    return true;
}

}  // namespace kestran
