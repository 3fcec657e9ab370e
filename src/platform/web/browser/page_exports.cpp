// The functions the page calls: its key, text and focus events for the open window, the screen's
// text, and the save files its buttons carry in and out of the drive folders. The page calls
// them only while the program waits (JavaScript runs only then), so they never meet the program
// halfway through a statement.
#include <emscripten.h>

#include <cstdint>
#include <string>

#include "platform/drives.h"
#include "platform/watching.h"
#include "platform/web/browser/browser_window.h"
#include "platform/web/browser/page_bridge.h"
#include "platform/web/persisting_file_system.h"
#include "platform/web/save_transfer.h"
#include "platform/web/web_keys.h"

namespace {

using kestran::platform::Event;
using kestran::platform::web::BrowserWindow;
using kestran::platform::web::DomKey;
using kestran::platform::web::PageCommand;

// The modifier bits of the page's key events.
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;
constexpr int kMeta = 8;

// What a key press was, for the page: left to the browser, taken by the program, or a command
// the page carries out.
enum KeyResult : int { kLeftToBrowser = 0, kTaken = 1, kFullscreen = 2, kCopyText = 3, kScreenshot = 4 };

DomKey MakeKey(const char* key, const char* code, int modifiers) {
    return DomKey{key,
                  code,
                  (modifiers & kShift) != 0,
                  (modifiers & kCtrl) != 0,
                  (modifiers & kAlt) != 0,
                  (modifiers & kMeta) != 0};
}

// The page's transfers work on the drive folders without persisting them: the page persists
// after a change itself (a call from the page cannot wait), and asks for an undo when the
// browser refuses it.
kestran::platform::web::SaveTransfer& Transfer() {
    static kestran::platform::web::PersistingFileSystem files(kestran::platform::SystemFileSystem(), [] { return 0; });
    static kestran::platform::DriveMap drives(kestran::platform::web::kDrivesRoot, &files);
    static kestran::platform::web::SaveTransfer transfer(drives);
    return transfer;
}

kestran::platform::Utf8CharToSjis keyScriptEncoder;

struct TransferOutcome {
    std::string bytes;
    std::string message;
};
TransferOutcome lastTransfer;

int Report(const kestran::platform::web::TransferResult& result) {
    lastTransfer.message = result.message;
    return result.ok() ? 1 : 0;
}

}  // namespace

namespace kestran::platform::web {

void SetKeyScriptEncoder(Utf8CharToSjis encode) {
    keyScriptEncoder = std::move(encode);
}

}  // namespace kestran::platform::web

extern "C" {

EMSCRIPTEN_KEEPALIVE int kestran_key_down(const char* key, const char* code, int modifiers) {
    BrowserWindow* window = BrowserWindow::Open();
    if (!window) return kLeftToBrowser;
    const DomKey dom = MakeKey(key, code, modifiers);
    switch (kestran::platform::web::CommandOfDomKey(dom)) {
        case PageCommand::ToggleFullscreen:
            return kFullscreen;
        case PageCommand::CopyText:
            return kCopyText;
        case PageCommand::SaveScreenshot:
            return kScreenshot;
        case PageCommand::None:
            break;
    }
    auto event = kestran::platform::web::TranslateDomKeyDown(dom);
    if (!event) return kLeftToBrowser;
    window->Queue(std::move(*event));
    return kTaken;
}

EMSCRIPTEN_KEEPALIVE int kestran_key_up(const char* key, const char* code, int modifiers) {
    BrowserWindow* window = BrowserWindow::Open();
    if (!window) return kLeftToBrowser;
    auto event = kestran::platform::web::TranslateDomKeyUp(MakeKey(key, code, modifiers));
    if (!event) return kLeftToBrowser;
    window->Queue(std::move(*event));
    return kTaken;
}

// The keys of `script` in key-script notation ("N", "{Enter}", "{Up}"), as the page's on-screen
// keys and recordings give them, each as the headless window types it. The number of keys
// queued: 0 for a script that cannot be read (nothing is queued then) or no open window.
EMSCRIPTEN_KEEPALIVE int kestran_press(const char* script) {
    BrowserWindow* window = BrowserWindow::Open();
    if (!window) return 0;
    kestran::platform::KeyScript keys;
    std::string error;
    if (!kestran::platform::ParseKeyScript(script, false, keyScriptEncoder, keys, error)) return 0;
    for (auto& key : keys.keys)
        window->Queue(std::move(key));
    return int(keys.keys.size());
}

// Text the page got without a key press the program took: an input method's result, a dead
// key's character, a phone keyboard's. Where the game reads single keys, the full-width letters
// and digits a Japanese keyboard commits stand for their keys.
EMSCRIPTEN_KEEPALIVE void kestran_text(const char* utf8) {
    BrowserWindow* window = BrowserWindow::Open();
    if (!window || !*utf8) return;
    window->Queue(
        Event::Text(window->TextInputOn() ? std::string(utf8) : kestran::platform::web::FoldFullWidthAscii(utf8)));
}

EMSCRIPTEN_KEEPALIVE void kestran_focus(int gained) {
    if (BrowserWindow* window = BrowserWindow::Open()) {
        window->Queue(Event::Of(gained ? Event::Kind::FocusGained : Event::Kind::FocusLost));
    }
}

// The screen's text as UTF-8, valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* kestran_screen_text() {
    static std::string text;
    BrowserWindow* window = BrowserWindow::Open();
    text = window ? window->ScreenText() : std::string();
    return text.c_str();
}

// The recording of the session as a key script, valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* kestran_recording() {
    static std::string text;
    text = kestran::platform::web::SessionRecording().str();
    return text.c_str();
}

// Why `script` (a file the player opened) cannot be watched; empty when it can.
EMSCRIPTEN_KEEPALIVE const char* kestran_recording_problem(const char* script) {
    static std::string problem;
    kestran::platform::KeyScript keys;
    problem.clear();
    kestran::platform::ParseRecording(script, keyScriptEncoder, keys, problem);
    return problem.c_str();
}

// 1 when the file `name` of drive `letter` was read (kestran_transfer_data and _size give it),
// 0 when not (kestran_transfer_message says why).
EMSCRIPTEN_KEEPALIVE int kestran_fetch_save(int letter, const char* name) {
    lastTransfer.bytes.clear();
    return Report(Transfer().Fetch(char(letter), name, lastTransfer.bytes));
}

// 1 when `size` bytes at `bytes` became the file `name` of drive `letter`, 0 when nothing changed
// (kestran_transfer_message says why).
EMSCRIPTEN_KEEPALIVE int kestran_place_save(int letter, const char* name, const uint8_t* bytes, int size) {
    const std::string_view data(reinterpret_cast<const char*>(bytes), size > 0 ? size_t(size) : 0);
    return Report(Transfer().Place(char(letter), name, data));
}

// Puts back what the last kestran_place_save changed; 1 when it did.
EMSCRIPTEN_KEEPALIVE int kestran_undo_place() {
    return Transfer().Undo() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* kestran_transfer_data() {
    return lastTransfer.bytes.data();
}

EMSCRIPTEN_KEEPALIVE int kestran_transfer_size() {
    return int(lastTransfer.bytes.size());
}

EMSCRIPTEN_KEEPALIVE const char* kestran_transfer_message() {
    return lastTransfer.message.c_str();
}

}  // extern "C"
