#include "platform/process.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace kestran::platform {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool ProcessRuns(long id) {
    return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
}

}  // namespace kestran::platform
