// Fuzz target: Shift-JIS decoding and the character-wise string functions over any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/values/sjis.h"
#include "runtime/values/strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t chars = kestran::SjisCharCount(bytes);
    if (chars > size || (size > 0 && chars == 0)) std::abort();
    // The character-wise cuts put the whole text back together.
    for (std::size_t n : {std::size_t{0}, std::size_t{1}, chars / 2, chars}) {
        if (n > chars) continue;
        std::string left = kestran::PbLeftChars(bytes, static_cast<double>(n));
        std::string right = kestran::PbRightChars(bytes, static_cast<double>(chars - n));
        if (left + right != bytes) std::abort();
    }
    // Decoding to UTF-8 and encoding back gives text that decodes the same.
    std::string utf8 = kestran::SjisToUtf8(bytes);
    std::string back;
    if (kestran::Utf8ToSjis(utf8, back) && kestran::SjisToUtf8(back) != utf8) std::abort();
    // The same bytes as UTF-8: decoding always moves on.
    for (std::size_t pos = 0; pos < size;) {
        std::size_t before = pos;
        kestran::DecodeUtf8(bytes, pos);
        if (pos <= before || pos > size) std::abort();
    }
    return 0;
}
