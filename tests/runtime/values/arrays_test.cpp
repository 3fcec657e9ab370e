#include "runtime/values/arrays.h"

#include <gtest/gtest.h>

#include "runtime/values/pb_error_expect.h"

namespace kestran {
namespace {

TEST(PbArray, UndimensionedArraysGetElevenElements) {
    PbArray<float> a;
    EXPECT_EQ(a(10), 0.0f);
    EXPECT_EQ(a.extent(0), 11);
    EXPECT_PB_ERROR(a(11), 9, 0xBF02);
    PbArray<PbString> s;
    EXPECT_EQ(s(3, 10), "");
    EXPECT_EQ(s.extent(0), 11);
    EXPECT_EQ(s.extent(1), 11);
    EXPECT_PB_ERROR(s(11, 0), 9, 0xBF03);
    EXPECT_PB_ERROR(s(0, 11), 9, 0xBF02);
    EXPECT_PB_ERROR(a.Dim(20), 10, 0x1002);  // the first use dimensioned it
}

TEST(PbArray, SubscriptsRoundHalfAwayFromZero) {
    PbArray<float> a;
    a.Dim(19);
    a(19) = 7;
    EXPECT_EQ(a(19.4), 7.0f);
    EXPECT_PB_ERROR(a(19.5), 9, 0xBF02);
    a(0) = 3;
    EXPECT_EQ(a(-0.4), 3.0f);
    EXPECT_PB_ERROR(a(-0.5), 9, 0xBF02);
    EXPECT_PB_ERROR(a(-1e12), 6, 0xE401);
}

TEST(PbArray, FirstSubscriptVariesFastest) {
    PbArray<float> a;
    a.Dim(5, 19);
    EXPECT_EQ(a.extent(0), 6);
    EXPECT_EQ(a.extent(1), 20);
    a(1, 0) = 1;
    a(0, 1) = 6;
    EXPECT_EQ(a.data()[1], 1.0f);
    EXPECT_EQ(a.data()[6], 6.0f);
    a(5, 19) = 9;
    EXPECT_EQ(a.data()[a.size() - 1], 9.0f);
    EXPECT_PB_ERROR(a(6, 0), 9, 0xBF03);
    EXPECT_PB_ERROR(a(0, 20), 9, 0xBF02);
    EXPECT_PB_ERROR(a(6, 20), 9, 0xBF02);  // the last dimension is checked first
}

TEST(PbArray, DimensionCountMustMatch) {
    PbArray<float> a;
    a.Dim(3);
    EXPECT_PB_ERROR(a(0, 0), 5, 0xBF01);
    PbArray<PbString> b;
    b.Dim(2, 2);
    EXPECT_PB_ERROR(b(0), 5, 0xBF01);
}

TEST(PbArray, DimChecksBoundsAndSize) {
    PbArray<float> a;
    EXPECT_PB_ERROR(a.Dim(-1), 5, 0x1003);
    EXPECT_FALSE(a.dimensioned());  // a failed Dim leaves it undimensioned
    a.Dim(0);
    EXPECT_EQ(a.extent(0), 1);
    EXPECT_PB_ERROR(a.Dim(0), 10, 0x1002);
    PbArray<float> huge;
    EXPECT_PB_ERROR(huge.Dim(2147483646), 9, 0xC703);
    EXPECT_PB_ERROR(huge.Dim(50000, 50000), 9, 0xC703);
    EXPECT_PB_ERROR(huge.Dim(2147483646, 2147483646), 9, 0xC702);
    PbArray<PbString> strings;
    EXPECT_PB_ERROR(strings.Dim(200000000), 9, 0xC703);  // 12 bytes per element
    EXPECT_FALSE(huge.dimensioned());
}

TEST(PbArray, DimensionedElementsStartZeroOrEmpty) {
    PbArray<PbString> s;
    s.Dim(9);
    for (int i = 0; i <= 9; ++i)
        EXPECT_EQ(s(i), "");
    s(4) = "剣";
    EXPECT_EQ(s(4), "剣");
}

TEST(PbSwap, ExchangesValues) {
    PbArray<PbString> inventory, equipment;
    inventory(2) = "LONG SWORD OF THE NORTH WIND";
    const char* bytes = inventory(2).data();
    PbSwapString(inventory(2), equipment(0));
    EXPECT_EQ(inventory(2), "");
    EXPECT_EQ(equipment(0), "LONG SWORD OF THE NORTH WIND");
    EXPECT_EQ(equipment(0).data(), bytes);  // the heap bytes moved owner, no copy
    PbSwapString(equipment(0), equipment(0));
    EXPECT_EQ(equipment(0), "LONG SWORD OF THE NORTH WIND");
    float x = 1, y = 2;
    PbSwap(x, y);
    EXPECT_EQ(x, 2.0f);
    EXPECT_EQ(y, 1.0f);
    PbSwap(x, x);
    EXPECT_EQ(x, 2.0f);
}

}  // namespace
}  // namespace kestran
