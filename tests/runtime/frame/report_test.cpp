// The fatal report, the error log and the break stop, through the program's top level.
#include <gtest/gtest.h>

#include <stdexcept>

#include "frame_fixture.h"
#include "runtime/console/keyboard.h"
#include "runtime/console/screen.h"
#include "runtime/frame/errors.h"
#include "runtime/values/error.h"

namespace kestran::testing {
namespace {

using platform::Event;

constexpr const char* kPrompt = "任意のキーを押してください";

std::string ReportLine(uint32_t line, int number) {
    return "report_test.cpp [" + std::to_string(line) + "行]:エラー[" + std::to_string(number) + "]";
}

class ReportTest : public FrameTest {};

TEST_F(ReportTest, UntrappedErrorShowsTheFailingLineTheTextAndWaitsForAKey) {
    window.Type("x");
    uint32_t line = 0;
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbPrintString(r, "before", PbSep::End);
        line = __LINE__ + 1;
        PbLocate(r, 80, 0);  // column 80 is off the screen: error 5
    });
    EXPECT_EQ(status, kExitFatalError);
    const int row = RowWith(ReportLine(line, 5));
    ASSERT_GE(row, 0) << Row(1);
    EXPECT_EQ(Row(row), ReportLine(line, 5));
    EXPECT_EQ(Row(row + 1), "関数の呼び出しまたは引数の値が正しくありません");
    EXPECT_EQ(Row(row + 2), kPrompt);
    EXPECT_EQ(rt.console.text.cursorRow, row + 3);  // the line end after the key
    EXPECT_EQ(window.waits, 1);
    EXPECT_TRUE(rt.console.keys.Empty());
}

TEST_F(ReportTest, KeysTypedBeforeTheReportDoNotAnswerIt) {
    rt.console.keys.Put('a');
    window.Type("b");
    RunProgram(rt, [](Runtime&) { throw PbError(11, 0xE002); });
    EXPECT_EQ(window.waits, 1);  // the ring was emptied before the wait
    EXPECT_TRUE(rt.console.keys.Empty());
}

TEST_F(ReportTest, ErrorLogHoldsTheValuesOfTheFatalError) {
    window.Type("x");
    uint32_t line = 0;
    RunProgram(rt, [&](Runtime&) {
        line = __LINE__ + 1;
        PbRaiseError(63, 0x2008, std::source_location::current());
    });
    ASSERT_EQ(log.fatal.size(), 1u);
    const auto& record = log.fatal[0];
    EXPECT_EQ(record.module, "report_test.cpp");
    EXPECT_EQ(record.line, line);
    EXPECT_EQ(record.code, 63u);
    EXPECT_EQ(record.func, 0x20u);
    EXPECT_EQ(record.info, 0x08u);
    EXPECT_EQ(record.time, "1999/07/04 09:05:00");
    EXPECT_EQ(record.mode, "独立型");
    EXPECT_FALSE(record.rtl.empty());
    EXPECT_EQ(rt.frame.error.lastNumber, 63);
}

TEST_F(ReportTest, WithoutTheLibraryOnlyTheReportLineIsShown) {
    settings.errorMessageFolder = "/nonexistent";
    window.Type("x");
    uint32_t line = 0;
    RunProgram(rt, [&](Runtime&) {
        line = __LINE__ + 1;
        PbRaiseError(5, 0x101, std::source_location::current());
    });
    const int row = RowWith(ReportLine(line, 5));
    ASSERT_GE(row, 0);
    EXPECT_EQ(Row(row + 1), kPrompt);
}

TEST_F(ReportTest, NumberWithoutATextShowsOnlyTheReportLine) {
    window.Type("x");
    RunProgram(rt, [](Runtime&) { throw PbError(4242, 0); });
    const int row = RowWith("エラー[4242]");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Row(row + 1), kPrompt);
}

TEST_F(ReportTest, WindowClosedDuringTheReportEndsWithTheFatalStatus) {
    // No key in the script: the window closes during the wait.
    const int status = RunProgram(rt, [](Runtime&) { throw PbError(5, 0); });
    EXPECT_EQ(status, kExitFatalError);
    EXPECT_EQ(log.fatal.size(), 1u);
}

// A window whose key wait fails the way a runtime operation fails.
class FailingWaitWindow : public PumpCountingWindow {
public:
    bool WaitEvent(Event&, int) override { throw PbError(1000, 0); }
};

TEST_F(ReportTest, ErrorRaisedInsideTheReportIsIgnored) {
    FailingWaitWindow failing;
    platform.window = &failing;
    const int status = RunProgram(rt, [](Runtime&) { throw PbError(5, 0); });
    EXPECT_EQ(status, kExitFatalError);
    ASSERT_EQ(log.fatal.size(), 1u);
    EXPECT_EQ(log.fatal[0].code, 5u);
    EXPECT_EQ(rt.frame.error.reportDepth, 0);
}

