// Every byte as a drive: an open for output, a print and a close either fail with 55 or 63 or
// write exactly one file in the folder of that drive; nothing else anywhere is touched.
#include <gtest/gtest.h>

#include <set>

#include "runtime/values/error.h"
#include "runtime/values/file_test_support.h"
#include "runtime/values/files.h"
#include "runtime/values/sjis.h"

namespace kestran {
namespace {

using testing::FilesBelow;
using testing::WriteBytes;

class DriveBytesTest : public testing::FilesFixture {};

char Upper(unsigned char b) {
    return static_cast<char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
}

TEST_F(DriveBytesTest, EveryDriveByteStaysInItsFolder) {
    std::filesystem::create_directories(DriveFolder('D'));
    std::filesystem::path mappedE = temp.path() / "elsewhere";
    std::filesystem::create_directories(mappedE);
    drives.Map('e', mappedE);
    WriteBytes(temp.path() / "sentinel", "untouched");

    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        auto byte = static_cast<unsigned char>(b);
        std::string name = std::string(1, static_cast<char>(byte)) + ":KSSAVE";
        bool drive = Upper(byte) == 'C' || Upper(byte) == 'D' || Upper(byte) == 'E';
        try {
            PbOpen(rt, name, kModeOutput, 1, 1);
            PbPrintFileString(rt, 1, name.substr(0, 1), PbSep::End);
            PbClose(rt, {1});
            EXPECT_TRUE(drive);
        } catch (const PbError& e) {
            EXPECT_FALSE(drive);
            bool letter = (Upper(byte) >= 'A' && Upper(byte) <= 'Z');
            EXPECT_EQ(e.number(), letter ? 63 : 55);
        }
        try {  // reading: a value for the drives written, the open's error for the others
            PbOpen(rt, name, kModeInput, 3, 2);
            PbString read;
            PbInputFileString(rt, 2, read);
            EXPECT_EQ(read, name.substr(0, 1));
            PbClose(rt, {2});
        } catch (const PbError& e) {
            EXPECT_FALSE(drive);
            EXPECT_TRUE(e.number() == 55 || e.number() == 63) << e.number();
        }
    }
    EXPECT_EQ(rt.files.openCount(), 0);
    std::vector<std::string> expected{"drives/C/KSSAVE", "drives/D/KSSAVE", "elsewhere/KSSAVE", "sentinel"};
    EXPECT_EQ(FilesBelow(temp.path()), expected);
    EXPECT_EQ(testing::ReadBytes(temp.path() / "sentinel"), "untouched");
    // The last writer of each folder was the lower-case letter.
    EXPECT_EQ(testing::ReadBytes(mappedE / "KSSAVE"), "e\r\n\x1A");
}

TEST_F(DriveBytesTest, EveryByteInANameIsARunTimeErrorOrAFileInTheFolder) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        std::string name = "C:A" + std::string(1, static_cast<char>(b)) + "B";
        try {
            PbOpen(rt, name, kModeOutput, 1, 1);
            PbClose(rt, {1});
        } catch (const PbError& e) {
            EXPECT_TRUE(e.number() == 55) << e.number();
        }
    }
    for (const auto& f : FilesBelow(temp.path()))
        EXPECT_EQ(f.rfind("drives/C/", 0), 0u) << f;
}

}  // namespace
}  // namespace kestran
