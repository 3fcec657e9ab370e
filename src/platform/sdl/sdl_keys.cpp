#include "platform/sdl/sdl_keys.h"

#include <cstdint>

namespace kestran::platform::sdl {

namespace {

struct NamedKey {
    SDL_Keycode code;
    Key key;
};

constexpr NamedKey kNamedKeys[] = {
    {SDLK_LEFT, Key::Left},     {SDLK_UP, Key::Up},         {SDLK_RIGHT, Key::Right},   {SDLK_DOWN, Key::Down},
    {SDLK_HOME, Key::Home},     {SDLK_END, Key::End},       {SDLK_PAGEUP, Key::PageUp}, {SDLK_PAGEDOWN, Key::PageDown},
    {SDLK_INSERT, Key::Insert}, {SDLK_DELETE, Key::Delete}, {SDLK_CLEAR, Key::Clear},   {SDLK_EXECUTE, Key::Execute},
    {SDLK_F1, Key::F1},         {SDLK_F2, Key::F2},         {SDLK_F3, Key::F3},         {SDLK_F4, Key::F4},
    {SDLK_F5, Key::F5},         {SDLK_F6, Key::F6},         {SDLK_F7, Key::F7},         {SDLK_F8, Key::F8},
    {SDLK_F9, Key::F9},         {SDLK_F10, Key::F10},       {SDLK_F11, Key::F11},       {SDLK_F12, Key::F12},
    {SDLK_LSHIFT, Key::Shift},  {SDLK_RSHIFT, Key::Shift},  {SDLK_LCTRL, Key::Ctrl},    {SDLK_RCTRL, Key::Ctrl},
};

// The keypad's second meaning when Num Lock is off.
constexpr NamedKey kKeypadKeys[] = {
    {SDLK_KP_8, Key::Up},     {SDLK_KP_2, Key::Down},        {SDLK_KP_4, Key::Left},   {SDLK_KP_6, Key::Right},
    {SDLK_KP_7, Key::Home},   {SDLK_KP_1, Key::End},         {SDLK_KP_9, Key::PageUp}, {SDLK_KP_3, Key::PageDown},
    {SDLK_KP_0, Key::Insert}, {SDLK_KP_PERIOD, Key::Delete}, {SDLK_KP_5, Key::Clear},
};

// Printable keys of the keypad with Num Lock on.
struct KeypadChar {
    SDL_Keycode code;
    char c;
};
constexpr KeypadChar kKeypadChars[] = {
    {SDLK_KP_0, '0'},      {SDLK_KP_1, '1'},      {SDLK_KP_2, '2'},        {SDLK_KP_3, '3'},     {SDLK_KP_4, '4'},
    {SDLK_KP_5, '5'},      {SDLK_KP_6, '6'},      {SDLK_KP_7, '7'},        {SDLK_KP_8, '8'},     {SDLK_KP_9, '9'},
    {SDLK_KP_PERIOD, '.'}, {SDLK_KP_DIVIDE, '/'}, {SDLK_KP_MULTIPLY, '*'}, {SDLK_KP_MINUS, '-'}, {SDLK_KP_PLUS, '+'},
};

// Shifted symbols of the US layout: the key codes SDL gives are the unshifted characters.
constexpr char kUnshifted[] = "`1234567890-=[]\\;',./";
constexpr char kShifted[] = "~!@#$%^&*()_+{}|:\"<>?";

std::optional<Key> NamedKeyOf(const SDL_Keysym& key) {
    for (const auto& k : kNamedKeys) {
        if (k.code == key.sym) return k.key;
    }
    if ((key.mod & KMOD_NUM) == 0) {
        for (const auto& k : kKeypadKeys) {
            if (k.code == key.sym) return k.key;
        }
    }
    return std::nullopt;
}

std::optional<uint8_t> ControlCharacter(const SDL_Keysym& key) {
    switch (key.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_ESCAPE:
            return 27;
        default:
            break;
    }
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool alt = (key.mod & KMOD_ALT) != 0;
    if (ctrl && !alt && key.sym >= SDLK_a && key.sym <= SDLK_z) return static_cast<uint8_t>(key.sym - SDLK_a + 1);
    return std::nullopt;
}

std::optional<uint8_t> PrintableCharacter(const SDL_Keysym& key) {
    if ((key.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) != 0) return std::nullopt;
    if ((key.mod & KMOD_NUM) != 0) {
        for (const auto& k : kKeypadChars) {
            if (k.code == key.sym) return static_cast<uint8_t>(k.c);
        }
    }
    if (key.sym < 32 || key.sym > 126) return std::nullopt;
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    auto c = static_cast<char>(key.sym);
    if (c >= 'a' && c <= 'z') {
        const bool upper = shift != ((key.mod & KMOD_CAPS) != 0);
        return static_cast<uint8_t>(upper ? c - 'a' + 'A' : c);
    }
    if (shift) {
        for (std::size_t i = 0; kUnshifted[i] != '\0'; ++i) {
            if (kUnshifted[i] == c) return static_cast<uint8_t>(kShifted[i]);
        }
    }
    return static_cast<uint8_t>(c);
}

}  // namespace

WindowCommand CommandOfKey(const SDL_Keysym& key) {
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    const bool alt = (key.mod & KMOD_ALT) != 0;
    if (key.sym == SDLK_F11) return WindowCommand::ToggleFullscreen;
    if (alt && (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER)) return WindowCommand::ToggleFullscreen;
    if (ctrl && shift && key.sym == SDLK_c) return WindowCommand::CopyText;
    if (ctrl && shift && key.sym == SDLK_s) return WindowCommand::SaveScreenshot;
    if (key.sym == SDLK_PRINTSCREEN) return WindowCommand::SaveScreenshot;
    return WindowCommand::None;
}

std::optional<Event> TranslateKeyDown(const SDL_Keysym& key, bool printableAsCharacter) {
    if (auto named = NamedKeyOf(key)) {
        return Event::KeyDown(*named, (key.mod & KMOD_SHIFT) != 0, (key.mod & KMOD_CTRL) != 0);
    }
    if (auto control = ControlCharacter(key)) return Event::Character(*control);
    if (!printableAsCharacter) return std::nullopt;
    if (auto printable = PrintableCharacter(key)) return Event::Character(*printable);
    return std::nullopt;
}

std::optional<Event> TranslateKeyUp(const SDL_Keysym& key) {
    if (auto named = NamedKeyOf(key)) return Event::KeyUp(*named);
    return std::nullopt;
}

}  // namespace kestran::platform::sdl
