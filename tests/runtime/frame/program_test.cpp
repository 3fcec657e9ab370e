// Start-up and end: the program name, the start-up messages, the run of the main body.
#include <gtest/gtest.h>

#include "frame_fixture.h"

namespace kestran::testing {
namespace {

TEST(ProgramName, IsTheFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(ProgramNameFromPath("/usr/games/kestran"), "kestran");
    EXPECT_EQ(ProgramNameFromPath("./KESTRAN.EXE"), "KESTRAN");
    EXPECT_EQ(ProgramNameFromPath("build.d/kestran"), "kestran");
    EXPECT_EQ(ProgramNameFromPath("kestran.tar.gz"), "kestran.tar");
    EXPECT_EQ(ProgramNameFromPath(".hidden"), ".hidden");
    EXPECT_EQ(ProgramNameFromPath(""), "kestran");
    EXPECT_EQ(ProgramNameFromPath("/"), "kestran");
}

TEST(StartupMessages, CarryTheJapaneseTexts) {
    EXPECT_EQ(StartupMessageText(StartupMessage::CannotOpenWindow), "ウィンドウをオープンできません");
    EXPECT_EQ(StartupMessageText(StartupMessage::OutOfMemory), "メモリが足りません");
    EXPECT_EQ(StartupMessageText(StartupMessage::NoMetafile), "メタファイルが作成できません");
}

class ProgramTest : public FrameTest {};

TEST_F(ProgramTest, BodyRunsOnceAndItsReturnIsANormalEnd) {
    int runs = 0;
    rt.programName = "kestran";
    EXPECT_EQ(RunProgram(rt, [&](Runtime&) { ++runs; }), kExitNormal);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(rt.frame.ending);
    EXPECT_EQ(MessageBoxTitle(rt), "kestran.EXE");
}

TEST_F(ProgramTest, StartUpSetsTheOptionWordsOfThisGame) {
    BuildOptions seen;
    RunProgram(rt, [&](Runtime& r) { seen = r.frame.options; });
    EXPECT_EQ(seen.pumpInterval, 10);
    EXPECT_EQ(seen.clearInputKey, 0);
    EXPECT_EQ(seen.hiddenWindow, 0);
    EXPECT_EQ(seen.windowWord, 0);
    EXPECT_EQ(seen.refuseWindowGraphics, 0);
}

TEST_F(ProgramTest, MemoryExhaustionIsReportedAsErrorSeven) {
    window.Type("x");
    EXPECT_EQ(RunProgram(rt, [](Runtime&) { throw std::bad_alloc(); }), kExitFatalError);
    ASSERT_EQ(log.fatal.size(), 1u);
    EXPECT_EQ(log.fatal[0].code, 7u);
}

}  // namespace
}  // namespace kestran::testing
