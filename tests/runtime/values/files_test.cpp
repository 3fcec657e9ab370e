#include "runtime/values/files.h"

#include <gtest/gtest.h>

#include "runtime/values/file_test_support.h"
#include "runtime/values/pb_error_expect.h"
#include "runtime/values/sjis_literal.h"

namespace kestran {
namespace {

using testing::FilesFixture;
using testing::ReadBytes;
using testing::WriteBytes;

class FilesTest : public FilesFixture {};

TEST_F(FilesTest, PrintWritesZonesAndLineEnds) {
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    PbPrintFileString(rt, 1, "ABC", PbSep::Semicolon);
    PbPrintFileString(rt, 1, ",", PbSep::Semicolon);
    PbPrintFileNumber(rt, 1, 3, PbSep::Comma);
    PbPrintFileNumber(rt, 1, 2, PbSep::Comma);
    PbPrintFileNumber(rt, 1, 1, PbSep::End);
    PbClose(rt, {1});
    EXPECT_EQ(SaveBytes(), "ABC, 3 " + std::string(7, ' ') + " 2 " + std::string(11, ' ') + " 1 \r\n\x1A");
}

TEST_F(FilesTest, CommaAtAZoneBoundaryAddsAWholeZone) {
    PbOpen(rt, "C:F", kModeOutput, 0, 1);
    PbPrintFileString(rt, 1, std::string(14, 'x'), PbSep::Comma);
    PbPrintFileString(rt, 1, "", PbSep::Comma);
    PbPrintFileString(rt, 1, std::string(100, 'y'), PbSep::End);  // no line width: never broken
    PbClose(rt);
    EXPECT_EQ(SaveBytes("F"),
              std::string(14, 'x') + std::string(14, ' ') + std::string(14, ' ') + std::string(100, 'y') + "\r\n\x1A");
}

TEST_F(FilesTest, TheExampleLineReadsBack) {
    WriteBytes(DriveFolder('C') / "KSSAVE",
               "ABC, 3 " + std::string(7, ' ') + " 2 " + std::string(11, ' ') + " 1 \r\n\x1A");
    PbOpen(rt, "C:KSSAVE", kModeInput, 3, 2);
    PbString s;
    float a = 0, b = 0, c = 0;
    PbInputFileString(rt, 2, s);
    PbInputFileNumber(rt, 2, a);
    PbInputFileNumber(rt, 2, b);
    PbInputFileNumber(rt, 2, c);
    EXPECT_EQ(s, "ABC");
    EXPECT_EQ(a, 3.0f);
    EXPECT_EQ(b, 2.0f);
    EXPECT_EQ(c, 1.0f);
    float more = 9;
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 2, more), 54, 0x4E03);
    EXPECT_EQ(more, 9.0f);  // a failed read leaves the variable alone
    PbClose(rt, {2});
}

TEST_F(FilesTest, StringsAndNumbersSurviveARoundTrip) {
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    PbPrintFileString(rt, 1, "勇者"_sj, PbSep::Semicolon);
    PbPrintFileString(rt, 1, ",", PbSep::Semicolon);
    PbPrintFileString(rt, 1, "ソード"_sj, PbSep::Semicolon);  // a second byte 0x5C inside
    PbPrintFileString(rt, 1, ",", PbSep::Semicolon);
    PbPrintFileString(rt, 1, "通常"_sj, PbSep::End);
    for (float v : {1000000.0f, 1234567.0f, 999999.0f, -0.5f, 0.0f})
        PbPrintFileNumber(rt, 1, v, PbSep::End);
    PbClose(rt);
    PbOpen(rt, "c:kssave", kModeInput, 3, 1);
    PbString a, b, c;
    PbInputFileString(rt, 1, a);
    PbInputFileString(rt, 1, b);
    PbInputFileString(rt, 1, c);
    EXPECT_EQ(a, "勇者"_sj.str());
    EXPECT_EQ(b, "ソード"_sj.str());
    EXPECT_EQ(c, "通常"_sj.str());
    float v = 0;
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, 1000000.0f);
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, 1234570.0f);  // six significant digits survive
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, 999999.0f);
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, -0.5f);
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, 0.0f);
    EXPECT_PB_ERROR(PbInputFileString(rt, 1, a), 54, 0x4E03);
}

