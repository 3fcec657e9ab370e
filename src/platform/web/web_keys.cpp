#include "platform/web/web_keys.h"

#include <cstdint>
#include <string>

namespace kestran::platform::web {

namespace {

struct NamedKey {
    std::string_view name;
    Key key;
};

// The DOM's names; the keypad with Num Lock off already reports the second meaning of its keys
// ("ArrowUp" for 8, "Clear" for 5). "Left" and the like are older browsers' spellings.
constexpr NamedKey kNamedKeys[] = {
    {"ArrowLeft", Key::Left}, {"ArrowUp", Key::Up},      {"ArrowRight", Key::Right},
    {"ArrowDown", Key::Down}, {"Left", Key::Left},       {"Up", Key::Up},
    {"Right", Key::Right},    {"Down", Key::Down},       {"Home", Key::Home},
    {"End", Key::End},        {"PageUp", Key::PageUp},   {"PageDown", Key::PageDown},
    {"Insert", Key::Insert},  {"Delete", Key::Delete},   {"Del", Key::Delete},
    {"Clear", Key::Clear},    {"Execute", Key::Execute}, {"F1", Key::F1},
    {"F2", Key::F2},          {"F3", Key::F3},           {"F4", Key::F4},
    {"F5", Key::F5},          {"F6", Key::F6},           {"F7", Key::F7},
    {"F8", Key::F8},          {"F9", Key::F9},           {"F10", Key::F10},
    {"F11", Key::F11},        {"F12", Key::F12},         {"Shift", Key::Shift},
    {"Control", Key::Ctrl},
};

std::optional<Key> NamedKeyOf(std::string_view name) {
    for (const auto& k : kNamedKeys) {
        if (k.name == name) return k.key;
    }
    return std::nullopt;
}

std::optional<uint8_t> ControlCharacter(const DomKey& key) {
    if (key.key == "Enter") return 13;
    if (key.key == "Backspace") return 8;
    if (key.key == "Tab") return 9;
    if (key.key == "Escape" || key.key == "Esc") return 27;
    if (!key.ctrl || key.alt) return std::nullopt;
    // The letter as the layout gives it; a layout without Latin letters falls back on the key's
    // place ("KeyC").
    char letter = 0;
    if (key.key.size() == 1) letter = key.key[0];
    if (!(letter >= 'a' && letter <= 'z') && !(letter >= 'A' && letter <= 'Z') && key.code.size() == 4 &&
        key.code.starts_with("Key")) {
        letter = key.code[3];
    }
    if (letter >= 'a' && letter <= 'z') return uint8_t(letter - 'a' + 1);
    if (letter >= 'A' && letter <= 'Z') return uint8_t(letter - 'A' + 1);
    return std::nullopt;
}

// The number of UTF-8 bytes of the character a lead byte starts, or 0 for no lead byte.
size_t Utf8Length(uint8_t lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

std::optional<Event> PrintableCharacter(const DomKey& key) {
    // AltGr reports Ctrl and Alt together; the character it makes is in `key`.
    const bool altGr = key.ctrl && key.alt;
    if (key.meta || ((key.ctrl || key.alt) && !altGr)) return std::nullopt;
    if (key.key.empty() || Utf8Length(uint8_t(key.key[0])) != key.key.size()) return std::nullopt;
    const auto b = uint8_t(key.key[0]);
    if (b < 0x80) {
        if (b < 0x20 || b == 0x7F) return std::nullopt;
        return Event::Character(b);
    }
    return Event::Text(std::string(key.key));
}

// The ASCII character a full-width form at `text[i]` stands for (its three UTF-8 bytes), or 0.
char FullWidthAsciiAt(std::string_view text, size_t i) {
    if (i + 3 > text.size()) return 0;
    const auto b0 = uint8_t(text[i]), b1 = uint8_t(text[i + 1]), b2 = uint8_t(text[i + 2]);
    if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) return ' ';  // U+3000
    if (b0 != 0xEF || (b1 != 0xBC && b1 != 0xBD) || b2 < 0x80 || b2 > 0xBF) return 0;
    const int codePoint = 0xF000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
    if (codePoint < 0xFF01 || codePoint > 0xFF5E) return 0;
    return char(codePoint - 0xFF01 + '!');
}

}  // namespace

std::string FoldFullWidthAscii(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        if (const char ascii = FullWidthAsciiAt(utf8, i)) {
            folded += ascii;
            i += 3;
        } else {
            folded += utf8[i++];
        }
    }
    return folded;
}

PageCommand CommandOfDomKey(const DomKey& key) {
    if (key.key == "F11") return PageCommand::ToggleFullscreen;
    if (key.alt && !key.ctrl && key.key == "Enter") return PageCommand::ToggleFullscreen;
    const bool letterC = key.code == "KeyC" || key.key == "c" || key.key == "C";
    const bool letterS = key.code == "KeyS" || key.key == "s" || key.key == "S";
    if (key.ctrl && key.shift && letterC) return PageCommand::CopyText;
    if (key.ctrl && key.shift && letterS) return PageCommand::SaveScreenshot;
    if (key.key == "PrintScreen") return PageCommand::SaveScreenshot;
    return PageCommand::None;
}

std::optional<Event> TranslateDomKeyDown(const DomKey& key) {
    if (auto named = NamedKeyOf(key.key)) return Event::KeyDown(*named, key.shift, key.ctrl);
    if (auto control = ControlCharacter(key)) return Event::Character(*control);
    return PrintableCharacter(key);
}

std::optional<Event> TranslateDomKeyUp(const DomKey& key) {
    if (auto named = NamedKeyOf(key.key)) return Event::KeyUp(*named);
    return std::nullopt;
}

}  // namespace kestran::platform::web
