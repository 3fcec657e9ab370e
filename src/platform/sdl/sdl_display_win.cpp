#include "platform/sdl/sdl_window.h"

namespace kestran::platform::sdl {

bool DisplayNamed() {
    return true;
}

}  // namespace kestran::platform::sdl
