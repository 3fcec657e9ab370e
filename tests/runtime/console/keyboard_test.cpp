#include "runtime/console/keyboard.h"

#include <gtest/gtest.h>

#include "runtime/console/console_errors.h"
#include "runtime/console/console_fixture.h"
#include "runtime/frame/statement.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran::testing {
namespace {

using platform::Event;
using platform::Key;

class KeyboardTest : public ConsoleTest {
protected:
    PbString ReadOne() { return PbInputChars(rt, 1); }
};

TEST(KeyBufferTest, HoldsAtMost255CodesInOrderAcrossTheWrap) {
    KeyBuffer ring;
    for (int round = 0; round < 3; ++round) {
        int kept = 0;
        for (int i = 0; i < 300; ++i)
            kept += ring.Put(uint8_t(i)) ? 1 : 0;
        EXPECT_EQ(kept, 255);
        EXPECT_EQ(ring.Size(), 255);
        for (int i = 0; i < 255; ++i)
            ASSERT_EQ(*ring.Take(), uint8_t(i));
        EXPECT_TRUE(ring.Empty());
        EXPECT_FALSE(ring.Take().has_value());
        ring.Put(1);  // moves the indexes on, so the next round wraps elsewhere
        ring.Take();
    }
}

TEST_F(KeyboardTest, ThreeHundredKeysWhileBusyKeepTheFirst255AndBeepForTheRest) {
    for (int i = 0; i < 300; ++i)
        rt.console.HandleEvent(rt, Event::Character(uint8_t('a' + i % 26)));
    EXPECT_EQ(window.beeps, 45);
    const PbString keys = PbInputChars(rt, 255);
    ASSERT_EQ(keys.size(), 255u);
    for (size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(keys[i], char('a' + i % 26));
    EXPECT_EQ(window.waits, 0);  // all of them were waiting already
}

TEST_F(KeyboardTest, KeysDownBecomeTheirCodes) {
    const std::pair<Key, int> cases[] = {
        {Key::Right, 28},  {Key::Left, 29},  {Key::Up, 30},      {Key::Down, 31},
        {Key::Home, 11},   {Key::End, 21},   {Key::PageUp, 19},  {Key::PageDown, 20},
        {Key::Insert, 18}, {Key::Clear, 12}, {Key::Execute, 13}, {Key::Delete, 127},  // the Delete key's 4 reads as 127
    };
    for (const auto& [key, code] : cases) {
        window.Press(key);
        EXPECT_EQ(ReadOne(), PbString(1, char(code))) << int(key);
    }
    window.Press(Key::Home, true);
    EXPECT_EQ(ReadOne(), "\x0C");
    // Shift held as a key of its own counts too.
    window.waitEvents.push_back(Event::KeyDown(Key::Shift));
    window.Press(Key::Home);
    window.waitEvents.push_back(Event::KeyUp(Key::Shift));
    window.Press(Key::Home);
    EXPECT_EQ(PbInputChars(rt, 2), "\x0C\x0B");
}

TEST_F(KeyboardTest, CharactersEnterAsTyped) {
    window.Type("n\r\x1b\b");
    EXPECT_EQ(PbInputChars(rt, 4), "n\r\x1b\b");
}

TEST_F(KeyboardTest, AFunctionKeyAddsNothingAndTheWaitGoesOn) {
    window.Press(Key::F1);
    window.Type("a");
    EXPECT_EQ(ReadOne(), "a");
    EXPECT_EQ(window.waits, 2);
}

TEST_F(KeyboardTest, AFunctionKeyTypesItsAssignedText) {
    rt.console.functionKeyTexts[2] = "RUN\r";
    window.Press(Key::F3);
    EXPECT_EQ(PbInputChars(rt, 4), "RUN\r");
}

TEST_F(KeyboardTest, TypedTextEntersAsShiftJisAndRefusesWhatCp932Lacks) {
    window.waitEvents.push_back(Event::Text("ア\xF0\x9F\x98\x80z"));
    EXPECT_EQ(PbInputChars(rt, 3), "\x83\x41z");
    EXPECT_EQ(window.beeps, 1);
}

TEST_F(KeyboardTest, TheFrameIsPresentedBeforeEveryWait) {
    window.Type("ab");
    PbInputChars(rt, 2);
    EXPECT_EQ(window.presents, 2);
    ASSERT_NE(window.lastFrame.pixels, nullptr);
    EXPECT_EQ(window.lastFrame.width, 640);
    EXPECT_EQ(window.lastFrame.height, 432);
}

TEST_F(KeyboardTest, ClosingTheWindowDuringAWaitEndsTheProgram) {
    EXPECT_THROW(ReadOne(), ProgramEnd);
}

TEST_F(KeyboardTest, CtrlCStopsTheProgramAtTheWaitWhenTheBreakIsArmed) {
    rt.frame.events.Set(EventTable::kBreak, EventTable::kEnabled);
    window.Type("\x03");
    EXPECT_THROW(ReadOne(), ProgramEnd);
}

TEST_F(KeyboardTest, WithoutTheBreakCtrlCIsReadButNotStored) {
    window.Type("\x03k");
    EXPECT_EQ(ReadOne(), "k");
    EXPECT_EQ(window.waits, 2);
}

TEST_F(KeyboardTest, APlainWaitReturnsCtrlC) {
    rt.console.HandleEvent(rt, Event::Character(3));
    EXPECT_EQ(WaitKey(rt, KeyWait::Plain), 3);
}

TEST_F(KeyboardTest, ClearKeysEmptiesTheRing) {
    rt.console.HandleEvent(rt, Event::Character('x'));
    rt.console.ClearKeys();
    window.Type("y");
    EXPECT_EQ(ReadOne(), "y");
}

TEST_F(KeyboardTest, CountsAreCheckedAndNeedTheWindow) {
    EXPECT_EQ(PbInputChars(rt, 0), "");
    EXPECT_PB_ERROR(PbInputChars(rt, -1), 5, ErrorSite(console_site::kInputChars, 2));
    platform.window = nullptr;
    EXPECT_PB_ERROR(PbInputChars(rt, 1), 1000, ErrorSite(console_site::kInputChars, 1));
}

TEST_F(KeyboardTest, KeysTypedWhileBusyArriveThroughTheStatementPump) {
    window.pollEvents.push_back(Event::Character('q'));
    rt.frame.pumpCounter = 0;
    EXPECT_EQ(ReadOne(), "q");
    EXPECT_EQ(window.waits, 0);
}

}  // namespace
}  // namespace kestran::testing
