#include "runtime/runtime.h"

namespace kestran {

namespace {

// Runtime's members in their order: a member added to Runtime without a line here (and in
// Reset below) changes its size and stops the build.
struct RuntimeMembers {
    platform::Platform* platform;
    std::string programName;
    RandomGenerator random;
    ReturnTable returns;
    FrameState frame;
    Console console;
    FileTable files;
};
static_assert(sizeof(RuntimeMembers) == sizeof(Runtime), "Runtime::Reset must reset every new member");

}  // namespace

void Runtime::Reset() {
    random = RandomGenerator();
    returns = ReturnTable();
    frame = FrameState();
    console.Reset();
    files = FileTable();
}

}  // namespace kestran