TEST_F(FilesTest, SavingTwiceLeavesOnlyTheSecond) {
    for (const char* text : {"FIRST SAVE WITH A LONGER LINE", "SECOND"}) {
        PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
        PbPrintFileString(rt, 1, text, PbSep::End);
        PbClose(rt, {1});
    }
    EXPECT_EQ(SaveBytes(), "SECOND\r\n\x1A");
    EXPECT_EQ(testing::FilesBelow(DriveFolder('C')), std::vector<std::string>{"KSSAVE"});
}

TEST_F(FilesTest, AbandonedOutputKeepsTheOldFileAndFreesTheNumber) {
    WriteBytes(DriveFolder('C') / "KSSAVE", "OLD\r\n\x1A");
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    PbPrintFileString(rt, 1, "HALF", PbSep::Semicolon);
    PbAbandonFile(rt, 1);
    EXPECT_EQ(SaveBytes(), "OLD\r\n\x1A");
    EXPECT_EQ(testing::FilesBelow(DriveFolder('C')), std::vector<std::string>{"KSSAVE"});
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);  // the number is free again
    PbClose(rt, {1});
    EXPECT_EQ(SaveBytes(), "\x1A");
}

TEST_F(FilesTest, OutputReplacesTheFileOnlyAtClose) {
    WriteBytes(DriveFolder('C') / "KSSAVE", "OLD\r\n\x1A");
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    PbPrintFileString(rt, 1, "NEW", PbSep::End);
    EXPECT_EQ(SaveBytes(), "OLD\r\n\x1A");
    // Another open for input, which the output's sharing (read) allows, still sees the old one.
    PbOpen(rt, "C:KSSAVE", kModeInput, 3, 2);
    PbString s;
    PbInputFileString(rt, 2, s);
    EXPECT_EQ(s, "OLD");
    PbClose(rt);
    EXPECT_EQ(SaveBytes(), "NEW\r\n\x1A");
}

TEST_F(FilesTest, OutputKeepsTheCaseOfAnExistingName) {
    WriteBytes(DriveFolder('C') / "kssave", "OLD");
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    PbClose(rt);
    EXPECT_EQ(testing::FilesBelow(DriveFolder('C')), std::vector<std::string>{"kssave"});
    EXPECT_EQ(SaveBytes("kssave"), "\x1A");
}

TEST_F(FilesTest, MissingFilesAndDrivesRaise63) {
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeInput, 3, 1), 63, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "D:KSSAVE", kModeInput, 3, 1), 63, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "Q:KSSAVE", kModeOutput, 1, 1), 63, 0x2008);
    EXPECT_EQ(log.codes, (std::vector<uint32_t>{2, 3, 3}));  // file not found, path not found
    EXPECT_EQ(rt.files.Find(1), nullptr);                    // a failed open leaves the number free
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
}

TEST_F(FilesTest, AppendAddsBeforeTheFinalMark) {
    WriteBytes(DriveFolder('C') / "LOG", "ONE\r\n\x1A");
    PbOpen(rt, "C:LOG", kModeAppend, 0, 1);
    PbPrintFileString(rt, 1, "TWO", PbSep::End);
    PbClose(rt);
    EXPECT_EQ(SaveBytes("LOG"), "ONE\r\nTWO\r\n\x1A");
    PbOpen(rt, "C:NEWLOG", kModeAppend, 0, 1);
    PbClose(rt);
    EXPECT_EQ(SaveBytes("NEWLOG"), "\x1A");
}

TEST_F(FilesTest, ModeTwoRefusesAnExistingFile) {
    PbOpen(rt, "C:ONCE", kModeOutputNew, 0, 1);
    PbPrintFileString(rt, 1, "A", PbSep::End);
    PbClose(rt);
    EXPECT_PB_ERROR(PbOpen(rt, "C:ONCE", kModeOutputNew, 0, 1), 64, 0x2008);
    EXPECT_EQ(SaveBytes("ONCE"), "A\r\n\x1A");
}

