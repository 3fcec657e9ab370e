#include "runtime/values/return_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran {
namespace {

TEST(ReturnTable, Holds128EntriesAndRefusesThe129th) {
    ReturnTable t;
    for (int i = 0; i < 128; ++i)
        t.Push(i == 5 ? 7 : -1);
    EXPECT_EQ(t.depth(), 128);
    EXPECT_PB_ERROR(t.Push(), 32, 0xB101);
    EXPECT_EQ(t.depth(), 128);
    for (int i = 127; i >= 0; --i)
        EXPECT_EQ(t.Pop(), i == 5 ? 7 : -1);
    EXPECT_PB_ERROR(t.Pop(), 3, 0xB201);
}

class PbGosubTest : public ::testing::Test {
protected:
    platform::Platform platform;
    Runtime rt{platform};
};

TEST_F(PbGosubTest, NestsAndRestoresTheCallersLine) {
    auto callerLine = std::source_location::current();
    rt.frame.currentStatement = callerLine;
    {
        PbGosub call(rt);
        EXPECT_EQ(rt.returns.depth(), 1);
        rt.frame.currentStatement = std::source_location::current();
    }
    EXPECT_EQ(rt.returns.depth(), 0);
    EXPECT_EQ(rt.frame.currentStatement.line(), callerLine.line());
}

TEST_F(PbGosubTest, The129thNestedCallFailsAndAnErrorUnwindsAll) {
    std::vector<std::unique_ptr<PbGosub>> calls;
    for (int i = 0; i < 128; ++i)
        calls.push_back(std::make_unique<PbGosub>(rt));
    EXPECT_PB_ERROR(PbGosub extra(rt), 32, 0xB101);
    EXPECT_EQ(rt.returns.depth(), 128);
    calls.clear();
    EXPECT_EQ(rt.returns.depth(), 0);
    // A run-time error thrown through a subroutine leaves no pending return behind.
    try {
        PbGosub call(rt);
        PbRaiseError(63, 0x2008, std::source_location::current());
    } catch (const PbError&) {
    }
    EXPECT_EQ(rt.returns.depth(), 0);
}

}  // namespace
}  // namespace kestran
