// Run-time errors: the trap the game sets around its file operations, the fatal report with its
// error log, and the mapping of system failures to error numbers.
#pragma once

#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/values/error.h"

namespace kestran {

struct Runtime;

// A run-time error raised while a trap's handler ran. It is not a PbError, so no trap (and no
// catch of PbError in the game) takes it: it reaches the top level and is fatal.
struct TrapHandlerError {
    PbError error;
};

// Whether a trap's handler is running.
bool InTrapHandler(const Runtime& rt);

// Marks a trap's handler as running for its lifetime; its end is the resume.
class ErrorHandlerScope {
public:
    ErrorHandlerScope(Runtime& rt, const PbError& error);
    ~ErrorHandlerScope();
    ErrorHandlerScope(const ErrorHandlerScope&) = delete;
    ErrorHandlerScope& operator=(const ErrorHandlerScope&) = delete;

private:
    Runtime& rt_;
};

// The error trap: runs `block`; when it raises a run-time error, runs `handler(error)` and
// continues after the trap (the resume). Returns true when the block completed, false when the
// handler ran. Subroutine returns entered inside the block are left by the unwinding. An error
// raised inside the handler is fatal, and so is one raised inside a block while a handler runs.
// ProgramEnd (the window closed, the break stop) passes through untouched.
template <class Block, class Handler>
bool PbTrap(Runtime& rt, Block&& block, Handler&& handler);

// The fatal report: the report line on the screen (or in a message box when there is no usable
// window) with the library's text, the key wait, and the error log. Nothing raised inside the
// report escapes it; the window closed during its key wait just ends it.
void PbReportFatal(Runtime& rt, const PbError& error);

// Turns a system failure (an errno value) into a run-time error number through the system's
// error code, and logs the code as APIERR; a failure without a number of its own gives 27.
// The files runtime's mapping (runtime/values/system_errors.h), under its shared name.
int PbMapSystemError(Runtime& rt, int errnoValue);

// The name of the game source file of a statement, without its folder: what reports show.
std::string ModuleName(const std::source_location& where);

// Closes every open file at the end of the program; failures are ignored.
void CloseAllFiles(Runtime& rt);

// --- implementation ---

template <class Block, class Handler>
bool PbTrap(Runtime& rt, Block&& block, Handler&& handler) {
    std::optional<PbError> raised;
    try {
        block();
        return true;
    } catch (const PbError& error) {
        if (InTrapHandler(rt)) throw TrapHandlerError{error};
        raised = error;
    }
    ErrorHandlerScope scope(rt, *raised);
    try {
        handler(std::as_const(*raised));
    } catch (const PbError& error) {
        throw TrapHandlerError{error};
    }
    return false;
}

}  // namespace kestran
