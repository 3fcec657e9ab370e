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

}  // namespace kestran::platform
