#include "platform/errmsg_library.h"

#include <dlfcn.h>

#include <cstring>

namespace kestran::platform {

namespace {

// Unloads the library on every way out of the lookup.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const std::filesystem::path& file) : handle_(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedLibrary() {
        if (handle_) dlclose(handle_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    void* handle() const { return handle_; }

private:
    void* handle_;
};

}  // namespace

std::string LookupErrorMessage(const std::filesystem::path& folder, int number, unsigned bufferSize,
                               MessageLanguage language) {
    if (folder.empty() || bufferSize == 0) return {};
    const auto file = folder / kErrorMessageLibraryName;
    LoadedLibrary library(file);
    if (!library.handle()) return {};
    // POSIX guarantees that a function pointer survives the round trip through void*.
    GetErrorMessageFunction get = nullptr;
    void* symbol = language == MessageLanguage::English ? dlsym(library.handle(), kEnglishErrorMessageExport) : nullptr;
    if (!symbol) symbol = dlsym(library.handle(), kErrorMessageExport);
    if (!symbol) return {};
    static_assert(sizeof(get) == sizeof(symbol));
    std::memcpy(&get, &symbol, sizeof(get));
    return AskErrorMessage(get, library.handle(), number, bufferSize);
}

}  // namespace kestran::platform
