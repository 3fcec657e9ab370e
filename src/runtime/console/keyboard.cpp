#include "runtime/console/keyboard.h"

#include "runtime/console/console_errors.h"
#include "runtime/frame/statement.h"
#include "runtime/runtime.h"
#include "runtime/values/cp932.h"
#include "runtime/values/error.h"
#include "runtime/values/numbers.h"

namespace kestran {

using platform::Event;
using platform::Key;

namespace {

constexpr uint8_t kCtrlC = 3;
constexpr uint8_t kDeleteKey = 4;
constexpr uint8_t kDeleteRead = 127;

// The code a key-down adds to the ring, or -1 for none.
int KeyDownCode(Key key, bool shift) {
    switch (key) {
        case Key::Clear:
            return 12;
        case Key::PageUp:
            return 19;
        case Key::PageDown:
            return 20;
        case Key::End:
            return 21;
        case Key::Home:
            return shift ? 12 : 11;
        case Key::Left:
            return 29;
        case Key::Up:
            return 30;
        case Key::Right:
            return 28;
        case Key::Down:
            return 31;
        case Key::Execute:
            return 13;
        case Key::Insert:
            return 18;
        case Key::Delete:
            return kDeleteKey;
        default:
            return -1;
    }
}

}  // namespace

void Console::PutKey(Runtime& rt, uint8_t code) {
    if (!keys.Put(code) && rt.platform.window) rt.platform.window->Beep();
}

void Console::HandleKeyDown(Runtime& rt, const Event& event) {
    if (event.key == Key::Shift) {
        keys.modifiers |= KeyBuffer::kShift;
        return;
    }
    if (event.key == Key::Ctrl) {
        keys.modifiers |= KeyBuffer::kCtrl;
        return;
    }
    if (event.key >= Key::F1 && event.key <= Key::F12) {
        const int n = int(event.key) - int(Key::F1);
        PbRaiseEvent(rt, EventTable::kFirstFunctionKey + n);
        for (char b : functionKeyTexts[size_t(n)]) {
            if (!keys.Put(uint8_t(b))) {
                if (rt.platform.window) rt.platform.window->Beep();
                break;
            }
        }
        return;
    }
    const bool shift = event.shift || (keys.modifiers & KeyBuffer::kShift) != 0;
    const int code = KeyDownCode(event.key, shift);
    if (code >= 0) PutKey(rt, uint8_t(code));
}

void Console::HandleEvent(Runtime& rt, const Event& event) {
    switch (event.kind) {
        case Event::Kind::KeyDown:
            HandleKeyDown(rt, event);
            break;
        case Event::Kind::KeyUp:
            if (event.key == Key::Shift) keys.modifiers &= uint16_t(~KeyBuffer::kShift);
            if (event.key == Key::Ctrl) keys.modifiers &= uint16_t(~KeyBuffer::kCtrl);
            break;
        case Event::Kind::Character:
            PutKey(rt, event.byte);
            if (event.byte == kCtrlC) PbRaiseEvent(rt, EventTable::kBreak);
            break;
        case Event::Kind::Text:
            // Typed text enters as its Shift-JIS bytes; a character CP932 cannot carry is
            // refused with a beep.
            for (size_t i = 0; i < event.text.size();) {
                const auto code = Cp932FromUnicode(DecodeUtf8(event.text, i));
                if (!code) {
                    if (rt.platform.window) rt.platform.window->Beep();
                    continue;
                }
                if (*code > 0xFF) PutKey(rt, uint8_t(*code >> 8));
                PutKey(rt, uint8_t(*code & 0xFF));
            }
            break;
        case Event::Kind::Expose:
            MarkAllDirty();
            break;
        case Event::Kind::FocusGained:
            text.focus = true;
            break;
        case Event::Kind::FocusLost:
            text.focus = false;
            break;
        case Event::Kind::Close:
            break;  // the waits and the statement hook end the program
    }
}

bool BreakArmed(const Runtime& rt) {
    const auto& events = rt.frame.events;
    return events.Has(EventTable::kBreak, EventTable::kEnabled) && !events.Has(EventTable::kBreak, EventTable::kRunning);
}

int WaitKey(Runtime& rt, KeyWait mode) {
    auto& console = rt.console;
    while (console.keys.Empty()) {
        auto* window = rt.platform.window;
        if (!window) return 0;
        console.Present(rt);
        Event event;
        if (!window->WaitEvent(event, -1)) continue;
        if (event.kind == Event::Kind::Close) throw ProgramEnd{rt.frame.exitCode};
        console.HandleEvent(rt, event);
    }
    const uint8_t code = *console.keys.Take();
    if (code == kCtrlC && mode == KeyWait::BreakOnCtrlC && BreakArmed(rt)) {
        rt.frame.events.Clear(EventTable::kBreak, EventTable::kPending);
        PbBreakStop(rt);
    }
    return code;
}

PbString PbInputChars(Runtime& rt, double n, std::source_location where) {
    PbStatement(rt, where);
    RequireWindow(rt, console_site::kInputChars, where);
    const int32_t count = PbToLong(n, where);
    if (count < 0) PbRaiseError(5, ErrorSite(console_site::kInputChars, 2), where);
    PbString keys;
    while (keys.size() < size_t(count)) {
        if (!rt.platform.window) return {};
        const int code = WaitKey(rt);
        if (code == kCtrlC) continue;
        keys += char(code == kDeleteKey ? kDeleteRead : code);
    }
    return keys;
}

}  // namespace kestran
