#include "runtime/console/console.h"

namespace kestran {

void Console::HandleEvent(Runtime&, const platform::Event&) {}

}  // namespace kestran
