#include "platform/window.h"

namespace kestran::platform {

std::string ScreenText(const std::array<std::string, kTextRows>& rows) {
    std::string text;
    for (const auto& row : rows) {
        if (row.find_first_not_of(' ') == std::string::npos) continue;
        if (!text.empty()) text += '\n';
        text += row;
    }
    return text;
}

std::vector<uint32_t> DecodeUtf8Text(const std::string& text) {
    std::vector<uint32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        const std::size_t n = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > text.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        uint32_t cp = n == 1 ? b0 : n == 2 ? (b0 & 0x1Fu) : n == 3 ? (b0 & 0x0Fu) : (b0 & 0x07u);
        bool valid = true;
        for (std::size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            valid = valid && (b & 0xC0) == 0x80;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        out.push_back(valid ? cp : 0xFFFD);
        i += valid ? n : 1;
    }
    return out;
}

}  // namespace kestran::platform