TEST_F(FilesTest, OpenChecksItsArguments) {
    EXPECT_PB_ERROR(PbOpen(rt, std::string(261, 'A'), kModeOutput, 1, 1), 55, 0x2001);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeOutput, 1, 0), 50, 0x2002);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeOutput, 1, 256), 50, 0x2002);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", 12, 0, 1), 51, 0x2007);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeOutput, 3, 1), 51, 0x2006);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeAppend, 2, 1), 51, 0x2006);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeInput, 2, 1), 51, 0x2005);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", 0, 1, 1), 51, 0x2004);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeInput, 5, 1), 51, 0x2006);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", 5, 0, 1, 0), 5, 0x2000);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", 5, 0, 1, 2049), 5, 0x2000);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", kModeOutput, 0, 1, 128), 51, 0x2000);
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", 5, 0, 1, 128), 51, 0x2007);  // no random files here
    EXPECT_PB_ERROR(PbOpen(rt, "C:A", 9, 0, 1), 51, 0x2007);
    EXPECT_PB_ERROR(PbOpen(rt, "", kModeOutput, 1, 1), 55, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "C:K?SAVE", kModeOutput, 1, 1), 55, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "C:*", kModeInput, 3, 1), 55, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "lpt1:", kModeOutput, 1, 1), 68, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "COM3:X", kModeInput, 3, 1), 68, 0x2008);
    PbOpen(rt, "C:A", kModeOutput, 1, 1);
    EXPECT_PB_ERROR(PbOpen(rt, "C:B", kModeOutput, 1, 1), 52, 0x2003);
    EXPECT_EQ(rt.files.openCount(), 1);
}

TEST_F(FilesTest, NamesThatLeaveTheFolderAreRefused) {
    for (const char* name : {"C:../KSSAVE", "C:..", "C:.", "C:A/B", "C:A\\B", "C:A:B", "C:", "C:A<B", "C:A|B", "C:A\"B",
                             "C:A\tB", "C:.kestran-tmp-1-1", "C:\x83", "1:KSSAVE", ":KSSAVE"}) {
        EXPECT_PB_ERROR(PbOpen(rt, name, kModeOutput, 1, 1), 55, 0x2008);
    }
    EXPECT_TRUE(testing::FilesBelow(temp.path()).empty());
    PbOpen(rt, "C:ソ"_sj, kModeOutput, 1, 1);  // 83 5C is a character, not a backslash
    PbClose(rt);
    EXPECT_EQ(testing::FilesBelow(DriveFolder('C')), std::vector<std::string>{"ソ"});
}

TEST_F(FilesTest, SymlinksAreReplacedNeverFollowed) {
    std::filesystem::path outside = temp.path() / "outside";
    WriteBytes(outside, "PRECIOUS");
    std::filesystem::create_directories(DriveFolder('C'));
    std::filesystem::create_symlink(outside, DriveFolder('C') / "KSSAVE");
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeInput, 3, 1), 75, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeAppend, 0, 1), 75, 0x2008);
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    PbPrintFileString(rt, 1, "NEW", PbSep::End);
    PbClose(rt);
    EXPECT_EQ(ReadBytes(outside), "PRECIOUS");
    EXPECT_FALSE(std::filesystem::is_symlink(DriveFolder('C') / "KSSAVE"));
    EXPECT_EQ(SaveBytes(), "NEW\r\n\x1A");
}

TEST_F(FilesTest, AFolderIsNoFile) {
    std::filesystem::create_directories(DriveFolder('C') / "DIR");
    EXPECT_PB_ERROR(PbOpen(rt, "C:DIR", kModeInput, 3, 1), 75, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "C:dir", kModeOutput, 1, 1), 75, 0x2008);
}

TEST_F(FilesTest, SharingIsCheckedBetweenOpens) {
    PbOpen(rt, "C:S", kModeOutput, 4, 1);  // nobody else may read it
    EXPECT_PB_ERROR(PbOpen(rt, "C:s", kModeInput, 3, 2), 75, 0x2008);
    PbClose(rt, {1});
    PbOpen(rt, "C:S", kModeInput, 3, 1);
    PbOpen(rt, "C:S", kModeInput, 1, 2);                                // two readers that allow reading
    EXPECT_PB_ERROR(PbOpen(rt, "C:S", kModeOutput, 1, 3), 75, 0x2008);  // input 2 allows no writer
    PbClose(rt);
    EXPECT_EQ(rt.files.openCount(), 0);
}

