#include "runtime/frame/errors.h"

#include "runtime/runtime.h"
#include "runtime/values/files.h"
#include "runtime/values/system_errors.h"

namespace kestran {

bool InTrapHandler(const Runtime& rt) {
    return rt.frame.error.inHandler;
}

ErrorHandlerScope::ErrorHandlerScope(Runtime& rt, const PbError& error) : rt_(rt) {
    rt_.frame.error.lastNumber = error.number();
    rt_.frame.error.inHandler = true;
}

ErrorHandlerScope::~ErrorHandlerScope() {
    rt_.frame.error.inHandler = false;
}

int PbMapSystemError(Runtime& rt, int errnoValue) {
    return PbSystemErrorNumber(rt, errnoValue);
}

std::string ModuleName(const std::source_location& where) {
    std::string_view file = where.file_name();
    if (const auto slash = file.find_last_of('/'); slash != std::string_view::npos) file.remove_prefix(slash + 1);
    return std::string(file);
}

void CloseAllFiles(Runtime& rt) {
    try {
        PbClose(rt, {});
    } catch (const PbError&) {
        // The program is ending; a file that cannot be closed has already left its target as it was.
    }
}

}  // namespace kestran
