#include "platform/web/browser/page_bridge.h"

#include <emscripten.h>

#include <cstdlib>

// Resolves with the size of the unpacked font asset, which the page then keeps for
// KestranPageTakeFont, or with 0 when it could not be had (the page says why).
EM_ASYNC_JS(int, KestranPageFetchFont, (), { return await Module.kestranPage.fetchFont(); });

EM_JS(void, KestranPageTakeFont, (uint8_t * out), { Module.kestranPage.takeFont(out); });

EM_JS(void, KestranPageStartDrives, (const char* root),
      { Module.kestranPage.startDrives(UTF8ToString(root), FS, IDBFS); });

EM_ASYNC_JS(int, KestranPageAwaitDrives, (), { return await Module.kestranPage.drivesMounted(); });

EM_ASYNC_JS(int, KestranPagePersist, (), { return await Module.kestranPage.persist(); });

EM_ASYNC_JS(void, KestranPageRefresh, (), { await Module.kestranPage.refresh(); });

EM_JS(double, KestranPageSeed, (), { return Module.kestranPage.seed(); });

// The page's language as a number (1 'ja', 2 'en', 0 none), which needs no memory to cross into
// the program. Loose equality: clang-format splits the strict operator.
EM_JS(int, KestranPageLanguage, (int chosen), {
    const code = chosen ? Module.kestranPage.chosenLanguage() : Module.kestranPage.browserLanguage();
    return code == 'ja' ? 1 : code == 'en' ? 2 : 0;
});

EM_JS(void, KestranPageEnded, (int status), { Module.kestranPage.ended(status); });

// Resolves with the recording the address names, in the program's memory (freed by the caller),
// or with 0 for none.
EM_ASYNC_JS(char*, KestranPageReplay, (), {
    const text = await Module.kestranPage.replayScript();
    if (typeof text != 'string') return 0;
    const size = lengthBytesUTF8(text) + 1;
    const pointer = _malloc(size);
    stringToUTF8(text, pointer, size);
    return pointer;
});

EM_JS(void, KestranPageReplayRefused, (const char* why), { Module.kestranPage.replayRefused(UTF8ToString(why)); });

namespace kestran::platform::web {

bool FetchFontAsset(std::string& bytes) {
    const int size = KestranPageFetchFont();
    if (size <= 0) return false;
    bytes.assign(size_t(size), '\0');
    KestranPageTakeFont(reinterpret_cast<uint8_t*>(bytes.data()));
    return true;
}

void StartMountingDrives() {
    KestranPageStartDrives(kDrivesRoot);
}

bool AwaitDrives() {
    return KestranPageAwaitDrives() != 0;
}

int PersistDrives() {
    return KestranPagePersist();
}

void RefreshDrives() {
    KestranPageRefresh();
}

std::optional<uint32_t> PageSeed() {
    const double seed = KestranPageSeed();
    if (seed < 0 || seed > 4294967295.0) return std::nullopt;
    return uint32_t(seed);
}

namespace {
std::string LanguageCode(int code) {
    return code == 1 ? "ja" : code == 2 ? "en" : "";
}
}  // namespace

std::string PageChosenLanguage() {
    return LanguageCode(KestranPageLanguage(1));
}

std::string BrowserLanguage() {
    return LanguageCode(KestranPageLanguage(0));
}

std::optional<std::string> PageReplay() {
    char* text = KestranPageReplay();
    if (!text) return std::nullopt;
    std::string script(text);
    std::free(text);
    return script;
}

void TellReplayRefused(const std::string& why) {
    KestranPageReplayRefused(why.c_str());
}

std::ostringstream& SessionRecording() {
    static std::ostringstream recording;
    return recording;
}

void TellGameEnded(int status) {
    KestranPageEnded(status);
}

}  // namespace kestran::platform::web
