#include "platform/recording.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

namespace kestran::platform {

namespace {

struct NamedKey {
    std::string_view name;
    Event event;
};

const std::vector<NamedKey>& NamedKeys() {
    static const std::vector<NamedKey> keys = [] {
        std::vector<NamedKey> k = {
            {"Enter", Event::Character(13)},
            {"Esc", Event::Character(27)},
            {"BS", Event::Character(8)},
            {"Tab", Event::Character(9)},
            {"Ctrl-C", Event::Character(3)},
            {"Del", Event::KeyDown(Key::Delete)},
            {"Ins", Event::KeyDown(Key::Insert)},
            {"Up", Event::KeyDown(Key::Up)},
            {"Down", Event::KeyDown(Key::Down)},
            {"Left", Event::KeyDown(Key::Left)},
            {"Right", Event::KeyDown(Key::Right)},
            {"Home", Event::KeyDown(Key::Home)},
            {"End", Event::KeyDown(Key::End)},
            {"PgUp", Event::KeyDown(Key::PageUp)},
            {"PgDn", Event::KeyDown(Key::PageDown)},
            {"Close", Event::Of(Event::Kind::Close)},
        };
        static const char* const kFunctionNames[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                     "F7", "F8", "F9", "F10", "F11", "F12"};
        for (int n = 0; n < 12; ++n)
            k.push_back({kFunctionNames[n], Event::KeyDown(Key(int(Key::F1) + n))});
        return k;
    }();
    return keys;
}

bool SameKey(const Event& a, const Event& b) {
    if (a.kind != b.kind) return false;
    if (a.kind == Event::Kind::Character) return a.byte == b.byte;
    if (a.kind == Event::Kind::KeyDown) return a.key == b.key;
    return a.kind == Event::Kind::Close;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The event of a name in braces, or false.
bool LookUpName(std::string_view name, Event& event) {
    if (name.size() == 3 && (name[0] == 'x' || name[0] == 'X')) {
        uint8_t byte = 0;
        const auto [end, ec] = std::from_chars(name.data() + 1, name.data() + 3, byte, 16);
        if (ec != std::errc() || end != name.data() + 3) return false;
        event = Event::Character(byte);
        return true;
    }
    for (const auto& k : NamedKeys()) {
        if (EqualsIgnoringCase(k.name, name)) {
            event = k.event;
            return true;
        }
    }
    return false;
}

size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// A comment line of a key file; "#seed N" sets the seed, "#language LANG" the language.
void ReadComment(std::string_view line, KeyScript& out) {
    constexpr std::string_view kSeed = "#seed ";
    constexpr std::string_view kLanguage = "#language ";
    if (line.substr(0, kLanguage.size()) == kLanguage) {
        out.language = std::string(line.substr(kLanguage.size(), 8));
        while (!out.language.empty() && (out.language.back() == ' ' || out.language.back() == '\r'))
            out.language.pop_back();
        return;
    }
    if (line.substr(0, kSeed.size()) != kSeed) return;
    uint64_t value = 0;
    size_t digits = 0;
    for (char c : line.substr(kSeed.size())) {
        if (c < '0' || c > '9' || value > 0xFFFFFFFFu) break;
        value = value * 10 + uint64_t(c - '0');
        ++digits;
    }
    if (digits > 0 && value <= 0xFFFFFFFFu) out.seed = uint32_t(value);
}

// "{name}". Built by appending: GCC 12 misreads `"{" + std::string(...)` at -O2 (-Wrestrict).
std::string Braced(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    out += '{';
    out += name;
    out += '}';
    return out;
}

std::string HexByte(uint8_t b) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "x%02X", b);
    return buf;
}

}  // namespace

