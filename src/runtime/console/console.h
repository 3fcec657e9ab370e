// The console: text screen, key ring, line editor and picture of the main window.
#pragma once

#include "platform/window.h"

namespace kestran {

struct Runtime;

class Console {
public:
    // Takes one window event (a key, a character, focus, expose) into the console's state.
    void HandleEvent(Runtime& rt, const platform::Event& event);
};

}  // namespace kestran
