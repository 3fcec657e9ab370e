// The platform layer as the runtime sees it: one aggregate of the stand-ins for what the
// original took from the operating system. The program's main() fills it in; tests fill it
// with fakes. Every pointer may be null where a piece is absent (no window yet, no font).
#pragma once

#include "platform/clock.h"
#include "platform/window.h"

namespace kestran::platform {

class Font;
class DriveMap;
class ErrorLog;  // platform/error_log.h
struct Settings;

struct Platform {
    Window* window = nullptr;
    const Clock* clock = nullptr;
    const Font* font = nullptr;
    DriveMap* drives = nullptr;
    ErrorLog* errorLog = nullptr;
    const Settings* settings = nullptr;
};

}  // namespace kestran::platform
