// Where screenshots of the frame go (the PNG writer is the platform layer's).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kestran::platform::sdl {

// The folder screenshots go to: the user's pictures folder ($XDG_PICTURES_DIR when it names a
// folder; Windows' Pictures), else the current one.
std::filesystem::path ScreenshotFolder();

// A new file in `folder` named after the program and the time, never an existing one; empty
// when none could be created. The file is created (empty) so no other writer can take it.
std::filesystem::path NewScreenshotFile(const std::filesystem::path& folder, const std::string& program);

}  // namespace kestran::platform::sdl
