// Fuzz target: the line input fed any keys. The first byte picks the prompt kind, the start
// column and row and whether letters are refused; every further byte is one event: a typed byte,
// a named key, text from the input method, or the window's focus and repaint. The field comes back
// no longer than a line, the cursor stays on the screen, and the program stops only
// by Ctrl+X or the keys running out, never by a fatal error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_game_support.h"
#include "runtime/console/line_editor.h"
#include "runtime/console/screen.h"
#include "runtime/frame/statement.h"
#include "runtime/values/sjis_literal.h"

namespace {

using kestran::platform::Event;
using kestran::platform::Key;

// One event per byte. The bytes 0xE0..0xFF name keys and text; the others are typed as they are
// (control bytes, Shift-JIS lead and trail bytes included).
void AddEvent(kestran::fuzz::ScriptWindow& w, uint8_t b) {
    static constexpr Key kKeys[] = {Key::Left, Key::Right, Key::Home, Key::End,   Key::Insert, Key::Delete, Key::Up,
                                    Key::Down, Key::Clear, Key::F1,   Key::Shift, Key::Ctrl,   Key::PageUp, Key::Other};
    static constexpr std::string_view kTexts[] = {"あ", "漢字", "ｱｲ", "a,b", "\"q\":", "𠀋", "ﾟ", "abcdefghijklmnop"};
    if (b < 0xE0) {
        w.events.push_back(Event::Character(b));
        return;
    }
    const unsigned k = b - 0xE0u;
    if (k < std::size(kKeys)) {
        w.events.push_back(Event::KeyDown(kKeys[k], k % 3 == 1, k % 4 == 2));
        w.events.push_back(Event::KeyUp(kKeys[k]));
    } else if (k - std::size(kKeys) < std::size(kTexts)) {
        w.events.push_back(Event::Text(std::string(kTexts[k - std::size(kKeys)])));
    } else {
        static constexpr Event::Kind kOthers[] = {Event::Kind::Expose, Event::Kind::FocusLost,
                                                  Event::Kind::FocusGained};
        w.events.push_back(Event::Of(kOthers[k % std::size(kOthers)]));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace kestran;
    if (size == 0) return 0;
    auto& run = fuzz::Session::Start({});
    for (std::size_t i = 1; i < size; ++i)
        AddEvent(run.window, data[i]);
    const int kind = data[0] % 3;
    const int column = std::min((data[0] >> 2) % 4 * 27, 79);  // 0, 27, 54, 79
    const int row = (data[0] >> 4) % 4 * 8;                    // 0, 8, 16, 24: the last row scrolls
    const std::string_view refused = data[0] & 0x80 ? "abcXYZ" : "";
    run.Run([&](Runtime& rt) {
        PbLocate(rt, column, std::min(row, 23));
        for (;;) {  // line after line, until the keys run out
            PbString line = PbInputLine(rt, kind, "名前"_sj, refused);
            if (line.size() > 255) std::abort();
            if (rt.console.text.cursorRow < 0 || rt.console.text.cursorRow > 23) std::abort();
            if (rt.console.text.cursorColumn < 0 || rt.console.text.cursorColumn > 79) std::abort();
        }
    });
    return 0;
}
