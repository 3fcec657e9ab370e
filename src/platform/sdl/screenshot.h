// Screenshots of the frame as PNG files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kestran::platform::sdl {

// Writes `width` x `height` pixels (0x00RRGGBB, row-major) as an 8-bit RGB PNG. False, with
// the reason in `error`, when the file cannot be written; a partial file is removed.
bool WritePng(const std::filesystem::path& file, const uint32_t* pixels, int width, int height, std::string& error);

// The folder screenshots go to: $XDG_PICTURES_DIR when it names a folder, else the current one.
std::filesystem::path ScreenshotFolder();

// A new file in `folder` named after the program and the time, never an existing one; empty
// when none could be created. The file is created (empty) so no other writer can take it.
std::filesystem::path NewScreenshotFile(const std::filesystem::path& folder, const std::string& program);

}  // namespace kestran::platform::sdl
