// The error trap the game sets around its file operations.
#include <gtest/gtest.h>

#include "frame_fixture.h"
#include "runtime/console/screen.h"
#include "runtime/frame/errors.h"
#include "runtime/values/return_table.h"

namespace kestran::testing {
namespace {

class TrapTest : public FrameTest {};

TEST_F(TrapTest, TrappedErrorContinuesAtTheTrapWithTheScreenUnchanged) {
    int trapped = 0;
    bool after = false;
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbPrintString(r, "セーブします", PbSep::End);
        r.console.Present(r);
        const auto before = window.rows;
        const int cursorRow = r.console.text.cursorRow;
        const bool completed = PbTrap(
            r, [&] { PbLocate(r, 80, 0); }, [&](const PbError& error) { trapped = error.number(); });
        EXPECT_FALSE(completed);
        r.console.Present(r);
        EXPECT_EQ(window.rows, before);
        EXPECT_EQ(r.console.text.cursorRow, cursorRow);
        after = true;
    });
    EXPECT_EQ(trapped, 5);
    EXPECT_TRUE(after);
    EXPECT_EQ(status, kExitNormal);
    EXPECT_TRUE(log.fatal.empty());
    EXPECT_FALSE(rt.frame.error.inHandler);
    EXPECT_EQ(rt.frame.error.lastNumber, 5);
}

TEST_F(TrapTest, BlockWithoutErrorSkipsTheHandler) {
    bool handled = false;
    EXPECT_TRUE(PbTrap(
        rt, [] {}, [&](const PbError&) { handled = true; }));
    EXPECT_FALSE(handled);
}

TEST_F(TrapTest, HandlerRunsMarkedAsInAHandler) {
    bool marked = false;
    PbTrap(
        rt, [] { throw PbError(63, 0x2008); }, [&](const PbError&) { marked = InAnyHandler(rt.frame); });
    EXPECT_TRUE(marked);
    EXPECT_FALSE(InAnyHandler(rt.frame));
}

TEST_F(TrapTest, ErrorInsideTheHandlerIsFatal) {
    window.Type("x");
    uint32_t line = 0;
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbTrap(
            r, [] { throw PbError(63, 0x2008); },
            [&](const PbError&) {
                line = __LINE__ + 1;
                PbLocate(r, 0, 24);
            });
        FAIL() << "the program went on after an error in the handler";
    });
    EXPECT_EQ(status, kExitFatalError);
    EXPECT_GE(RowWith("trap_test.cpp [" + std::to_string(line) + "行]:エラー[5]"), 0);
}

TEST_F(TrapTest, OuterTrapDoesNotTakeAnErrorFromAnInnerHandler) {
    window.Type("x");
    bool outerHandled = false;
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbTrap(
            r,
            [&] {
                PbTrap(
                    r, [] { throw PbError(63, 0); }, [](const PbError&) { throw PbError(52, 0); });
            },
            [&](const PbError&) { outerHandled = true; });
    });
    EXPECT_FALSE(outerHandled);
    EXPECT_EQ(status, kExitFatalError);
    ASSERT_EQ(log.fatal.size(), 1u);
    EXPECT_EQ(log.fatal[0].code, 52u);
}

TEST_F(TrapTest, TrapSetInsideAHandlerDoesNotCatch) {
    window.Type("x");
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbTrap(
            r, [] { throw PbError(63, 0); },
            [&](const PbError&) {
                PbTrap(
                    r, [] { throw PbError(55, 0); }, [](const PbError&) { FAIL() << "trapped inside a handler"; });
            });
    });
    EXPECT_EQ(status, kExitFatalError);
    ASSERT_EQ(log.fatal.size(), 1u);
    EXPECT_EQ(log.fatal[0].code, 55u);
}

TEST_F(TrapTest, SubroutineReturnsEnteredInsideTheBlockAreLeft) {
    PbGosub outer(rt);
    PbTrap(
        rt,
        [&] {
            PbGosub inner(rt);
            PbGosub deeper(rt);
            throw PbError(63, 0);
        },
        [](const PbError&) {});
    EXPECT_EQ(rt.returns.depth(), 1);
}

TEST_F(TrapTest, ProgramEndPassesThroughTheTrap) {
    bool handled = false;
    EXPECT_THROW(PbTrap(
                     rt, [&] { PbEnd(rt, 0); }, [&](const PbError&) { handled = true; }),
                 ProgramEnd);
    EXPECT_FALSE(handled);
}

}  // namespace
}  // namespace kestran::testing
