#include "runtime/values/sjis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/values/cp932.h"
#include "runtime/values/sjis_literal.h"

namespace kestran {
namespace {

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int x : b)
        s += char(x);
    return s;
}

// Messages are chosen as views of literals and printed after the choosing expression has ended.
TEST(SjisLiteralTest, AViewOutlivesTheExpressionThatNamedTheLiteral) {
    const std::string_view poison = "毒"_sj.view();
    const std::string_view other = "気"_sj.view();
    EXPECT_EQ(std::string(poison), "\x93\xC5");
    EXPECT_NE(poison, other);
    EXPECT_EQ(&"毒"_sj, &"毒"_sj);  // one object per literal for the whole run
}

TEST(Cp932Table, EveryCodeRoundTripsThroughUnicode) {
    for (const auto& [code, unicode] : kCp932Decode) {
        auto back = Cp932FromUnicode(unicode);
        ASSERT_TRUE(back.has_value()) << std::hex << code;
        // A duplicate (NEC or IBM row) maps back to the code iconv prefers, which decodes the same.
        EXPECT_EQ(UnicodeFromCp932(*back), unicode) << std::hex << code;
        std::string sjis = code > 0xFF ? Bytes({code >> 8, code & 0xFF}) : Bytes({code});
        std::string utf8 = SjisToUtf8(sjis);
        std::string again;
        ASSERT_TRUE(Utf8ToSjis(utf8, again)) << std::hex << code;
        EXPECT_EQ(SjisToUtf8(again), utf8) << std::hex << code;
    }
}

TEST(Cp932Table, KnownTroubleSpots) {
    EXPECT_EQ(UnicodeFromCp932(0x5C), 0x5Cu);      // the yen-sign position stays a backslash
    EXPECT_EQ(UnicodeFromCp932(0x7E), 0x7Eu);      // and the overline a tilde
    EXPECT_EQ(UnicodeFromCp932(0x8160), 0xFF5Eu);  // wave dash as fullwidth tilde
    EXPECT_EQ(UnicodeFromCp932(0x817C), 0xFF0Du);  // minus sign as fullwidth hyphen-minus
    EXPECT_EQ(UnicodeFromCp932(0x8740), 0x2460u);  // NEC special row: circled one
    EXPECT_EQ(UnicodeFromCp932(0xED40), 0x7E8Au);  // NEC-selected IBM extension
    EXPECT_EQ(UnicodeFromCp932(0xFA40), 0x2170u);  // IBM extension
    EXPECT_EQ(Cp932FromUnicode(0x2170), 0xFA40);   // IBM row preferred over NEC-selected 0xEEEF
    EXPECT_EQ(Cp932FromUnicode(0xFFE2), 0x81CA);   // NOT SIGN: the JIS row wins
    EXPECT_FALSE(UnicodeFromCp932(0x80).has_value());
    EXPECT_FALSE(UnicodeFromCp932(0xA0).has_value());
    EXPECT_FALSE(UnicodeFromCp932(0xFD).has_value());
    EXPECT_FALSE(Cp932FromUnicode(0x1F600).has_value());
}

TEST(SjisText, TrailByteThatLooksLikeBackslashBelongsToItsCharacter) {
    std::string so = "ソ"_sj;  // 0x83 0x5C
    ASSERT_EQ(so, Bytes({0x83, 0x5C}));
    EXPECT_EQ(SjisCharCount(so), 1u);
    EXPECT_EQ(SjisToUtf8(so), "ソ");
}

TEST(SjisText, LeadByteAtTheEndCountsAsOneCharacter) {
    std::string s = "A"_sj.str() + char(0x82);
    EXPECT_EQ(SjisCharCount(s), 2u);
    EXPECT_EQ(SjisCharLength(s, 1), 1u);
    EXPECT_EQ(SjisToUtf8(s), "A\xEF\xBF\xBD");  // shown as U+FFFD
}

TEST(SjisText, LeadByteFollowedByAsciiIsNotACharacterPair) {
    // 0x82 0x20 is no CP932 character: the lead byte is unknown and the blank survives.
    EXPECT_EQ(SjisToUtf8(Bytes({0x82, 0x20, 0x41})), "\xEF\xBF\xBD A");
}

TEST(SjisText, Utf8ToSjisRefusesWhatCp932CannotCarry) {
    std::string out;
    EXPECT_FALSE(Utf8ToSjis("\xF0\x9F\x98\x80", out));  // an emoji
    out.clear();
    EXPECT_FALSE(Utf8ToSjis("\xC3", out));  // truncated UTF-8
    out.clear();
    EXPECT_TRUE(Utf8ToSjis("毒　病気", out));
    EXPECT_EQ(out, Bytes({0x93, 0xC5, 0x81, 0x40, 0x95, 0x61, 0x8B, 0x43}));
}

TEST(SjisLiteral, ConvertsAtCompileTime) {
    constexpr auto text = "通常"_sj;
    static_assert(text.size == 4);
    static_assert(text.view() == "\x92\xCA\x8F\xED");
    constexpr auto mixed = "HP ｱ"_sj;  // a half-width katakana is one byte
    static_assert(mixed.view() == "HP \xB1");
}

#ifdef KESTRAN_GEN_CP932
TEST(Cp932Table, GeneratorReproducesCommittedTable) {
    std::string out = std::string(KESTRAN_BINARY_DIR) + "/cp932_table_check.inc";
    std::string cmd = std::string(KESTRAN_GEN_CP932) + " " + out + " 2>/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    };
    std::string committed = slurp(std::string(KESTRAN_SOURCE_DIR) + "/src/runtime/values/cp932_table.inc");
    EXPECT_FALSE(committed.empty());
    EXPECT_TRUE(slurp(out) == committed) << "run: cmake --build <dir> --target regen_cp932";
    std::remove(out.c_str());
}
#endif

}  // namespace
}  // namespace kestran
