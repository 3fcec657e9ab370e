#include "runtime/values/strings.h"

#include <gtest/gtest.h>

#include "runtime/values/pb_error_expect.h"
#include "runtime/values/sjis_literal.h"

namespace kestran {
namespace {

TEST(PbMid, CutsAtTheEndAndRefusesPositionZero) {
    EXPECT_EQ(PbMid("ABC", 4, 1), "");
    EXPECT_EQ(PbMid("ABC", 3, 5), "C");
    EXPECT_EQ(PbMid("ABC", 2), "BC");
    EXPECT_EQ(PbMid("ABC", 1.5, 1), "B");  // positions round half away from zero
    EXPECT_PB_ERROR(PbMid("ABC", 0, 1), 5, 0x9A01);
    EXPECT_PB_ERROR(PbMid("ABC", 0.4, 1), 5, 0x9A01);
    EXPECT_PB_ERROR(PbMid("ABC", 1, -1), 5, 0x9A01);
    EXPECT_PB_ERROR(PbMid("ABC", 3e9, 1), 6, 0xE401);
}

TEST(PbLeftRight, CountBytesAndRefuseNegativeCounts) {
    EXPECT_EQ(PbLeft("ABC", 0), "");
    EXPECT_EQ(PbLeft("ABC", 10), "ABC");
    EXPECT_EQ(PbRight("ABC", 2), "BC");
    EXPECT_EQ(PbRight("ABC", 10), "ABC");
    EXPECT_EQ(PbLeft("毒"_sj, 1), "\x93");  // only the lead byte
    EXPECT_PB_ERROR(PbLeft("ABC", -1), 5, 0x9901);
    EXPECT_PB_ERROR(PbRight("ABC", -1), 5, 0x9B01);
    EXPECT_EQ(PbLeft("ABC", -0.4), "");  // rounds to 0
}

TEST(PbLeftChars, TakesWholeDoubleByteCharacters) {
    EXPECT_EQ(PbLeftChars("毒"_sj, 1), "毒"_sj.str());
    EXPECT_EQ(PbLeftChars("通常"_sj, 1), "通"_sj.str());
    EXPECT_EQ(PbLeftChars("A\x93", 2), "A\x93");  // a lone lead byte at the end counts as one
    EXPECT_EQ(PbLeftChars("", 3), "");
    EXPECT_PB_ERROR(PbLeftChars("A", -1), 5, 0x7501);
}

TEST(PbRightChars, CountsCharactersFromTheFront) {
    PbString s = "毒病"_sj.str() + "A";
    EXPECT_EQ(PbRightChars(s, 2), "病A"_sj.str());
    EXPECT_EQ(PbRightChars(s, 0), "");
    EXPECT_EQ(PbRightChars(s, 3), s);
    EXPECT_EQ(PbRightChars(s, 9), s);
    EXPECT_EQ(PbRightChars("病気"_sj, 1), "気"_sj.str());
    // ソ is 83 5C: a right cut by bytes would split it, by characters it stays whole.
    EXPECT_EQ(PbRightChars("Aソ"_sj, 1), "ソ"_sj.str());
    EXPECT_EQ(PbRightChars("A\x93", 1), "\x93");
    EXPECT_PB_ERROR(PbRightChars("A", -1), 5, 0x7801);
}

TEST(PbMidAssign, OverwritesInPlaceWithoutChangingTheLength) {
    PbString t = "00000";
    PbMidAssign(t, 3, 1, "1");
    EXPECT_EQ(t, "00100");
    PbMidAssign(t, 1, 1, "ABC");
    EXPECT_EQ(t, "A0100");
    PbMidAssign(t, 5, 3, "XYZ");
    EXPECT_EQ(t, "A010X");
    PbMidAssign(t, 2, "12345678");
    EXPECT_EQ(t, "A1234");
    PbMidAssign(t, 99, 0, "Z");  // length 0 does nothing, whatever the position
    EXPECT_EQ(t, "A1234");
}

TEST(PbMidAssign, BadPositionsLeaveTheTargetAlone) {
    PbString t = "ABC";
    EXPECT_PB_ERROR(PbMidAssign(t, 0, 1, "X"), 5, 0x8201);
    EXPECT_PB_ERROR(PbMidAssign(t, 1, -1, "X"), 5, 0x8201);
    EXPECT_PB_ERROR(PbMidAssign(t, 4, 1, "X"), 5, 0x8202);
    PbString empty;
    EXPECT_PB_ERROR(PbMidAssign(empty, 1, 1, "X"), 5, 0x8202);
    EXPECT_EQ(t, "ABC");
}

TEST(PbChr, MakesOneBytePerCode) {
    EXPECT_EQ(PbChr(13), "\r");
    EXPECT_EQ(PbChr(0), std::string(1, '\0'));
    EXPECT_EQ(PbChr(255), "\xFF");
    EXPECT_EQ(PbChr({28, 29, 30, 31}), "\x1C\x1D\x1E\x1F");
    EXPECT_PB_ERROR(PbChr(256), 5, 0x9201);
    EXPECT_PB_ERROR(PbChr(-1), 5, 0x9201);
}

TEST(PbConcat, JoinsBytes) {
    EXPECT_EQ(PbConcat("AB", "C"), "ABC");
    EXPECT_EQ(PbConcat("", ""), "");
    std::string big(100000, 'x');
    EXPECT_EQ(PbConcat(big, big).size(), 200000u);
}

TEST(PbConcat, RefusesResultsBeyondTheLengthLimit) {
    // Views that claim huge lengths: the check must come before any byte is touched.
    static const char byte = 'x';
    std::string_view huge(&byte, kPbMaxStringLength);
    EXPECT_PB_ERROR(PbConcat(huge, std::string_view(&byte, 1)), 15, 0xC401);
}

TEST(PbCompare, IsByteWiseUnsigned) {
    EXPECT_EQ(PbCompare("", ""), 0);
    EXPECT_EQ(PbCompare("", "A"), -1);
    EXPECT_NE(PbCompare("a", "A"), 0);
    EXPECT_EQ(PbCompare("AB", "ABC"), -1);
    EXPECT_EQ(PbCompare("ABC", "AB"), 1);
    EXPECT_EQ(PbCompare("\x81", "\x7F"), 1);  // 0x81 is larger than 0x7F, not negative
    EXPECT_EQ(PbCompare("毒"_sj, "毒"_sj), 0);
}

}  // namespace
}  // namespace kestran
