#include "runtime/console/line_editor.h"

#include <gtest/gtest.h>

#include "runtime/console/console_errors.h"
#include "runtime/console/console_fixture.h"
#include "runtime/console/screen.h"
#include "runtime/frame/statement.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran::testing {
namespace {

using namespace kestran::literals;
using platform::Key;

class LineEditorTest : public ConsoleTest {
protected:
    PbString Input(std::string_view prompt = {}, std::string_view refused = {}) {
        return PbInputLine(rt, 1, prompt, refused);
    }
};

TEST_F(LineEditorTest, ThreeDoubleByteCharactersAndTwoBackspacesLeaveTheFirst) {
    PbLocate(rt, 0, 2);
    const auto prompt = " 名前を入力して下さい  "_sj;
    window.Type("あいう"_sj);
    window.Type("\b\b\r");
    EXPECT_EQ(Input(prompt), "あ"_sj.str());
    EXPECT_EQ(Row(2), " 名前を入力して下さい  あ");
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(CursorRow(), 3);
}

TEST_F(LineEditorTest, PromptKinds) {
    window.Type("1\r");
    EXPECT_EQ(PbInputLine(rt, 0, "ignored"), "1");
    window.Type("2\r");
    EXPECT_EQ(PbInputLine(rt, 2, "Name"), "2");
    EXPECT_EQ(Row(0), "? 1");
    EXPECT_EQ(Row(1), "Name? 2");
    EXPECT_PB_ERROR(PbInputLine(rt, 3, "x"), 5, ErrorSite(console_site::kInputBegin, 2));
}

TEST_F(LineEditorTest, CursorKeysInsertAndOverwrite) {
    window.Type("abcd");
    window.Press(Key::Home);
    window.Type("X");  // insert mode: "Xabcd"
    window.Press(Key::Right);
    window.Press(Key::Insert);
    window.Type("Y");  // overwrite mode: "XaYcd"
    window.Press(Key::End);
    window.Press(Key::Left);
    window.Press(Key::Delete);  // "XaYc"
    window.Type("\r");
    EXPECT_EQ(Input(), "XaYc");
    EXPECT_EQ(Row(0), "XaYc");
}

TEST_F(LineEditorTest, CtrlEErasesToTheEndAndTheScreenFollows) {
    window.Type("hello");
    window.Press(Key::Left);
    window.Press(Key::Left);
    window.Press(Key::Left);
    window.Type("\x05\r");
    EXPECT_EQ(Input(), "he");
    EXPECT_EQ(Row(0), "he");
}

TEST_F(LineEditorTest, MovingOverADoubleByteCharacterTakesBothBytes) {
    window.Type("aあb"_sj);
    window.Press(Key::Left);
    window.Press(Key::Left);
    window.Type("\b");  // removes "a"
    window.Press(Key::Right);
    window.Type("\b\r");  // removes "あ"
    EXPECT_EQ(Input(), "b");
}

TEST_F(LineEditorTest, TheLineHoldsAtMost255Bytes) {
    window.Type(std::string(300, 'a'));
    window.Type("\r");
    EXPECT_EQ(Input().size(), 255u);
    EXPECT_EQ(window.beeps, 45);
}

TEST_F(LineEditorTest, ALineStartedAtColumn22OfRow1Accepts255Bytes) {
    PbLocate(rt, 22, 1);
    window.Type(std::string(255, 'b'));
    window.Type("\r");
    EXPECT_EQ(Input().size(), 255u);
    EXPECT_EQ(window.beeps, 0);
    EXPECT_EQ(Row(1), std::string(22, ' ') + std::string(58, 'b'));
    EXPECT_EQ(Row(4), std::string(255 - 58 - 160, 'b'));
}

TEST_F(LineEditorTest, RefusedBytesBeepAndStayOut) {
    window.Type("a,b:c\"d\r");
    EXPECT_EQ(Input({}, ",:\""), "abcd");
    EXPECT_EQ(window.beeps, 3);
}

TEST_F(LineEditorTest, ADoubleByteCharacterNeverStraddlesTheRightEdge) {
    PbLocate(rt, 78, 0);
    window.Type("あい"_sj);
    window.Type("\r");
    EXPECT_EQ(Input(), "あい"_sj.str());
    EXPECT_EQ(Kind(78, 0), CellKind::Lead);
    EXPECT_EQ(Row(1), "い");

    PbLocate(rt, 79, 5);
    window.Type("う"_sj);
    window.Type("\r");
    EXPECT_EQ(Input(), "う"_sj.str());
    EXPECT_EQ(Cell(79, 5), ' ');
    EXPECT_EQ(Row(6), "う");
}

// Editing before a double-byte character at the right edge moves it between the rows: the cells
// it leaves and the padding cell must be drawn anew although the characters before them are not.
TEST_F(LineEditorTest, AnEditMovesADoubleByteCharacterAcrossTheRightEdgeAndBack) {
    PbLocate(rt, 78, 0);
    window.Type("a"_sj);
    window.Type("あ"_sj);  // to the next row, column 79 left blank
    window.Press(Key::Home);
    window.Press(Key::Delete);  // back to columns 78 and 79
    window.Type("\r");
    EXPECT_EQ(Input(), "あ"_sj.str());
    EXPECT_EQ(Kind(78, 0), CellKind::Lead);
    EXPECT_EQ(Kind(79, 0), CellKind::Trail);
    EXPECT_EQ(Row(1), "");

    PbLocate(rt, 78, 5);
    window.Type("ab");
    window.Press(Key::Left);
    window.Press(Key::Insert);
    window.Type("あ"_sj);  // over the b at the edge, so to the next row
    window.Type("\r");
    EXPECT_EQ(Input(), "aあ"_sj.str());
    EXPECT_EQ(Cell(79, 5), ' ');
    EXPECT_EQ(Kind(79, 5), CellKind::Single);
    EXPECT_EQ(Row(6), "あ");
}

TEST_F(LineEditorTest, AHeldFirstByteWithoutASecondIsDropped) {
    window.Type("\x82\rz\r");
    EXPECT_EQ(Input(), "");
    EXPECT_EQ(Input(), "z");
}

TEST_F(LineEditorTest, EnterEmptiesTheRing) {
    for (char c : std::string("ab\rcd"))
        rt.console.HandleEvent(rt, platform::Event::Character(uint8_t(c)));
    EXPECT_EQ(Input(), "ab");
    EXPECT_TRUE(rt.console.keys.Empty());
}

TEST_F(LineEditorTest, TextInputIsOnOnlyWhileEditingAtTheCursorCell) {
    PbLocate(rt, 10, 4);
    window.Type("ab\r");
    Input();
    EXPECT_FALSE(window.textInput);
    EXPECT_GT(window.textInputCalls, 1);
    EXPECT_FALSE(rt.console.text.cursorOn);
    window.Type("x");
    window.waitEvents.push_back(platform::Event::Of(platform::Event::Kind::Close));
    EXPECT_THROW(Input(), ProgramEnd);
    EXPECT_FALSE(window.textInput);
    EXPECT_EQ(window.textInputColumn, 0);
}

TEST_F(LineEditorTest, TypingPastTheLastRowScrollsTheLine) {
    PbLocate(rt, 0, 0);
    PbPrintString(rt, "top", PbSep::End);
    PbLocate(rt, 70, 23);
    window.Type(std::string(15, 'z'));
    window.Type("\r");
    EXPECT_EQ(Input(), std::string(15, 'z'));
    EXPECT_EQ(Row(0), "");  // "top" scrolled away
    EXPECT_EQ(Row(21), std::string(70, ' ') + std::string(10, 'z'));
    EXPECT_EQ(Row(22), std::string(5, 'z'));
    EXPECT_EQ(CursorRow(), 23);
}

TEST_F(LineEditorTest, CtrlXStopsTheProgramWhenTheBreakIsArmedAndEndsTheLineOtherwise) {
    window.Type("ab\x18");
    EXPECT_EQ(Input(), "ab");
    rt.frame.events.Set(EventTable::kBreak, EventTable::kEnabled);
    window.Type("cd");
    window.Press(Key::Home);
    window.Type("\x18");
    EXPECT_THROW(Input(), ProgramEnd);
    EXPECT_EQ(Row(1), "cd");
}

TEST_F(LineEditorTest, TheClearKeyErasesTheLineOnlyWithItsOption) {
    window.Type("ab");
    window.Press(Key::Clear);
    window.Type("c\r");
    EXPECT_EQ(Input(), "abc");
    rt.frame.options.clearInputKey = 1;
    window.Type("ab");
    window.Press(Key::Home, true);
    window.Type("c\r");
    EXPECT_EQ(Input(), "c");
    EXPECT_EQ(Row(1), "c");
}

TEST(TakeStringFieldTest, BlanksQuotesAndSeparators) {
    EXPECT_EQ(TakeStringField("  name  "), "name");
    EXPECT_EQ(TakeStringField("a b,c"), "a b");
    EXPECT_EQ(TakeStringField("x:y"), "x");
    EXPECT_EQ(TakeStringField(" \" q, r \" tail"), " q, r ");
    EXPECT_EQ(TakeStringField("   "), "");
    EXPECT_EQ(TakeStringField(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(TakeStringField("ソ表"_sj), "ソ表"_sj.str());
}

}  // namespace
}  // namespace kestran::testing