bool ParseKeyScript(std::string_view text, bool isFile, const Utf8CharToSjis& encode, KeyScript& out,
                    std::string& error) {
    int line = 1;
    bool lineStart = true;
    auto fail = [&](const std::string& what) {
        error = "key script, line " + std::to_string(line) + ": " + what;
        return false;
    };
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            if (c == '\n') ++line;
            lineStart = true;
            ++i;
            continue;
        }
        if (lineStart && isFile && c == '#') {
            const size_t end = text.find('\n', i);
            std::string_view comment = text.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
            if (!comment.empty() && comment.back() == '\r') comment.remove_suffix(1);
            ReadComment(comment, out);
            i += comment.size();
            continue;
        }
        lineStart = false;
        if (c == '{') {
            if (i + 1 < text.size() && text[i + 1] == '{') {
                out.keys.push_back(Event::Character('{'));
                i += 2;
                continue;
            }
            // The name ends at the first '}' of its line (looked for up to that brace only, so
            // a long line is not read again for each of its braces).
            const size_t close = text.find('}', i);
            if (close == std::string_view::npos ||
                text.substr(i, close - i).find_first_of("\r\n") != std::string_view::npos) {
                return fail("a '{' without its '}'");
            }
            const std::string_view name = text.substr(i + 1, close - i - 1);
            Event event;
            if (!LookUpName(name, event)) return fail("unknown key name " + Braced(name));
            out.keys.push_back(event);
            i = close + 1;
            continue;
        }
        const size_t len = Utf8Length(static_cast<unsigned char>(c));
        if (len == 1) {
            out.keys.push_back(Event::Character(uint8_t(c)));
            ++i;
            continue;
        }
        std::string sjis;
        if (len == 0 || i + len > text.size() || !encode || !encode(text.substr(i, len), sjis) || sjis.empty()) {
            return fail("text that is not UTF-8 or has no Shift-JIS form");
        }
        for (char b : sjis)
            out.keys.push_back(Event::Character(uint8_t(b)));
        i += len;
    }
    return true;
}

std::string KeyNotation(const Event& event) {
    for (const auto& k : NamedKeys()) {
        if (SameKey(k.event, event)) return Braced(k.name);
    }
    if (event.kind != Event::Kind::Character) return {};
    if (event.byte == '{') return "{{";
    if (event.byte >= 0x20 && event.byte < 0x7F) return std::string(1, char(event.byte));
    return Braced(HexByte(event.byte));
}

RecordingWindow::RecordingWindow(Window& inner, std::ostream& out, uint32_t seed, Utf8CharToSjis encode,
                                 std::string_view language)
    : WindowDecorator(inner), out_(out), encode_(std::move(encode)) {
    out_ << "#seed " << seed << "\n";
    if (!language.empty()) out_ << "#language " << language << "\n";
    out_.flush();
}

void WriteTraceEntry(std::ostream& out, int wait, const Event& key, const std::array<std::string, kTextRows>& rows,
                     const std::string* accessibleText) {
    out << "@@ " << wait << ' ' << KeyNotation(key) << '\n';
    for (const auto& row : rows)
        out << row << '\n';
    if (!accessibleText || accessibleText->empty()) return;
    std::string line = *accessibleText;
    std::replace(line.begin(), line.end(), '\n', ' ');
    out << "@@ TEXT " << line << '\n';
}

std::string RecordedNotation(const Event& event, bool& shiftHeld, const Utf8CharToSjis& encode) {
    std::string notation;
    switch (event.kind) {
        case Event::Kind::KeyDown:
            if (event.key == Key::Shift) shiftHeld = true;
            if (event.key == Key::Clear || (event.key == Key::Home && (event.shift || shiftHeld))) {
                notation = "{x0C}";  // both type the code of Shift+Home
            } else if (event.key == Key::Execute) {
                notation = "{x0D}";
            } else {
                notation = KeyNotation(event);
            }
            break;
        case Event::Kind::KeyUp:
            if (event.key == Key::Shift) shiftHeld = false;
            break;
        case Event::Kind::Character:
            // A '#' could start a comment line in the file.
            notation = event.byte == '#' ? "{x23}" : KeyNotation(event);
            if (event.byte == 13) notation += "\n";
            break;
        case Event::Kind::Text:
            // Typed text is written as it stands where the console takes it: ASCII as keys,
            // other characters when they have a Shift-JIS form (the console refuses the rest).
            for (size_t i = 0; i < event.text.size();) {
                const size_t len = std::max<size_t>(1, Utf8Length(static_cast<unsigned char>(event.text[i])));
                const std::string_view ch = std::string_view(event.text).substr(i, len);
                std::string sjis;
                if (len == 1) {
                    notation += ch[0] == '#' ? "{x23}" : KeyNotation(Event::Character(uint8_t(ch[0])));
                } else if (encode && encode(ch, sjis)) {
                    notation += ch;
                }
                i += len;
            }
            break;
        default:
            break;
    }
    return notation;
}

void RecordingWindow::Observe(const Event& event) {
    const std::string notation = RecordedNotation(event, shift_, encode_);
    if (notation.empty()) return;
    out_ << notation;
    out_.flush();
}

}  // namespace kestran::platform
