#include "runtime/values/strings.h"

#include <algorithm>

#include "runtime/values/error.h"
#include "runtime/values/numbers.h"

namespace kestran {

namespace {

// A count or position converted from the game's number; negative values raise `site`.
std::size_t Count(double n, uint32_t site, std::source_location where) {
    int32_t v = PbToLong(n, where);
    if (v < 0) PbRaiseError(5, site, where);
    return static_cast<std::size_t>(v);
}

// Byte offset just after the first n characters of s.
std::size_t CharsPrefixLength(std::string_view s, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t chars = 0; chars < n && pos < s.size(); ++chars)
        pos += SjisCharLength(s, pos);
    return pos;
}

}  // namespace

PbString PbLeft(std::string_view s, double n, std::source_location where) {
    std::size_t count = Count(n, 0x9901, where);
    return PbString(s.substr(0, count));
}

PbString PbMid(std::string_view s, double start, double length, std::source_location where) {
    int32_t first = PbToLong(start, where);
    int32_t count = PbToLong(length, where);
    if (first < 1 || count < 0) PbRaiseError(5, 0x9A01, where);
    auto from = static_cast<std::size_t>(first);
    if (from > s.size()) return {};
    return PbString(s.substr(from - 1, static_cast<std::size_t>(count)));
}

PbString PbMid(std::string_view s, double start, std::source_location where) {
    return PbMid(s, start, static_cast<double>(kPbMaxStringLength), where);
}

PbString PbRight(std::string_view s, double n, std::source_location where) {
    std::size_t count = std::min(Count(n, 0x9B01, where), s.size());
    return PbString(s.substr(s.size() - count));
}

PbString PbLeftChars(std::string_view s, double n, std::source_location where) {
    std::size_t count = Count(n, 0x7501, where);
    return PbString(s.substr(0, CharsPrefixLength(s, count)));
}

PbString PbRightChars(std::string_view s, double n, std::source_location where) {
    std::size_t count = Count(n, 0x7801, where);
    std::size_t total = SjisCharCount(s);
    if (count >= total) return PbString(s);
    return PbString(s.substr(CharsPrefixLength(s, total - count)));
}

void PbMidAssign(PbString& target, double position, double length, std::string_view s, std::source_location where) {
    int32_t pos = PbToLong(position, where);
    int32_t count = PbToLong(length, where);
    if (count == 0) return;
    if (pos < 1 || count < 0) PbRaiseError(5, 0x8201, where);
    auto from = static_cast<std::size_t>(pos);
    if (from > target.size()) PbRaiseError(5, 0x8202, where);
    std::size_t n = std::min({static_cast<std::size_t>(count), s.size(), target.size() - from + 1});
    target.replace(from - 1, n, s.substr(0, n));
}

void PbMidAssign(PbString& target, double position, std::string_view s, std::source_location where) {
    PbMidAssign(target, position, static_cast<double>(kPbMaxStringLength), s, where);
}

PbString PbChr(double code, std::source_location where) {
    int32_t c = PbToLong(code, where);
    if (c < 0 || c > 255) PbRaiseError(5, 0x9201, where);
    return PbString(1, static_cast<char>(c));
}

PbString PbChr(std::initializer_list<double> codes, std::source_location where) {
    PbString out;
    for (double code : codes)
        out += PbChr(code, where);
    return out;
}

PbString PbConcat(std::string_view a, std::string_view b, std::source_location where) {
    if (a.size() > kPbMaxStringLength || b.size() > kPbMaxStringLength - a.size()) PbRaiseError(15, 0xC401, where);
    PbString out;
    out.reserve(a.size() + b.size());
    out.append(a).append(b);
    return out;
}

int PbCompare(std::string_view left, std::string_view right) {
    // std::string_view compares through char_traits<char>, which compares as unsigned char.
    int c = left.compare(right);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace kestran
