// PNG files of frames: the headless dumps and the window's screenshots.
#pragma once

#include <cstdint>
#include <string>

namespace kestran::platform {

// Writes 0x00RRGGBB pixels as an 8-bit RGB PNG; false with a message on failure.
bool WritePng(const std::string& path, const uint32_t* pixels, int width, int height, std::string& error);

}  // namespace kestran::platform
