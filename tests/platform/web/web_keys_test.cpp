// The page's key events as the program's events: the same codes as the SDL window gives.
#include "platform/web/web_keys.h"

#include <gtest/gtest.h>

namespace kestran::platform::web {
namespace {

using Kind = Event::Kind;

DomKey Press(std::string_view key, std::string_view code = "", bool shift = false, bool ctrl = false, bool alt = false,
             bool meta = false) {
    return DomKey{key, code, shift, ctrl, alt, meta};
}

uint8_t ByteOf(const DomKey& key) {
    const auto e = TranslateDomKeyDown(key);
    EXPECT_TRUE(e && e->kind == Kind::Character) << key.key;
    return e && e->kind == Kind::Character ? e->byte : 0;
}

Key KeyOf(const DomKey& key) {
    const auto e = TranslateDomKeyDown(key);
    EXPECT_TRUE(e && e->kind == Kind::KeyDown) << key.key;
    return e && e->kind == Kind::KeyDown ? e->key : Key::Other;
}

TEST(WebKeysTest, NamedKeysGoDownAndUpWithTheirModifiers) {
    EXPECT_EQ(KeyOf(Press("ArrowLeft")), Key::Left);
    EXPECT_EQ(KeyOf(Press("ArrowUp")), Key::Up);
    EXPECT_EQ(KeyOf(Press("ArrowRight")), Key::Right);
    EXPECT_EQ(KeyOf(Press("ArrowDown")), Key::Down);
    EXPECT_EQ(KeyOf(Press("Up")), Key::Up);  // an older browser's spelling
    EXPECT_EQ(KeyOf(Press("PageDown")), Key::PageDown);
    EXPECT_EQ(KeyOf(Press("Delete")), Key::Delete);
    EXPECT_EQ(KeyOf(Press("F1")), Key::F1);
    EXPECT_EQ(KeyOf(Press("F12")), Key::F12);
    EXPECT_EQ(KeyOf(Press("Shift", "ShiftLeft", true)), Key::Shift);
    EXPECT_EQ(KeyOf(Press("Control", "ControlRight", false, true)), Key::Ctrl);
    // The keypad without Num Lock reports its second meaning.
    EXPECT_EQ(KeyOf(Press("ArrowUp", "Numpad8")), Key::Up);
    EXPECT_EQ(KeyOf(Press("Clear", "Numpad5")), Key::Clear);

    const auto home = TranslateDomKeyDown(Press("Home", "Home", true, false));
    ASSERT_TRUE(home);
    EXPECT_TRUE(home->shift);  // Shift+Home clears the screen: the console needs the Shift
    EXPECT_FALSE(home->ctrl);
    const auto up = TranslateDomKeyUp(Press("Shift", "ShiftLeft"));
    ASSERT_TRUE(up);
    EXPECT_EQ(up->kind, Kind::KeyUp);
    EXPECT_EQ(up->key, Key::Shift);
    EXPECT_FALSE(TranslateDomKeyUp(Press("a", "KeyA")));  // only named keys come up
}

TEST(WebKeysTest, EditingKeysAndCtrlLettersAreControlCharacters) {
    EXPECT_EQ(ByteOf(Press("Enter", "Enter")), 13);
    EXPECT_EQ(ByteOf(Press("Enter", "NumpadEnter")), 13);
    EXPECT_EQ(ByteOf(Press("Enter", "Enter", false, true)), 13);
    EXPECT_EQ(ByteOf(Press("Backspace")), 8);
    EXPECT_EQ(ByteOf(Press("Tab")), 9);
    EXPECT_EQ(ByteOf(Press("Escape")), 27);
    EXPECT_EQ(ByteOf(Press("c", "KeyC", false, true)), 3);  // the break
    EXPECT_EQ(ByteOf(Press("C", "KeyC", true, true)), 3);
    EXPECT_EQ(ByteOf(Press("a", "KeyA", false, true)), 1);
    EXPECT_EQ(ByteOf(Press("z", "KeyZ", false, true)), 26);
    // A layout without Latin letters: the key's place names the letter.
    EXPECT_EQ(ByteOf(Press("\xD1\x81", "KeyC", false, true)), 3);  // Cyrillic es
    EXPECT_FALSE(TranslateDomKeyDown(Press("1", "Digit1", false, true)));
}

TEST(WebKeysTest, PrintableKeysAreCharactersOrText) {
    EXPECT_EQ(ByteOf(Press("n", "KeyN")), 'n');
    EXPECT_EQ(ByteOf(Press("N", "KeyN", true)), 'N');
    EXPECT_EQ(ByteOf(Press("+", "Equal", true)), '+');
    EXPECT_EQ(ByteOf(Press(" ", "Space")), ' ');
    EXPECT_EQ(ByteOf(Press("7", "Numpad7")), '7');                         // the keypad with Num Lock on
    EXPECT_EQ(ByteOf(Press("@", "KeyQ", false, true, true)), '@');         // AltGr reports Ctrl and Alt
    const auto kana = TranslateDomKeyDown(Press("\xE3\x82\xA2", "KeyA"));  // ア on a kana layout
    ASSERT_TRUE(kana);
    EXPECT_EQ(kana->kind, Kind::Text);
    EXPECT_EQ(kana->text, "\xE3\x82\xA2");
    // Shortcuts of the browser and the desktop are theirs.
    EXPECT_FALSE(TranslateDomKeyDown(Press("a", "KeyA", false, false, true)));
    EXPECT_FALSE(TranslateDomKeyDown(Press("a", "KeyA", false, false, false, true)));
}

TEST(WebKeysTest, KeysTheProgramDoesNotFollowAreLeftToTheBrowser) {
    for (std::string_view key : {"Dead", "Process", "Unidentified", "Alt", "Meta", "CapsLock", "NumLock", "Compose",
                                 "AudioVolumeUp", "", "ab", "\xE3\x82", "\xFF", "\x7F"}) {
        EXPECT_FALSE(TranslateDomKeyDown(Press(key))) << key;
        EXPECT_EQ(CommandOfDomKey(Press(key)), PageCommand::None) << key;
    }
}

TEST(WebKeysTest, TheWindowsOwnKeysArePageCommands) {
    EXPECT_EQ(CommandOfDomKey(Press("F11", "F11")), PageCommand::ToggleFullscreen);
    EXPECT_EQ(CommandOfDomKey(Press("Enter", "Enter", false, false, true)), PageCommand::ToggleFullscreen);
    EXPECT_EQ(CommandOfDomKey(Press("C", "KeyC", true, true)), PageCommand::CopyText);
    EXPECT_EQ(CommandOfDomKey(Press("S", "KeyS", true, true)), PageCommand::SaveScreenshot);
    EXPECT_EQ(CommandOfDomKey(Press("PrintScreen", "PrintScreen")), PageCommand::SaveScreenshot);
    // Without Shift, Ctrl+C is the game's break and Ctrl+S the game's key.
    EXPECT_EQ(CommandOfDomKey(Press("c", "KeyC", false, true)), PageCommand::None);
    EXPECT_EQ(CommandOfDomKey(Press("s", "KeyS", false, true)), PageCommand::None);
    EXPECT_EQ(CommandOfDomKey(Press("Enter", "Enter")), PageCommand::None);
    EXPECT_EQ(CommandOfDomKey(Press("F10", "F10")), PageCommand::None);
}

TEST(WebKeysTest, FullWidthAsciiFoldsBackAndOtherTextStays) {
    EXPECT_EQ(FoldFullWidthAscii("ｙ"), "y");
    EXPECT_EQ(FoldFullWidthAscii("Ｎ１＋－"), "N1+-");
    EXPECT_EQ(FoldFullWidthAscii("！～"), "!~");  // the first and the last of the forms
    EXPECT_EQ(FoldFullWidthAscii("\u3000"), " ");
    // Neighbours of the range, kana (full and half width) and a cut-off form are kept.
    EXPECT_EQ(FoldFullWidthAscii("\uFF00\uFF5F\uFF61ｱタ"), "\uFF00\uFF5F\uFF61ｱタ");
    EXPECT_EQ(FoldFullWidthAscii("a\xEF\xBC"), "a\xEF\xBC");
}

}  // namespace
}  // namespace kestran::platform::web
