// Opening a file once its arguments are checked (the two halves of PbOpen).
#pragma once

#include <cstdint>
#include <memory>
#include <source_location>
#include <string>

#include "runtime/values/file_table.h"

namespace kestran {

// A file name split into its drive byte and the folder entry it names (UTF-8 on disk).
struct FileName {
    unsigned char drive = 'C';
    std::string entry;
};

constexpr uint32_t kOpenSystemSite = 0x2008;

// Logs `code` as the last system error and raises its error number at the open's site.
[[noreturn]] void RaiseOpenCode(Runtime& rt, uint32_t code, std::source_location where);

// Opens `name` with the mode's access and creation rule; raises the open's errors.
std::unique_ptr<OpenFile> OpenChecked(Runtime& rt, const FileName& name, int mode, int access, int share,
                                      std::source_location where);

}  // namespace kestran
