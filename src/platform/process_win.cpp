#include <windows.h>

#include "platform/process.h"

namespace kestran::platform {

long CurrentProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

bool ProcessRuns(long id) {
    if (id <= 0) return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(id));
    // A process this one may not open still runs.
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

}  // namespace kestran::platform
