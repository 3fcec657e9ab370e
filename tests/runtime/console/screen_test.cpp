#include "runtime/console/screen.h"

#include <gtest/gtest.h>

#include "runtime/console/console_errors.h"
#include "runtime/console/console_fixture.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran::testing {
namespace {

using namespace kestran::literals;

class ScreenTest : public ConsoleTest {};

TEST_F(ScreenTest, LocateAcceptsTheLastCellAndRefusesOneBeyond) {
    PbLocate(rt, 79, 23);
    EXPECT_EQ(Column(), 79);
    EXPECT_EQ(CursorRow(), 23);
    EXPECT_PB_ERROR(PbLocate(rt, 80, 0), 5, ErrorSite(console_site::kLocate, 2));
    EXPECT_PB_ERROR(PbLocate(rt, -1, 0), 5, ErrorSite(console_site::kLocate, 2));
    EXPECT_PB_ERROR(PbLocate(rt, 0, 24), 5, ErrorSite(console_site::kLocate, 3));
    EXPECT_PB_ERROR(PbLocate(rt, 0, 0, 2, 7), 5, ErrorSite(console_site::kLocate, 4));
    // The failed calls left the cursor where it was.
    EXPECT_EQ(Column(), 79);
    EXPECT_EQ(CursorRow(), 23);
}

TEST_F(ScreenTest, LocateRoundsHalfAwayFromZeroAndKeepsWhatTheMaskLeavesOut) {
    PbLocate(rt, 2.5, 3.49);
    EXPECT_EQ(Column(), 3);
    EXPECT_EQ(CursorRow(), 3);
    PbLocate(rt, 99, 7, 1, 2 | 4);  // x not given: 99 is not even looked at
    EXPECT_EQ(Column(), 3);
    EXPECT_EQ(CursorRow(), 7);
    EXPECT_TRUE(rt.console.text.cursorOn);
}

TEST_F(ScreenTest, AnItemThatDoesNotFitStartsOnTheNextRow) {
    PbLocate(rt, 75, 0);
    PbPrintString(rt, "0123456789", PbSep::Semicolon);
    EXPECT_EQ(Row(0), "");
    EXPECT_EQ(Row(1), "0123456789");
    EXPECT_EQ(Column(), 10);
}

TEST_F(ScreenTest, AnItemLongerThanARowWrapsFromColumnZero) {
    const std::string item(100, 'x');
    PbPrintString(rt, item, PbSep::Semicolon);
    EXPECT_EQ(Row(0), std::string(80, 'x'));
    EXPECT_EQ(Row(1), std::string(20, 'x'));
    EXPECT_EQ(CursorRow(), 1);
    EXPECT_EQ(Column(), 20);
}

TEST_F(ScreenTest, ADoubleByteCharacterAtColumn79MovesWholeToTheNextRow) {
    PbLocate(rt, 79, 0);
    PbPrintString(rt, "あ"_sj, PbSep::Semicolon);
    EXPECT_EQ(Cell(79, 0), ' ');
    EXPECT_EQ(Row(1), "あ");
    EXPECT_EQ(Kind(0, 1), CellKind::Lead);
    EXPECT_EQ(Kind(1, 1), CellKind::Trail);
    EXPECT_EQ(Column(), 2);

    // The same inside a run that wraps: 79 single bytes, then the character.
    PbLocate(rt, 0, 5);
    PbPrintString(rt, std::string(79, 'a') + "い"_sj.str(), PbSep::Semicolon);
    EXPECT_EQ(Row(5), std::string(79, 'a'));
    EXPECT_EQ(Row(6), "い");
}

TEST_F(ScreenTest, ASecondByteInTheLeadRangeIsNotMistakenForALeadAtTheEdge) {
    // "ソ" is 83 5C and "犬" 8C A2: the byte landing in column 79 is a second byte.
    PbLocate(rt, 78, 0);
    PbPrintString(rt, "犬"_sj, PbSep::Semicolon);
    EXPECT_EQ(Kind(78, 0), CellKind::Lead);
    EXPECT_EQ(Kind(79, 0), CellKind::Trail);
    EXPECT_EQ(CursorRow(), 1);
    EXPECT_EQ(Column(), 0);
}

TEST_F(ScreenTest, ALeadByteWithoutItsPartnerIsStoredAsABlank) {
    PbPrintString(rt, std::string("a\x82", 2), PbSep::Semicolon);
    EXPECT_EQ(Cell(1, 0), ' ');
    EXPECT_EQ(Column(), 2);
}

TEST_F(ScreenTest, AnEndedLineOnTheLastRowScrollsTheScreen) {
    for (int r = 0; r < 24; ++r) {
        PbLocate(rt, 0, r);
        PbPrintString(rt, "row" + std::to_string(r), PbSep::Semicolon);
    }
    PbLocate(rt, 5, 23);
    PbPrintString(rt, "last", PbSep::End);
    EXPECT_EQ(Row(0), "row1");
    EXPECT_EQ(Row(21), "row22");
    EXPECT_EQ(Row(22), "row23last");
    EXPECT_EQ(Row(23), "");
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(CursorRow(), 23);
}

TEST_F(ScreenTest, CommasMoveToPrintZonesOf14AndEndTheLineNearTheEdge) {
    PbPrintString(rt, "AB", PbSep::Comma);
    EXPECT_EQ(Column(), 14);
    PbPrintString(rt, "CD", PbSep::End);
    EXPECT_EQ(Row(0), "AB            CD");

    // At a zone's start a comma moves a whole zone.
    PbLocate(rt, 0, 3);
    PbPrintString(rt, "", PbSep::Comma);
    EXPECT_EQ(Column(), 14);
    // From column 56 on, fewer than 14 columns would remain after the zone: a new line.
    PbLocate(rt, 56, 4);
    PbPrintString(rt, "", PbSep::Comma);
    EXPECT_EQ(CursorRow(), 5);
    EXPECT_EQ(Column(), 0);
    PbLocate(rt, 55, 6);
    PbPrintString(rt, "", PbSep::Comma);
    EXPECT_EQ(Column(), 56);
}

TEST_F(ScreenTest, ANumberIsFollowedByOneBlank) {
    PbPrintNumber(rt, 5.0f, PbSep::Semicolon);
    PbPrintString(rt, "X", PbSep::Semicolon);
    PbPrintNumber(rt, -3.0, PbSep::Semicolon);
    EXPECT_EQ(Row(0), " 5 X-3");
    EXPECT_EQ(Column(), 7);
}

TEST_F(ScreenTest, SinglesPrintSixDigitsAndExpressionsFifteen) {
    PbPrintNumber(rt, 1.0f / 3.0f, PbSep::End);
    PbPrintNumber(rt, 1.0 / 3.0, PbSep::End);
    EXPECT_EQ(Row(0), " .333333");
    EXPECT_EQ(Row(1), " .333333333333333");
}

TEST_F(ScreenTest, PrintUsingPlacesItsTextLikeAnItem) {
    PbPrintUsing(rt, "HP ###/###", {12, 130}, PbSep::Semicolon);
    PbPrintString(rt, "!", PbSep::End);
    EXPECT_EQ(Row(0), "HP  12/130!");
    EXPECT_EQ(CursorRow(), 1);
}

TEST_F(ScreenTest, TabsGoToTheNextMultipleOfEight) {
    PbLocate(rt, 3, 0);
    PbPrintString(rt, "a\tb", PbSep::Semicolon);
    EXPECT_EQ(Row(0), "   a    b");
}

TEST_F(ScreenTest, CarriageReturnAndLineFeedInsideAnItem) {
    PbLocate(rt, 10, 2);
    PbPrintString(rt, "ab\ncd\rX", PbSep::Semicolon);
    EXPECT_EQ(Row(2), "          ab");
    EXPECT_EQ(Row(3), "X           cd");
}

TEST_F(ScreenTest, ClsMode0ClearsTextAndPictureAndHomesTheCursor) {
    PbPrintString(rt, "text", PbSep::End);
    rt.console.picture.Fill(0xFFFFFF);
    PbLocate(rt, 40, 12);
    PbCls(rt);
    EXPECT_EQ(Column(), 0);
    EXPECT_EQ(CursorRow(), 0);
    for (int r = 0; r < 24; ++r) {
        for (int c = 0; c < 80; ++c)
            ASSERT_EQ(Cell(c, r), ' ');
    }
    EXPECT_EQ(rt.console.picture.At(0, 0), 0u);
    EXPECT_EQ(rt.console.picture.At(639, 431), 0u);
}

TEST_F(ScreenTest, ClsMode4KeepsThePictureAndMode5KeepsTheText) {
    PbPrintString(rt, "text", PbSep::End);
    rt.console.picture.Fill(0x123456);
    PbCls(rt, 5);
    EXPECT_EQ(Row(0), "text");
    EXPECT_EQ(CursorRow(), 1);
    EXPECT_EQ(rt.console.picture.At(10, 10), 0u);
    rt.console.picture.Fill(0x123456);
    PbCls(rt, 4);
    EXPECT_EQ(Row(0), "");
    EXPECT_EQ(rt.console.picture.At(10, 10), 0x123456u);
    EXPECT_PB_ERROR(PbCls(rt, 6), 5, ErrorSite(console_site::kCls, 2));
    EXPECT_PB_ERROR(PbCls(rt, -1), 5, ErrorSite(console_site::kCls, 2));
}

TEST_F(ScreenTest, ClsModesForTheConsoleLinesClearOnlyTheirRows) {
    for (int r = 0; r < 24; ++r) {
        PbLocate(rt, 0, r);
        PbPrintString(rt, "x", PbSep::Semicolon);
    }
    rt.console.text.consoleTop = 2;
    rt.console.text.consoleLines = 20;
    PbCls(rt, 2);
    EXPECT_EQ(Row(1), "");
    EXPECT_EQ(Row(2), "x");
    EXPECT_EQ(CursorRow(), 0);
    PbCls(rt, 3);
    EXPECT_EQ(Row(21), "x");
    EXPECT_EQ(Row(22), "");
    EXPECT_EQ(CursorRow(), 22);
    PbCls(rt, 1);
    EXPECT_EQ(Row(2), "");
    EXPECT_EQ(Row(21), "");
    EXPECT_EQ(CursorRow(), 2);
}

TEST_F(ScreenTest, EveryScreenOperationNeedsTheWindow) {
    platform.window = nullptr;
    EXPECT_PB_ERROR(PbCls(rt), 1000, ErrorSite(console_site::kCls, 1));
    EXPECT_PB_ERROR(PbLocate(rt, 1, 1), 1000, ErrorSite(console_site::kLocate, 1));
    EXPECT_PB_ERROR(PbPrintString(rt, "a", PbSep::End), 1000, ErrorSite(console_site::kPrint, 1));
    EXPECT_PB_ERROR(PbPrintNumber(rt, 1.0f, PbSep::End), 1000, ErrorSite(console_site::kPrint, 1));
}

TEST_F(ScreenTest, TheStatementBoundaryRecordsTheCallingLine) {
    const auto here = std::source_location::current();
    PbPrintString(rt, "a", PbSep::End, here);
    EXPECT_EQ(rt.frame.currentStatement.line(), here.line());
}

}  // namespace
}  // namespace kestran::testing
