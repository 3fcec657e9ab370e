// What the SDL window does for the desktop around it: the help file.
#pragma once

#include <filesystem>

#include "platform/window.h"

namespace kestran::platform::sdl {

// The longest help file path that is looked up, as the original's lookup had room for.
constexpr std::size_t kMaxHelpPath = 260;

// Opens the help file with the desktop's viewer (xdg-open), without waiting for it. Nothing
// happens when there is no help file, its path is too long or it does not exist.
void OpenHelpFile(const std::filesystem::path& file);

}  // namespace kestran::platform::sdl
