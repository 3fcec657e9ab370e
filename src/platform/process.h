// The running process and others, as far as the drive folders need them: a temporary file or a
// scratch folder carries the number of the process that made it, and is left alone while that
// process lives.
#pragma once

namespace kestran::platform {

long CurrentProcessId();

// True while process `id` runs (also when it belongs to someone this one may not signal).
bool ProcessRuns(long id);

}  // namespace kestran::platform
