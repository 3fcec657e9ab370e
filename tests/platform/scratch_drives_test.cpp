#include "platform/scratch_drives.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace kestran::platform {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ScratchDrivesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kestran_scratch_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "tmp");
        fs::create_directories(dir_ / "real" / "C" / "SUB");
        fs::create_directories(dir_ / "mapped");
        std::ofstream(dir_ / "real" / "C" / "KSSAVE") << "hero";
        std::ofstream(dir_ / "real" / "C" / ".kestran-tmp-1-1") << "half a save";
        std::ofstream(dir_ / "outside") << "secret";
        fs::create_symlink(dir_ / "outside", dir_ / "real" / "C" / "LINK");
        std::ofstream(dir_ / "mapped" / "VELDSAVE") << "old hero";
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST_F(ScratchDrivesTest, EveryRunStartsFromTheCopyAndTheRealDrivesAreNeverWritten) {
    DriveMap real(dir_ / "real");
    real.Map('d', dir_ / "mapped");
    // A folder left by a watching program that a signal ended: no process has its number.
    fs::create_directories(dir_ / "tmp" / "kestran-watch-2147483646-abcdef" / "run");
    fs::path root;
    {
        ScratchDrives scratch;
        std::string error;
        ASSERT_TRUE(scratch.Create(real, dir_ / "tmp", error)) << error;
        EXPECT_FALSE(fs::exists(dir_ / "tmp" / "kestran-watch-2147483646-abcdef"));
        ASSERT_TRUE(scratch.Fresh(root, error)) << error;
        EXPECT_EQ(Read(root / "C" / "KSSAVE"), "hero");
        EXPECT_EQ(Read(root / "D" / "VELDSAVE"), "old hero");
        // Only what a drive name reaches is copied: no links, folders or temporary files.
        EXPECT_FALSE(fs::exists(root / "C" / "LINK"));
        EXPECT_FALSE(fs::exists(root / "C" / "SUB"));
        EXPECT_FALSE(fs::exists(root / "C" / ".kestran-tmp-1-1"));
        std::ofstream(root / "C" / "KSSAVE") << "another hero";
        std::ofstream(root / "C" / "NEW") << "x";
        ASSERT_TRUE(scratch.Fresh(root, error)) << error;
        EXPECT_EQ(Read(root / "C" / "KSSAVE"), "hero");
        EXPECT_FALSE(fs::exists(root / "C" / "NEW"));
    }
    EXPECT_FALSE(fs::exists(root));
    EXPECT_TRUE(fs::is_empty(dir_ / "tmp"));
    EXPECT_EQ(Read(dir_ / "real" / "C" / "KSSAVE"), "hero");
}

TEST_F(ScratchDrivesTest, NoScratchFolderIsAClearFailure) {
    ScratchDrives scratch;
    std::string error;
    EXPECT_FALSE(scratch.Create(DriveMap(dir_ / "real"), dir_ / "no" / "such", error));
    EXPECT_NE(error.find("scratch folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace kestran::platform
