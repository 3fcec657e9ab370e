#include <windows.h>

#include <cstring>

#include "platform/errmsg_library.h"

namespace kestran::platform {

namespace {

// Unloads the library on every way out of the lookup.
class LoadedLibrary {
public:
    // Only the named file: never a library of that name found along the search path.
    explicit LoadedLibrary(const std::filesystem::path& file)
        : handle_(LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
    ~LoadedLibrary() {
        if (handle_) FreeLibrary(handle_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    HMODULE handle() const { return handle_; }

private:
    HMODULE handle_;
};

}  // namespace

std::string LookupErrorMessage(const std::filesystem::path& folder, int number, unsigned bufferSize,
                               MessageLanguage language) {
    if (folder.empty() || bufferSize == 0) return {};
    LoadedLibrary library(folder / kErrorMessageLibraryName);
    if (!library.handle()) return {};
    FARPROC symbol =
        language == MessageLanguage::English ? GetProcAddress(library.handle(), kEnglishErrorMessageExport) : nullptr;
    if (!symbol) symbol = GetProcAddress(library.handle(), kErrorMessageExport);
    if (!symbol) return {};
    GetErrorMessageFunction get = nullptr;
    static_assert(sizeof(get) == sizeof(symbol));
    std::memcpy(&get, &symbol, sizeof(get));
    return AskErrorMessage(get, library.handle(), number, bufferSize);
}

}  // namespace kestran::platform
