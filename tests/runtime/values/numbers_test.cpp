#include "runtime/values/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/clock.h"
#include "runtime/runtime.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran {
namespace {

TEST(PbToLong, RoundsHalfAwayFromZero) {
    EXPECT_EQ(PbToLong(2.5), 3);
    EXPECT_EQ(PbToLong(3.5), 4);
    EXPECT_EQ(PbToLong(2.49), 2);
    EXPECT_EQ(PbToLong(-2.5), -3);
    EXPECT_EQ(PbToLong(-0.4), 0);
    EXPECT_EQ(PbToLong(0.5), 1);
    EXPECT_EQ(PbToLong(-0.5), -1);
    EXPECT_EQ(PbToLong(1.4999), 1);
    EXPECT_EQ(PbToLong(0.49999999999999994), 0);  // x + 0.5 would round up in double
    EXPECT_EQ(PbToLong(3.0 / 2.0), 2);            // I / 2 with I = 3 addresses element 2
}

TEST(RoundHalfAwayFromZero, IsExactAtEveryBoundary) {
    EXPECT_EQ(RoundHalfAwayFromZero(-0.49999999999999994), 0.0);
    EXPECT_EQ(RoundHalfAwayFromZero(1.4999999999999998), 1.0);
    EXPECT_EQ(RoundHalfAwayFromZero(-2.4999999999999996), -2.0);
    EXPECT_EQ(RoundHalfAwayFromZero(4503599627370495.5), 4503599627370496.0);  // the last halves
    EXPECT_EQ(RoundHalfAwayFromZero(-4503599627370497.0), -4503599627370497.0);
    EXPECT_EQ(RoundHalfAwayFromZero(1e300), 1e300);
    EXPECT_TRUE(std::isnan(RoundHalfAwayFromZero(std::nan(""))));
    EXPECT_EQ(PbVal("0.49999999999999994%"), 0);
}

TEST(PbToLong, RefusesWhatDoesNotFit) {
    EXPECT_EQ(PbToLong(2147483647.0), 2147483647);
    EXPECT_EQ(PbToLong(-2147483648.0), INT32_MIN);
    EXPECT_EQ(PbToLong(2147483647.4), 2147483647);
    EXPECT_PB_ERROR(PbToLong(2147483647.5), 6, 0xE401);
    EXPECT_PB_ERROR(PbToLong(-2147483648.5), 6, 0xE401);
    EXPECT_PB_ERROR(PbToLong(std::numeric_limits<double>::quiet_NaN()), 6, 0xE401);
    EXPECT_PB_ERROR(PbToLong(std::numeric_limits<double>::infinity()), 6, 0xE401);
}

TEST(PbToShort, Has16BitRange) {
    EXPECT_EQ(PbToShort(32767.4), 32767);
    EXPECT_EQ(PbToShort(-32768.4), -32768);
    EXPECT_PB_ERROR(PbToShort(32767.5), 6, 0xE301);
    EXPECT_PB_ERROR(PbToShort(-32768.5), 6, 0xE301);
}

TEST(PbInt, CutsTowardMinusInfinity) {
    EXPECT_EQ(PbInt(2.7), 2);
    EXPECT_EQ(PbInt(-2.5), -3);
    EXPECT_EQ(PbInt(-0.1), -1);
    EXPECT_EQ(PbInt(-0.5), -1);
    EXPECT_EQ(PbInt(5), 5);
}

TEST(PbStore, RoundsToSingleAndRefusesOverflow) {
    EXPECT_EQ(PbStore(0.1), 0.1f);
    EXPECT_EQ(PbStore(FLT_MAX), FLT_MAX);
    EXPECT_EQ(PbStore(0x1.fffffefp+127), FLT_MAX);  // rounds down to the largest single
    EXPECT_PB_ERROR(PbStore(0x1.ffffffp+127), 6, 0xE003);
    EXPECT_PB_ERROR(PbStore(-1e39), 6, 0xE003);
    EXPECT_PB_ERROR(PbStore(std::numeric_limits<double>::infinity()), 6, 0xE003);
    EXPECT_PB_ERROR(PbStore(std::numeric_limits<double>::quiet_NaN()), 5, 0xE001);
    EXPECT_EQ(PbStore(1e-50), 0.0f);  // underflow is not an error
}

TEST(PbDivide, RaisesTheFloatErrors) {
    EXPECT_EQ(PbDivide(7, 2), 3.5);
    EXPECT_PB_ERROR(PbDivide(1, 0), 11, 0xE002);
    EXPECT_PB_ERROR(PbDivide(-1, -0.0), 11, 0xE002);
    EXPECT_PB_ERROR(PbDivide(0, 0), 5, 0xE001);
    EXPECT_PB_ERROR(PbDivide(1e300, 1e-300), 6, 0xE003);
    EXPECT_PB_ERROR(PbCheckFloat(std::numeric_limits<double>::infinity()), 6, 0xE003);
}

class PbRndTest : public ::testing::Test {
protected:
    platform::Platform platform;
    Runtime rt{platform};
};

TEST_F(PbRndTest, FollowsTheSequenceFromSeed204) {
    EXPECT_EQ(rt.random.seed, 204u);
    EXPECT_EQ(PbRnd(rt), 620765.0f / 8388608.0f);
    EXPECT_EQ(rt.random.seed, 317832095u);
    EXPECT_EQ(PbRnd(rt, 1), 7771819.0f / 8388608.0f);
    EXPECT_EQ(rt.random.seed, 3979171502u);
    EXPECT_EQ(PbRnd(rt, 1), 747984.0f / 8388608.0f);
    EXPECT_EQ(rt.random.seed, 382968233u);
}

TEST_F(PbRndTest, ZeroRepeatsTheLastNumber) {
    float last = PbRnd(rt, 1);
    EXPECT_EQ(PbRnd(rt, 0), last);
    EXPECT_EQ(PbRnd(rt, 0), last);
    EXPECT_EQ(rt.random.seed, 317832095u);
}

TEST_F(PbRndTest, NegativeArgumentRestartsTheSameSequence) {
    float a1 = PbRnd(rt, -3);
    float a2 = PbRnd(rt, 1);
    PbRnd(rt, 1);
    EXPECT_EQ(PbRnd(rt, -3), a1);
    EXPECT_EQ(PbRnd(rt, 1), a2);
    // -3.0f is 0xC0400000; the halves exchanged give 0x0000C040 before the step.
    rt.random.seed = 0x0000C040u;
    rt.random.Step();
    EXPECT_EQ(PbRnd(rt, 0), a1);
    // Negative zero restarts too (from seed 0x00008000), positive zero does not.
    PbRnd(rt, -0.0);
    uint32_t s = 0x00008000u * RandomGenerator::kMultiplier + RandomGenerator::kIncrement;
    EXPECT_EQ(rt.random.seed, s);
}

TEST_F(PbRndTest, NeverReturnsZero) {
    // A seed whose next step has bits 9-31 all zero: seed * a + c = 0x1FF (mod 2^32).
    // a is odd, so it has an inverse modulo 2^32.
    uint32_t inv = RandomGenerator::kMultiplier;
    for (int i = 0; i < 5; ++i)
        inv *= 2u - RandomGenerator::kMultiplier * inv;
    rt.random.seed = (0x1FFu - RandomGenerator::kIncrement) * inv;
    float r = PbRnd(rt, 1);
    EXPECT_GT(r, 0.0f);
    EXPECT_LT(r, 1.0f);
    EXPECT_NE(rt.random.seed, 0x1FFu);  // it stepped a second time
    // The start seed itself forms zero: RND(0) before any RND(1) steps instead.
    rt.random.seed = 204;
    EXPECT_GT(PbRnd(rt, 0), 0.0f);
}

TEST_F(PbRndTest, RandomizeXorsTheSeed) {
    PbRandomize(rt, 204);
    EXPECT_EQ(rt.random.seed, 0u);
    PbRandomize(rt, 0xDEADBEEF);
    EXPECT_EQ(rt.random.seed, 0xDEADBEEFu);
}

TEST(PbTimer, CountsSecondsSinceMidnightFromThePlatformClock) {
    platform::FixedClock clock({1999, 7, 4, 9, 5, 7});
    platform::Platform p;
    p.clock = &clock;
    Runtime rt(p);
    EXPECT_EQ(PbTimer(rt), 9 * 3600 + 5 * 60 + 7);
    clock.Set({1999, 7, 4, 23, 59, 59});
    EXPECT_EQ(PbTimer(rt), 86399);
    platform::Platform none;
    Runtime rt2(none);
    int32_t t = PbTimer(rt2);  // the system clock
    EXPECT_GE(t, 0);
    EXPECT_LE(t, 86399);
}

TEST(PbVal, ReadsTheNumberAtTheStart) {
    EXPECT_EQ(PbVal(" 12 34"), 12);
    EXPECT_EQ(PbVal("A"), 0);
    EXPECT_EQ(PbVal("-.5"), -0.5);
    EXPECT_EQ(PbVal("&H1F"), 31);
    EXPECT_EQ(PbVal("&h1f"), 31);
    EXPECT_EQ(PbVal("&O17"), 15);
    EXPECT_EQ(PbVal(""), 0);
    EXPECT_EQ(PbVal("   "), 0);
    EXPECT_EQ(PbVal("12AB"), 12);
    EXPECT_EQ(PbVal("1.5E3"), 1500);
    EXPECT_EQ(PbVal("1.5d+3"), 1500);
    EXPECT_EQ(PbVal("25E-1X"), 2.5);
    EXPECT_EQ(PbVal("+7"), 7);
    EXPECT_EQ(PbVal("- 7"), 0);
    EXPECT_EQ(PbVal(".x"), 0);
    EXPECT_EQ(PbVal("1.2.3"), 1.2f);
    EXPECT_EQ(PbVal("07"), 7);
    EXPECT_EQ(PbVal("0.05"), 0.05f);
}

TEST(PbVal, HonoursTypesAndTheirLimits) {
    EXPECT_EQ(PbVal("0.1"), static_cast<double>(0.1f));  // a short number is a single
    EXPECT_EQ(PbVal("0.1#"), 0.1);
    EXPECT_EQ(PbVal("0.1D0"), 0.1);
    EXPECT_EQ(PbVal("123456789"), 123456789.0);  // more than 7 digits: a double
    EXPECT_EQ(PbVal("2.5%"), 3);
    EXPECT_EQ(PbVal("&HFFFF"), -1);
    EXPECT_EQ(PbVal("&H10000"), 65536);
    EXPECT_EQ(PbVal("&HFFFFFFFF"), -1);
    EXPECT_PB_ERROR(PbVal("1E39"), 6, 0x9F01);
    EXPECT_PB_ERROR(PbVal("-1E39"), 6, 0x9F01);
    EXPECT_EQ(PbVal("1D39"), 1e39);
    EXPECT_PB_ERROR(PbVal("1D999"), 6, 0x9F01);
    EXPECT_PB_ERROR(PbVal("40000%"), 6, 0x9F01);
    EXPECT_PB_ERROR(PbVal("3000000000&"), 6, 0x9F01);
    EXPECT_PB_ERROR(PbVal("&H100000000"), 6, 0x9F01);
    EXPECT_PB_ERROR(PbVal("&H10000%"), 6, 0x9F01);
    EXPECT_EQ(PbVal("1E-999"), 0);
    EXPECT_EQ(PbVal("0E99999999999999999999"), 0);
    EXPECT_EQ(PbVal(std::string(5000, '0') + "1"), 1);
}

}  // namespace
}  // namespace kestran
