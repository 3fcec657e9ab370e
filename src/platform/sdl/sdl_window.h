// The SDL2 window backend. This header is free of SDL: the program chooses and opens the
// backend through it without seeing SDL itself.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/window.h"

namespace kestran::platform {

class Font;

namespace sdl {

struct SdlWindowOptions {
    std::string title;               // the program name
    int scale = 0;                   // pixels per frame pixel; 0: the largest that fits the screen
    bool fullscreen = false;         // start in fullscreen (F11 or Alt+Enter toggles it)
    bool hidden = false;             // create the window hidden
    const Font* font = nullptr;      // draws the input method's composition
    std::filesystem::path helpFile;  // opened by F1 when the file exists; empty: no help
    bool english = false;            // the window's own messages in English, not Japanese
};

// Whether SDL can open windows here: a display is named (DisplayNamed) and the video subsystem
// starts.
bool DisplayAvailable();

// Whether the system names a display to open windows on: DISPLAY or WAYLAND_DISPLAY, or a
// driver by SDL_VIDEODRIVER (always on Windows, whose desktop is the display).
bool DisplayNamed();

// Opens the window at the top left of the screen sized to the frame at the chosen scale.
// Null, with the reason in `error`, when it cannot.
std::unique_ptr<Window> OpenSdlWindow(const SdlWindowOptions& options, std::string& error);

// A message box without a window (start-up failures). False when none could be shown.
bool ShowMessageBox(const std::string& titleUtf8, const std::string& textUtf8);

}  // namespace sdl
}  // namespace kestran::platform
