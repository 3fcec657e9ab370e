// One instance of the runtime: everything the original kept in its global and per-window
// state. The game holds one; tests make their own.
#pragma once

#include <string>

#include "platform/platform.h"
#include "runtime/console/console.h"
#include "runtime/frame/frame_state.h"
#include "runtime/values/files.h"
#include "runtime/values/random.h"
#include "runtime/values/return_table.h"

namespace kestran {

struct Runtime {
    explicit Runtime(platform::Platform& p) : platform(p) {}
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Brings every member but the platform and the program name back to how construction
    // leaves it, so that the next program run starts as in a new runtime: files still open are
    // dropped (output not committed), the screen is blank, the generator at its start seed.
    // For a process that runs the program many times (the fuzz targets); the platform's own
    // state (the window, the drives' files) is its owner's to reset.
    void Reset();

    platform::Platform& platform;
    std::string programName = "kestran";  // window title; message boxes add ".EXE"
    RandomGenerator random;
    ReturnTable returns;
    FrameState frame;  // statement hook, events, error state, exit code
    Console console;   // text screen, key ring, picture
    FileTable files;
};

}  // namespace kestran
