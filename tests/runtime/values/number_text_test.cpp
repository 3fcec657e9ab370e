#include "runtime/values/number_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/values/pb_error_expect.h"

namespace kestran {
namespace {

TEST(PbPrintedNumber, SingleVariables) {
    EXPECT_EQ(PbPrintedNumber(0.0f), " 0 ");
    EXPECT_EQ(PbPrintedNumber(5.0f), " 5 ");
    EXPECT_EQ(PbPrintedNumber(-3.0f), "-3 ");
    EXPECT_EQ(PbPrintedNumber(0.1f), " .1 ");
    EXPECT_EQ(PbPrintedNumber(999999.0f), " 999999 ");
    EXPECT_EQ(PbPrintedNumber(1000000.0f), " 1E+06 ");
    EXPECT_EQ(PbPrintedNumber(-1234567.0f), "-1.23457E+06 ");
    EXPECT_EQ(PbPrintedNumber(-0.0f), " 0 ");
}

TEST(PbNumberText, SingleDigitsRoundOnTheSeventhDigit) {
    EXPECT_EQ(PbNumberText(120.0f), " 120");
    EXPECT_EQ(PbNumberText(1.5f), " 1.5");
    EXPECT_EQ(PbNumberText(0.5f), " .5");
    EXPECT_EQ(PbNumberText(0.05f), " .05");
    EXPECT_EQ(PbNumberText(1234565.0f), " 1.23457E+06");  // the seventh digit 5 rounds up
    EXPECT_EQ(PbNumberText(1234564.0f), " 1.23456E+06");
    EXPECT_EQ(PbNumberText(9999995.0f), " 1E+07");  // a carry through the nines
    EXPECT_EQ(PbNumberText(999999.5f), " 1E+06");
    EXPECT_EQ(PbNumberText(1.0f / 3.0f), " .333333");
    EXPECT_EQ(PbNumberText(2.0f / 3.0f), " .666667");
    EXPECT_EQ(PbNumberText(123456.7f), " 123457");
}

TEST(PbNumberText, SingleExponentThresholds) {
    EXPECT_EQ(PbNumberText(0.000001f), " .000001");  // e = -6, k = 1: plain
    EXPECT_EQ(PbNumberText(0.0000001f), " 1E-07");
    EXPECT_EQ(PbNumberText(0.0000125f), " 1.25E-05");  // -e + k - 2 = 6
    EXPECT_EQ(PbNumberText(0.000125f), " .000125");
    EXPECT_EQ(PbNumberText(1e38f), " 1E+38");
    EXPECT_EQ(PbNumberText(1e-45f), " 1.4013E-45");
}

TEST(PbNumberText, SignStyles) {
    EXPECT_EQ(PbNumberText(5.0f, SignStyle::Always), "+5");
    EXPECT_EQ(PbNumberText(5.0f, SignStyle::MinusOnly), "5");
    EXPECT_EQ(PbNumberText(-5.0f, SignStyle::MinusOnly), "-5");
    EXPECT_EQ(PbNumberText(0.0f, SignStyle::MinusOnly), "0");
    EXPECT_EQ(PbNumberText(0.0f, SignStyle::Always), "+0");
    EXPECT_EQ(PbNumberText(-0.25, SignStyle::Always), "-.25");
}

TEST(PbNumberText, DoublesKeepFifteenDigitsAndUseD) {
    EXPECT_EQ(PbNumberText(1234567.0), " 1234567");
    EXPECT_EQ(PbNumberText(0.1), " .1");
    EXPECT_EQ(PbNumberText(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(PbNumberText(1e15), " 1D+015");
    EXPECT_EQ(PbNumberText(999999999999999.0), " 999999999999999");
    EXPECT_EQ(PbNumberText(-1e-20), "-1D-020");
    EXPECT_EQ(PbNumberText(1e300), " 1D+300");
    EXPECT_EQ(PbNumberText(5e-324), " 4.94065645841247D-324");
    EXPECT_EQ(PbPrintedNumber(2.5), " 2.5 ");
}

// Whole numbers below 2^53 take a shorter way to their digits than the others: both ways meet.
TEST(PbNumberText, WholeNumbersOnBothSidesOfTheShortWayPrintAlike) {
    EXPECT_EQ(PbNumberText(9007199254740991.0), " 9.00719925474099D+015");  // 2^53 - 1: short way
    EXPECT_EQ(PbNumberText(9007199254740992.0), " 9.00719925474099D+015");  // 2^53: long way
    EXPECT_EQ(PbNumberText(999999999999999.5), " 1D+015");                  // not whole: long way
    EXPECT_EQ(PbNumberText(99999995.0f), " 1E+08");
    EXPECT_EQ(PbNumberText(16777216.0f), " 1.67772E+07");
    EXPECT_EQ(PbNumberText(1.0f), " 1");
    EXPECT_EQ(PbNumberText(-999999.0f), "-999999");
}

TEST(PbFormatUsing, FillsHashFieldsAndKeepsLiteralText) {
    std::vector<double> one{120};
    EXPECT_EQ(PbFormatUsing("##### G", one), "  120 G");
    std::vector<double> big{123};
    EXPECT_EQ(PbFormatUsing("##", big), "%123");
    std::vector<double> hp{35, 120};
    EXPECT_EQ(PbFormatUsing("HP    ###/###", hp), "HP     35/120");
    std::vector<double> st{7};
    EXPECT_EQ(PbFormatUsing("ST ##", st), "ST  7");
}

TEST(PbFormatUsing, RoundsHalfAwayFromZero) {
    std::vector<double> v{2.5, -2.5, 0.4, -0.4, 0.5, 99.5};
    EXPECT_EQ(PbFormatUsing("####", v), "   3  -3   0   0   1 100");
    std::vector<double> neg{-12};
    EXPECT_EQ(PbFormatUsing("##", neg), "%-12");
}

TEST(PbFormatUsing, LiteralsAfterTheLastItemStopAtTheNextField) {
    std::vector<double> one{5};
    EXPECT_EQ(PbFormatUsing("HP ###/### MP", one), "HP   5/");
    std::vector<double> three{1, 2, 3};
    EXPECT_EQ(PbFormatUsing("<#>", three), "<1><2><3>");
    EXPECT_EQ(PbFormatUsing("AB ##", {}), "AB ");
    std::vector<double> x{1};
    EXPECT_PB_ERROR(PbFormatUsing("no field", x), 5, 0x6102);
}

}  // namespace
}  // namespace kestran
