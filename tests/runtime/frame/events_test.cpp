// The statement hook: the pump's rhythm, the window's closing, the event queue and handlers.
#include <gtest/gtest.h>

#include "frame_fixture.h"
#include "runtime/values/error.h"
#include "runtime/values/return_table.h"

namespace kestran::testing {
namespace {

using platform::Event;
using platform::Key;

class EventsTest : public FrameTest {
protected:
    // Gives slots [first, last] a handler that counts its runs.
    void HandleSlots(int first, int last) {
        for (int s = first; s <= last; ++s) {
            PbSetEventHandler(rt, s, [this, s](Runtime&) { ran.push_back(s); });
        }
    }
    std::vector<int> ran;
};

TEST_F(EventsTest, PumpRunsOnTheFirstBoundaryAndEveryEleventhAfter) {
    for (int i = 0; i < 23; ++i)
        PbStatement(rt);
    EXPECT_EQ(window.polls, 3);  // boundaries 1, 12 and 23
}

TEST_F(EventsTest, BoundaryRecordsTheCallingLine) {
    const auto line = __LINE__ + 1;
    PbStatement(rt);
    EXPECT_EQ(rt.frame.currentStatement.line(), line);
}

TEST_F(EventsTest, ClosedWindowEndsTheProgramAtTheNextPumpWithoutAReport) {
    PbStatement(rt);  // the first boundary pumps; the next pump is 11 boundaries later
    window.pollEvents.push_back(Event::Of(Event::Kind::Close));
    for (int i = 0; i < 10; ++i)
        PbStatement(rt);
    try {
        PbStatement(rt);
        FAIL() << "the closed window did not end the program";
    } catch (const ProgramEnd& end) {
        EXPECT_FALSE(end.byGame);
        EXPECT_EQ(end.exitCode, 0);
    }
    EXPECT_EQ(window.presents, 0);
}

TEST_F(EventsTest, PumpedKeysReachTheKeyRing) {
    window.pollEvents.push_back(Event::Character('n'));
    PbStatement(rt);
    EXPECT_EQ(rt.console.keys.Size(), 1);
}

TEST_F(EventsTest, FunctionKeyWithoutHandlerIsDropped) {
    window.pollEvents.push_back(Event::KeyDown(Key::F1));
    PbStatement(rt);
    EXPECT_EQ(rt.frame.events.queued(), 0);
    EXPECT_TRUE(rt.console.keys.Empty());
    PbStatement(rt);
    EXPECT_TRUE(rt.frame.events.Quiet());
}

TEST_F(EventsTest, FunctionKeysRaiseEventsTwoToThirteen) {
    HandleSlots(2, 13);
    window.pollEvents.push_back(Event::KeyDown(Key::F1));
    window.pollEvents.push_back(Event::KeyDown(Key::F12));
    PbStatement(rt);  // pumps, then runs F1's handler
    PbStatement(rt);
    EXPECT_EQ(ran, (std::vector<int>{2, 13}));
}

TEST_F(EventsTest, FirstStatementOfAHandlerDispatchesNothing) {
    std::vector<int> seen;
    PbSetEventHandler(rt, 3, [&](Runtime&) { seen.push_back(3); });
    PbSetEventHandler(rt, 2, [&](Runtime& r) {
        PbStatement(r);
        seen.push_back(-1);
        PbStatement(r);
        seen.push_back(-2);
    });
    PbRaiseEvent(rt, 2);
    PbRaiseEvent(rt, 3);
    PbStatement(rt);
    EXPECT_EQ(seen, (std::vector<int>{-1, 3, -2}));
}

TEST_F(EventsTest, QueueHoldsFortyNineEventsAndLosesTheRest) {
    HandleSlots(2, 60);
    for (int s = 2; s <= 60; ++s)
        PbRaiseEvent(rt, s);
    EXPECT_EQ(rt.frame.events.queued(), EventTable::kQueueLimit);
    EXPECT_FALSE(rt.frame.events.Has(51, EventTable::kPending));  // the 50th raised was lost
    for (int i = 0; i < 200; ++i)
        PbStatement(rt);
    ASSERT_EQ(ran.size(), 49u);
    EXPECT_EQ(ran.front(), 2);
    EXPECT_EQ(ran.back(), 50);  // in arrival order
    // A lost event is not remembered: raised again, it runs.
    PbRaiseEvent(rt, 51);
    PbStatement(rt);
    PbStatement(rt);
    EXPECT_EQ(ran.back(), 51);
}

TEST_F(EventsTest, EventRaisedWhilePendingIsNotQueuedTwice) {
    HandleSlots(2, 2);
    PbRaiseEvent(rt, 2);
    PbRaiseEvent(rt, 2);
    EXPECT_EQ(rt.frame.events.queued(), 1);
    for (int i = 0; i < 5; ++i)
        PbStatement(rt);
    EXPECT_EQ(ran.size(), 1u);
}

TEST_F(EventsTest, HandlerRunsAsASubroutineAndRestoresTheInterruptedLine) {
    int depthInside = -1;
    uint32_t lineInside = 0;
    PbSetEventHandler(rt, 2, [&](Runtime& r) {
        depthInside = r.returns.depth();
        PbStatement(r);
        lineInside = r.frame.currentStatement.line();
    });
    PbRaiseEvent(rt, 2);
    const auto line = __LINE__ + 1;
    PbStatement(rt);
    EXPECT_EQ(depthInside, 1);
    EXPECT_NE(lineInside, line);
    EXPECT_EQ(rt.returns.depth(), 0);
    EXPECT_EQ(rt.frame.currentStatement.line(), line);
    EXPECT_FALSE(rt.frame.events.Has(2, EventTable::kRunning));
    EXPECT_EQ(rt.frame.events.dispatched, 0);
}

TEST_F(EventsTest, EventOfARunningSlotWaitsForItsHandlerToReturn) {
    int depth = 0;
    int deepest = 0;
    PbSetEventHandler(rt, 2, [&](Runtime& r) {
        ++depth;
        deepest = std::max(deepest, depth);
        PbRaiseEvent(r, 2);  // queued: the slot is running, not pending
        for (int i = 0; i < 3; ++i)
            PbStatement(r);
        --depth;
    });
    PbRaiseEvent(rt, 2);
    PbStatement(rt);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(rt.frame.events.queued(), 1);
}

TEST_F(EventsTest, HandlerLeftByAnErrorFreesItsSlotAndReturnEntry) {
    PbSetEventHandler(rt, 2, [](Runtime&) { throw PbError(5, 0x101); });
    PbRaiseEvent(rt, 2);
    EXPECT_THROW(PbStatement(rt), PbError);
    EXPECT_EQ(rt.returns.depth(), 0);
    EXPECT_FALSE(rt.frame.events.Has(2, EventTable::kRunning));
    EXPECT_EQ(rt.frame.events.dispatched, 0);
}

TEST_F(EventsTest, BreakIsEnabledFromStartUpAndNeedsNoHandler) {
    bool reached = false;
    window.waitEvents.push_back(Event::Character('x'));  // the break report's key
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbRaiseEvent(r, EventTable::kBreak);
        PbStatement(r);
        reached = true;
    });
    EXPECT_FALSE(reached);
    EXPECT_EQ(status, kExitNormal);
}

TEST_F(EventsTest, DisabledBreakIsIgnored) {
    PbRaiseEvent(rt, EventTable::kBreak);  // outside RunProgram nothing enabled the break
    EXPECT_NO_THROW(PbStatement(rt));
}

TEST_F(EventsTest, SlotNumbersOutsideTheTableAreIgnored) {
    PbSetEventHandler(rt, EventTable::kSlotCount, [](Runtime&) {});
    PbRaiseEvent(rt, -1);
    PbRaiseEvent(rt, EventTable::kSlotCount);
    EXPECT_EQ(rt.frame.events.queued(), 0);
}

}  // namespace
}  // namespace kestran::testing