TEST_F(FilesTest, PrintAndInputCheckTheirNumbers) {
    EXPECT_PB_ERROR(PbPrintFileString(rt, 0, "A", PbSep::End), 50, 0x5301);
    EXPECT_PB_ERROR(PbPrintFileString(rt, 7, "A", PbSep::End), 57, 0x5302);
    PbString s;
    float v;
    EXPECT_PB_ERROR(PbInputFileString(rt, 256, s), 50, 0x4D01);
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 7, v), 57, 0x4D02);
    PbOpen(rt, "C:A", kModeOutput, 1, 1);
    EXPECT_PB_ERROR(PbInputFileString(rt, 1, s), 51, 0x4E03);
    PbClose(rt);
    PbOpen(rt, "C:A", kModeInput, 3, 1);
    EXPECT_PB_ERROR(PbPrintFileString(rt, 1, "A", PbSep::End), 51, 0x5303);
    EXPECT_PB_ERROR(PbClose(rt, {1, 300}), 50, 0x1E01);
    EXPECT_EQ(rt.files.openCount(), 0);  // number 1 was closed before 300 was refused
    PbClose(rt);                         // nothing open: nothing happens
    PbClose(rt, {5});                    // not open: nothing happens
}

TEST_F(FilesTest, NumericFieldsThatAreNoNumbers) {
    WriteBytes(DriveFolder('C') / "N", ",5\r\nABC\r\n\"7\"\r\n&H1F,1E39\r\n \r\n");
    PbOpen(rt, "C:N", kModeInput, 3, 1);
    float v = 42;
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 1, v), 58, 0x4E03);
    PbString skip;
    PbInputFileString(rt, 1, skip);  // the empty field before the comma
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, 5.0f);
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 1, v), 13, 0x4E04);
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 1, v), 13, 0x4E04);
    PbInputFileNumber(rt, 1, v);
    EXPECT_EQ(v, 31.0f);
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 1, v), 6, 0x4E04);
    EXPECT_PB_ERROR(PbInputFileNumber(rt, 1, v), 58, 0x4E04);
    EXPECT_EQ(v, 31.0f);
}

TEST_F(FilesTest, OversizedFilesAndFieldsAreRefused) {
    WriteBytes(DriveFolder('C') / "BIG", std::string(kMaxInputFileBytes + 1, 'A'));
    EXPECT_PB_ERROR(PbOpen(rt, "C:BIG", kModeInput, 3, 1), 54, 0x2008);
    EXPECT_PB_ERROR(PbOpen(rt, "C:BIG", kModeAppend, 0, 1), 54, 0x2008);
    WriteBytes(DriveFolder('C') / "MAX", std::string(kMaxInputFileBytes, ','));
    PbOpen(rt, "C:MAX", kModeInput, 3, 1);  // exactly the limit is fine
    WriteBytes(DriveFolder('C') / "LONG",
               std::string(kMaxFieldBytes, 'x') + "\r\n" + std::string(kMaxFieldBytes + 1, 'y') + "\r\n");
    PbOpen(rt, "C:LONG", kModeInput, 3, 2);
    PbString s;
    PbInputFileString(rt, 2, s);
    EXPECT_EQ(s.size(), kMaxFieldBytes);
    EXPECT_PB_ERROR(PbInputFileString(rt, 2, s), 54, 0x4E03);
    EXPECT_EQ(s.size(), kMaxFieldBytes);
}

TEST_F(FilesTest, UnclosedOutputIsDroppedWithTheTable) {
    WriteBytes(DriveFolder('C') / "KSSAVE", "OLD");
    {
        platform::Platform p;
        p.drives = &drives;
        Runtime other(p);
        PbOpen(other, "C:KSSAVE", kModeOutput, 1, 1);
        PbPrintFileString(other, 1, "HALF A SAVE", PbSep::End);
    }
    EXPECT_EQ(SaveBytes(), "OLD");
    EXPECT_EQ(testing::FilesBelow(DriveFolder('C')), std::vector<std::string>{"KSSAVE"});
}

}  // namespace
}  // namespace kestran