TEST_F(ReportTest, WithoutAWindowTheReportGoesToTheTerminalAndTheLog) {
    platform.window = nullptr;
    ::testing::internal::CaptureStderr();
    const int status = RunProgram(rt, [](Runtime&) { throw PbError(7, 0); });
    const std::string text = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kExitFatalError);
    EXPECT_NE(text.find("kestran.EXE"), std::string::npos) << text;
    EXPECT_NE(text.find("エラー[7]"), std::string::npos) << text;
    EXPECT_NE(text.find("メモリが足りません"), std::string::npos) << text;
    EXPECT_EQ(log.fatal.size(), 1u);
}

TEST_F(ReportTest, BreakStopShowsTheInterruptedLineAndEndsAfterAKey) {
    window.Type("x");
    uint32_t line = 0;
    bool continued = false;
    const int status = RunProgram(rt, [&](Runtime& r) {
        PbStatement(r);
        PbRaiseEvent(r, EventTable::kBreak);
        line = __LINE__ + 1;
        PbStatement(r);
        continued = true;
    });
    EXPECT_FALSE(continued);
    EXPECT_EQ(status, kExitNormal);
    const std::string text = "中断しました report_test.cpp[" + std::to_string(line) + "行]";
    const int row = RowWith(text);
    ASSERT_GE(row, 0);
    EXPECT_EQ(Row(row), text);  // "%s %s[%u行] %s": the blank before the prompt's line end trails
    EXPECT_EQ(Row(row + 1), kPrompt);
    EXPECT_EQ(window.waits, 1);
    EXPECT_TRUE(log.fatal.empty());
}

TEST_F(ReportTest, CtrlCReadByAKeyWaitRunsTheBreakStop) {
    window.Type("\x03x");
    const int status = RunProgram(rt, [](Runtime& r) {
        PbInputChars(r, 1);
        FAIL() << "the break did not stop the program";
    });
    EXPECT_EQ(status, kExitNormal);
    EXPECT_GE(RowWith("中断しました"), 0);
}

TEST_F(ReportTest, GameEndGivesItsExitCode) {
    const int status = RunProgram(rt, [](Runtime& r) {
        PbEnd(r, 3);
        FAIL() << "PbEnd returned";
    });
    EXPECT_EQ(status, 3);
    EXPECT_TRUE(rt.frame.ending);
}

TEST_F(ReportTest, WindowClosedWhileWaitingForAKeyEndsQuietly) {
    const int status = RunProgram(rt, [](Runtime& r) {
        PbInputChars(r, 1);
        FAIL() << "the wait returned after the window closed";
    });
    EXPECT_EQ(status, kExitNormal);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(log.fatal.empty());
}

TEST_F(ReportTest, UnknownExceptionIsReportedAsUnrecoverable) {
    const int status = RunProgram(rt, [](Runtime& r) {
        PbStatement(r);
        throw std::logic_error("broken");
    });
    EXPECT_EQ(status, kExitFatalError);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].find("続行不可能なエラーが発生しました report_test.cpp"), std::string::npos);
}

// An English game's reports: the same lines, their words and the library's text in English.
TEST_F(ReportTest, EnglishReportsFatalErrorBreakAndUnknownExceptionInEnglish) {
    settings.language = "en";
    window.Type("xy");
    uint32_t line = 0;
    RunProgram(rt, [&](Runtime& r) {
        line = __LINE__ + 1;
        PbLocate(r, 80, 0);
    });
    const std::string report = "report_test.cpp [line " + std::to_string(line) + "]: error [5]";
    const int row = RowWith(report);
    ASSERT_GE(row, 0) << Row(1);
    EXPECT_EQ(Row(row), report);
    EXPECT_EQ(Row(row + 1), "Illegal function call or argument value");
    EXPECT_EQ(Row(row + 2), "Press any key");

    RunProgram(rt, [&](Runtime& r) {
        PbStatement(r);
        PbRaiseEvent(r, EventTable::kBreak);
        line = __LINE__ + 1;
        PbStatement(r);
    });
    EXPECT_GE(RowWith("Stopped at report_test.cpp[line " + std::to_string(line) + "]"), 0);

    RunProgram(rt, [](Runtime& r) {
        PbStatement(r);
        throw std::logic_error("broken");
    });
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].find("Fatal error, the program cannot go on: report_test.cpp [line "),
              std::string::npos);
}

}  // namespace
}  // namespace kestran::testing
