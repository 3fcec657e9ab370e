// The error log: the stand-in for the registry key the original wrote at each fatal error.
#pragma once

#include <cstdint>
#include <string>

namespace kestran::platform {

// The values written at a fatal error, in the order they are written.
struct FatalErrorRecord {
    std::string module;  // MODL: the game source file of the failing statement
    uint32_t line = 0;   // LINE
    uint32_t code = 0;   // CODE: the error number
    uint32_t func = 0;   // FUNC: error site / 256
    uint32_t info = 0;   // INFO: error site % 256
    std::string time;    // TIME: "%d/%02d/%02d %02d:%02d:%02d"
    std::string mode;    // MODE
    std::string rtl;     // RTL: the runtime's version text
};

class ErrorLog {
public:
    virtual ~ErrorLog() = default;
    // Rewrites the log with the values of this fatal error. Failures are ignored silently.
    virtual void WriteFatal(const FatalErrorRecord& record) = 0;
    // Records the last system error code whenever a system failure becomes an error number.
    virtual void WriteApiError(uint32_t systemCode) = 0;
};

}  // namespace kestran::platform
