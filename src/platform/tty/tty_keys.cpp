#include "platform/tty/tty_keys.h"

#include <charconv>
#include <string>

namespace kestran::platform::tty {

namespace {

constexpr uint8_t kEnter = 13;
constexpr uint8_t kBackspace = 8;
constexpr uint8_t kTab = 9;

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
    } else {
        s += char(0xF0 | (c >> 18));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
    }
    s += char(0x80 | (c & 0x3F));
    return s;
}

struct NamedKey {
    std::string_view name;
    Key key;
    bool shift;
};

// The curses names of the keys the program knows; the keypad's corners and centre are its
// cursor keys with Num Lock off.
constexpr NamedKey kCursesKeys[] = {
    {"KEY_UP", Key::Up, false},
    {"KEY_DOWN", Key::Down, false},
    {"KEY_LEFT", Key::Left, false},
    {"KEY_RIGHT", Key::Right, false},
    {"KEY_HOME", Key::Home, false},
    {"KEY_END", Key::End, false},
    {"KEY_PPAGE", Key::PageUp, false},
    {"KEY_NPAGE", Key::PageDown, false},
    {"KEY_IC", Key::Insert, false},
    {"KEY_DC", Key::Delete, false},
    {"KEY_CLEAR", Key::Clear, false},
    {"KEY_B2", Key::Clear, false},
    {"KEY_A1", Key::Home, false},
    {"KEY_A3", Key::PageUp, false},
    {"KEY_C1", Key::End, false},
    {"KEY_C3", Key::PageDown, false},
    {"KEY_SR", Key::Up, true},
    {"KEY_SF", Key::Down, true},
    {"KEY_SLEFT", Key::Left, true},
    {"KEY_SRIGHT", Key::Right, true},
    {"KEY_SHOME", Key::Home, true},
    {"KEY_SEND", Key::End, true},
    {"KEY_SPREVIOUS", Key::PageUp, true},
    {"KEY_SNEXT", Key::PageDown, true},
    {"KEY_SIC", Key::Insert, true},
    {"KEY_SDC", Key::Delete, true},
};

// The extended (user-defined) names of modified keys; the digit after them is 1 + the
// modifiers (1 Shift, 2 Alt, 4 Ctrl).
constexpr NamedKey kExtendedKeys[] = {
    {"kUP", Key::Up, false},      {"kDN", Key::Down, false},      {"kLFT", Key::Left, false},
    {"kRIT", Key::Right, false},  {"kHOM", Key::Home, false},     {"kEND", Key::End, false},
    {"kPRV", Key::PageUp, false}, {"kNXT", Key::PageDown, false}, {"kIC", Key::Insert, false},
    {"kDC", Key::Delete, false},
};

constexpr int kShiftBit = 1;
constexpr int kCtrlBit = 4;

std::optional<int> Number(std::string_view digits) {
    int n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return n;
}

// "KEY_F(n)": xterm numbers Shift+F1 as F13, Ctrl+F1 as F25, Ctrl+Shift+F1 as F37, Alt+F1 as F49.
std::optional<Event> FunctionKey(std::string_view name) {
    constexpr std::string_view kPrefix = "KEY_F(";
    if (!name.starts_with(kPrefix) || !name.ends_with(')')) return std::nullopt;
    const auto n = Number(name.substr(kPrefix.size(), name.size() - kPrefix.size() - 1));
    if (!n || *n < 1 || *n > 60) return std::nullopt;
    const int group = (*n - 1) / 12;
    const auto key = Key(int(Key::F1) + (*n - 1) % 12);
    return Event::KeyDown(key, group == 1 || group == 3, group == 2 || group == 3);
}

std::optional<Event> ExtendedKey(std::string_view name) {
    for (const auto& k : kExtendedKeys) {
        if (!name.starts_with(k.name)) continue;
        const std::string_view digits = name.substr(k.name.size());
        if (digits.empty()) return Event::KeyDown(k.key, true);
        const auto n = Number(digits);
        if (!n || *n < 2 || *n > 16) return std::nullopt;
        const int modifiers = *n - 1;
        return Event::KeyDown(k.key, (modifiers & kShiftBit) != 0, (modifiers & kCtrlBit) != 0);
    }
    return std::nullopt;
}

}  // namespace

std::optional<Event> DecodeCharacter(char32_t c) {
    if (c == U'\r' || c == U'\n') return Event::Character(kEnter);
    if (c == 0x7F || c == U'\b') return Event::Character(kBackspace);
    if (c < 0x80) return Event::Character(uint8_t(c));
    if (c < 0xA0 || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) return std::nullopt;
    return Event::Text(Utf8(c));
}

std::optional<Event> DecodeKeyName(std::string_view name) {
    for (const auto& k : kCursesKeys) {
        if (k.name == name) return Event::KeyDown(k.key, k.shift);
    }
    if (name == "KEY_BACKSPACE") return Event::Character(kBackspace);
    if (name == "KEY_ENTER") return Event::Character(kEnter);
    if (name == "KEY_BTAB") return Event::Character(kTab);
    if (auto f = FunctionKey(name)) return f;
    return ExtendedKey(name);
}

}  // namespace kestran::platform::tty
