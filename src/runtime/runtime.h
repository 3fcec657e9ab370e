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

    platform::Platform& platform;
    std::string programName = "kestran";  // window title; message boxes add ".EXE"
    RandomGenerator random;
    ReturnTable returns;
    FrameState frame;  // statement hook, events, error state, exit code
    Console console;   // text screen, key ring, picture
    FileTable files;
};

}  // namespace kestran
