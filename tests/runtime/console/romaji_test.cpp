// Romaji typed without an input method: the converter and the line editor's mode that uses it.
#include "runtime/console/romaji.h"

#include <gtest/gtest.h>

#include "runtime/console/console_fixture.h"
#include "runtime/console/line_editor.h"
#include "runtime/frame/statement.h"
#include "runtime/values/sjis.h"

namespace kestran::testing {
namespace {

// The whole of `typed` converted, as UTF-8.
std::string Katakana(std::string_view typed) {
    return SjisToUtf8(ConvertRomaji(typed, true).kana);
}

TEST(Romaji, SyllablesOfOneTwoAndThreeLetters) {
    EXPECT_EQ(Katakana("a"), "ア");
    EXPECT_EQ(Katakana("ka"), "カ");
    EXPECT_EQ(Katakana("kya"), "キャ");
    EXPECT_EQ(Katakana("shi"), "シ");
    EXPECT_EQ(Katakana("si"), "シ");
    EXPECT_EQ(Katakana("tsu"), "ツ");
    EXPECT_EQ(Katakana("chi"), "チ");
    EXPECT_EQ(Katakana("fu"), "フ");
    EXPECT_EQ(Katakana("ji"), "ジ");
    EXPECT_EQ(Katakana("akira"), "アキラ");
    EXPECT_EQ(Katakana("AKIRA"), "アキラ") << "either case";
    EXPECT_EQ(Katakana("vu"), "ヴ");
    EXPECT_EQ(Katakana("xtsu"), "ッ");
}

TEST(Romaji, TheSyllabicN) {
    EXPECT_EQ(Katakana("nana"), "ナナ") << "n before a vowel begins a syllable";
    EXPECT_EQ(Katakana("kenta"), "ケンタ") << "n before a consonant";
    EXPECT_EQ(Katakana("ken"), "ケン") << "n at the end";
    EXPECT_EQ(Katakana("kinnya"), "キンヤ") << "nn";
    EXPECT_EQ(Katakana("kin'ya"), "キンヤ");
    EXPECT_EQ(Katakana("konnnichiha"), "コンニチハ");
    EXPECT_EQ(Katakana("nyanko"), "ニャンコ");
    // While typing, an n at the end is not decided yet.
    const RomajiConversion typing = ConvertRomaji("ken", false);
    EXPECT_EQ(SjisToUtf8(typing.kana), "ケ");
    EXPECT_EQ(typing.pending, "n");
}

TEST(Romaji, DoubledConsonantsAndLongVowels) {
    EXPECT_EQ(Katakana("kitto"), "キット");
    EXPECT_EQ(Katakana("matcha"), "マッチャ");
    EXPECT_EQ(Katakana("sakka-"), "サッカー");
    EXPECT_EQ(Katakana("ra-men"), "ラーメン");
}

TEST(Romaji, LettersThatBeginNoSyllableStayAsTyped) {
    EXPECT_EQ(Katakana("Q"), "Q");
    EXPECT_EQ(Katakana("k"), "k");
    const RomajiConversion typing = ConvertRomaji("ts", false);
    EXPECT_TRUE(typing.kana.empty());
    EXPECT_EQ(typing.pending, "ts");
}

class RomajiInputTest : public ConsoleTest {
protected:
    static constexpr char kToggle[] = "\x0f";
};

TEST_F(RomajiInputTest, CtrlOTurnsTypedRomajiIntoKatakanaAndBack) {
    window.Type(kToggle);
    window.Type("akiran");
    window.Type(kToggle);
    window.Type("X\r");
    EXPECT_EQ(SjisToUtf8(PbInputLine(rt, 1, "")), "アキランX");
    EXPECT_EQ(Row(0), "アキランX");
}

TEST_F(RomajiInputTest, TheLettersWaitingShowUntilTheirSyllableIsWhole) {
    window.Type(kToggle);
    window.Type("ky");
    try {
        PbInputLine(rt, 1, "");  // the window closes when the keys run out
    } catch (const ProgramEnd&) {
    }
    EXPECT_EQ(Row(0), "ky");
}

TEST_F(RomajiInputTest, EditingKeysEndThePendingSyllable) {
    window.Type(kToggle);
    window.Type("ken\b");  // Backspace first settles ン, then deletes it
    window.Type("ta\r");
    EXPECT_EQ(SjisToUtf8(PbInputLine(rt, 1, "")), "ケタ");
}

TEST_F(RomajiInputTest, TheLineLimitHoldsForTheKanaToo) {
    // 253 bytes leave room for one kana of two bytes; the second is refused.
    window.Type(std::string(253, 'x'));
    window.Type(kToggle);
    window.Type("ai\r");
    EXPECT_EQ(SjisToUtf8(PbInputLine(rt, 1, "")), std::string(253, 'x') + "ア");
    EXPECT_EQ(window.beeps, 1);
}

}  // namespace
}  // namespace kestran::testing
