#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <system_error>

#include "platform/sdl/sdl_desktop.h"

namespace kestran::platform::sdl {

void OpenHelpFile(const std::filesystem::path& file) {
    if (file.empty() || file.native().size() > kMaxHelpPath) return;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return;
    // The shell opens it with the user's viewer and returns without waiting for it.
    ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kestran::platform::sdl
