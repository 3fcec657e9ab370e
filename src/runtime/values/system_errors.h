// System failures as run-time errors: errno -> the original platform's system error code ->
// the run-time error number. The code is what the error log's APIERR records.
#pragma once

#include <cstdint>
#include <source_location>

namespace kestran {

struct Runtime;

// What the failing call was doing; an I/O error is a read fault or a write fault by it.
enum class IoDirection { Other, Reading, Writing };

// The platform's system error code for an errno value (1117, an I/O device error, for EIO
// outside reading and writing; 1359, an internal error, for an errno without a counterpart).
uint32_t SystemCodeFromErrno(int errnoValue, IoDirection direction = IoDirection::Other);

// The run-time error number of a system error code by the runtime's table; 27 when unlisted.
int ErrorNumberFromSystemCode(uint32_t systemCode);

// Maps errno to its error number and records the system code through the platform's error log
// when there is one.
int PbSystemErrorNumber(Runtime& rt, int errnoValue, IoDirection direction = IoDirection::Other);

// Raises the mapped error of a failed system call at `site`.
[[noreturn]] void PbRaiseSystemError(Runtime& rt, int errnoValue, IoDirection direction, uint32_t site,
                                     std::source_location where);

}  // namespace kestran
