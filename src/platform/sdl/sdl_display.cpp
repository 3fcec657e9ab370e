#include <cstdlib>

#include "platform/sdl/sdl_window.h"

namespace kestran::platform::sdl {

bool DisplayNamed() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("SDL_VIDEODRIVER");
}

}  // namespace kestran::platform::sdl
