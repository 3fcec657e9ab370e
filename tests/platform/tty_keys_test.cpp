// The terminal's keys as the program's events.
#if KESTRAN_HAVE_TTY
#include "platform/tty/tty_keys.h"

#include <gtest/gtest.h>

namespace kestran::platform::tty {
namespace {

using Kind = Event::Kind;

uint8_t ByteOf(char32_t c) {
    const auto e = DecodeCharacter(c);
    EXPECT_TRUE(e && e->kind == Kind::Character) << uint32_t(c);
    return e ? e->byte : 0;
}

TEST(TtyKeysTest, ControlKeysAreTheirBytes) {
    EXPECT_EQ(ByteOf(U'\r'), 13);
    EXPECT_EQ(ByteOf(U'\n'), 13);  // terminals that send Enter as a line feed
    EXPECT_EQ(ByteOf(0x7F), 8);    // Backspace as most terminals send it
    EXPECT_EQ(ByteOf(U'\b'), 8);
    EXPECT_EQ(ByteOf(3), 3);  // Ctrl+C: the break
    EXPECT_EQ(ByteOf(5), 5);
    EXPECT_EQ(ByteOf(24), 24);
    EXPECT_EQ(ByteOf(27), 27);
    EXPECT_EQ(ByteOf(U'\t'), 9);
    EXPECT_EQ(ByteOf(U'n'), 'n');
    EXPECT_EQ(ByteOf(U'~'), '~');
}

TEST(TtyKeysTest, TextBeyondAsciiIsUtf8AndNonCharactersAreDropped) {
    const auto a = DecodeCharacter(0x3042);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, Kind::Text);
    EXPECT_EQ(a->text, "あ");
    EXPECT_EQ(DecodeCharacter(0xFF71)->text, "ｱ");
    EXPECT_EQ(DecodeCharacter(0xE9)->text, "é");
    EXPECT_EQ(DecodeCharacter(0x1F600)->text, "\xF0\x9F\x98\x80");  // the console refuses it
    EXPECT_FALSE(DecodeCharacter(0x85));
    EXPECT_FALSE(DecodeCharacter(0xD800));
    EXPECT_FALSE(DecodeCharacter(0x110000));
}

void ExpectKey(std::string_view name, Key key, bool shift = false, bool ctrl = false) {
    const auto e = DecodeKeyName(name);
    ASSERT_TRUE(e) << name;
    EXPECT_EQ(e->kind, Kind::KeyDown) << name;
    EXPECT_EQ(e->key, key) << name;
    EXPECT_EQ(e->shift, shift) << name;
    EXPECT_EQ(e->ctrl, ctrl) << name;
}

TEST(TtyKeysTest, CursesKeysAreTheNamedKeys) {
    ExpectKey("KEY_UP", Key::Up);
    ExpectKey("KEY_DOWN", Key::Down);
    ExpectKey("KEY_LEFT", Key::Left);
    ExpectKey("KEY_RIGHT", Key::Right);
    ExpectKey("KEY_HOME", Key::Home);
    ExpectKey("KEY_END", Key::End);
    ExpectKey("KEY_PPAGE", Key::PageUp);
    ExpectKey("KEY_NPAGE", Key::PageDown);
    ExpectKey("KEY_IC", Key::Insert);
    ExpectKey("KEY_DC", Key::Delete);
    ExpectKey("KEY_B2", Key::Clear);
    ExpectKey("KEY_A1", Key::Home);
    ExpectKey("KEY_C3", Key::PageDown);
    ExpectKey("KEY_SHOME", Key::Home, true);
    ExpectKey("KEY_SLEFT", Key::Left, true);
    ExpectKey("KEY_SR", Key::Up, true);
}

TEST(TtyKeysTest, FunctionKeysWithTheirModifiers) {
    ExpectKey("KEY_F(1)", Key::F1);
    ExpectKey("KEY_F(12)", Key::F12);
    ExpectKey("KEY_F(13)", Key::F1, true);
    ExpectKey("KEY_F(26)", Key::F2, false, true);
    ExpectKey("KEY_F(48)", Key::F12, true, true);
    ExpectKey("KEY_F(49)", Key::F1);  // Alt adds nothing
    EXPECT_FALSE(DecodeKeyName("KEY_F(0)"));
    EXPECT_FALSE(DecodeKeyName("KEY_F(61)"));
    EXPECT_FALSE(DecodeKeyName("KEY_F(1x)"));
    EXPECT_FALSE(DecodeKeyName("KEY_F("));
}

TEST(TtyKeysTest, ExtendedNamesCarryTheirModifiers) {
    ExpectKey("kUP", Key::Up, true);
    ExpectKey("kUP5", Key::Up, false, true);
    ExpectKey("kLFT6", Key::Left, true, true);
    ExpectKey("kRIT3", Key::Right);
    ExpectKey("kDC", Key::Delete, true);
    ExpectKey("kNXT5", Key::PageDown, false, true);
    EXPECT_FALSE(DecodeKeyName("kUP1"));
    EXPECT_FALSE(DecodeKeyName("kUP99"));
    EXPECT_FALSE(DecodeKeyName("kUPx"));
    EXPECT_FALSE(DecodeKeyName("kpADD"));
}

TEST(TtyKeysTest, EditingKeysAreCharactersAndOthersAreNothing) {
    EXPECT_EQ(DecodeKeyName("KEY_BACKSPACE")->byte, 8);
    EXPECT_EQ(DecodeKeyName("KEY_ENTER")->byte, 13);
    EXPECT_EQ(DecodeKeyName("KEY_BTAB")->byte, 9);
    EXPECT_FALSE(DecodeKeyName("KEY_MOUSE"));
    EXPECT_FALSE(DecodeKeyName("KEY_RESIZE"));
    EXPECT_FALSE(DecodeKeyName(""));
}

}  // namespace
}  // namespace kestran::platform::tty
#endif
