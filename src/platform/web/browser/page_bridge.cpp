#include "platform/web/browser/page_bridge.h"

#include <emscripten.h>

// Resolves with the size of the unpacked font asset, which the page then keeps for
// KestranPageTakeFont, or with 0 when it could not be had (the page says why).
EM_ASYNC_JS(int, KestranPageFetchFont, (), { return await Module.kestranPage.fetchFont(); });

EM_JS(void, KestranPageTakeFont, (uint8_t * out), { Module.kestranPage.takeFont(out); });

EM_ASYNC_JS(int, KestranPageMountDrives, (const char* root),
            { return await Module.kestranPage.mountDrives(UTF8ToString(root), FS, IDBFS); });

EM_ASYNC_JS(int, KestranPagePersist, (), { return await Module.kestranPage.persist(); });

EM_JS(double, KestranPageSeed, (), { return Module.kestranPage.seed(); });

EM_JS(void, KestranPageEnded, (int status), { Module.kestranPage.ended(status); });

namespace kestran::platform::web {

bool FetchFontAsset(std::string& bytes) {
    const int size = KestranPageFetchFont();
    if (size <= 0) return false;
    bytes.assign(size_t(size), '\0');
    KestranPageTakeFont(reinterpret_cast<uint8_t*>(bytes.data()));
    return true;
}

bool MountDrives() {
    return KestranPageMountDrives(kDrivesRoot) != 0;
}

bool PersistDrives() {
    return KestranPagePersist() != 0;
}

std::optional<uint32_t> PageSeed() {
    const double seed = KestranPageSeed();
    if (seed < 0 || seed > 4294967295.0) return std::nullopt;
    return uint32_t(seed);
}

void TellGameEnded(int status) {
    KestranPageEnded(status);
}

}  // namespace kestran::platform::web
