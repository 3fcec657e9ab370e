// Shift-JIS (CP932) text: the byte strings every runtime and game text is held in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestran {

// A runtime string: Shift-JIS bytes with an explicit length. Comparison of std::string is
// byte-wise on unsigned bytes, which is the comparison the runtime needs.
using PbString = std::string;

// A lead byte starts a double-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsSjisLeadByte(char b) { return IsSjisLeadByte(static_cast<unsigned char>(b)); }

// Byte length of the character starting at `pos`: 2 for a lead byte with a byte after it,
// otherwise 1 (a lead byte at the end of the text counts as a character by itself).
constexpr std::size_t SjisCharLength(std::string_view s, std::size_t pos) {
    return (IsSjisLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

// Number of characters, walking lead bytes as above.
std::size_t SjisCharCount(std::string_view s);

// Shift-JIS to UTF-8. A byte sequence that is no CP932 character becomes U+FFFD.
std::string SjisToUtf8(std::string_view sjis);

// UTF-8 to Shift-JIS. Returns false (and leaves `out` partly filled) when the text is not valid
// UTF-8 or holds a character outside CP932.
bool Utf8ToSjis(std::string_view utf8, std::string& out);

// Decodes one UTF-8 sequence at `pos`; returns the code point and advances `pos`, or returns
// 0xFFFFFFFF for a malformed sequence (advancing by one byte).
uint32_t DecodeUtf8(std::string_view utf8, std::size_t& pos);

// Appends the UTF-8 form of a Unicode scalar value.
void AppendUtf8(std::string& out, uint32_t cp);

}  // namespace kestran
