#include "platform/drives.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <set>

namespace kestran::platform {
namespace {

namespace fs = std::filesystem;

class DriveMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kestran-drives-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    static void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

    fs::path root;
};

TEST_F(DriveMapTest, OnlyAsciiLettersAreDrives) {
    DriveMap map(root);
    int letters = 0;
    for (int b = 0; b < 256; ++b) {
        auto folder = map.FolderPath(static_cast<unsigned char>(b));
        if (!folder) continue;
        ++letters;
        char upper = static_cast<char>(b >= 'a' ? b - 'a' + 'A' : b);
        EXPECT_EQ(*folder, root / std::string(1, upper)) << b;
    }
    EXPECT_EQ(letters, 52);
    EXPECT_FALSE(map.Map('1', root));
    EXPECT_FALSE(map.Map('\xC4', root));
}

TEST_F(DriveMapTest, CIsMadeOnFirstUseOtherDrivesMustExist) {
    DriveMap map(root / "deeper" / "drives");
    int c = map.OpenDrive('c');
    ASSERT_GE(c, 0);
    ::close(c);
    EXPECT_TRUE(fs::is_directory(root / "deeper" / "drives" / "C"));
    EXPECT_EQ(map.OpenDrive('D'), -ENOENT);
    EXPECT_FALSE(fs::exists(root / "deeper" / "drives" / "D"));
    fs::create_directories(root / "deeper" / "drives" / "D");
    int d = map.OpenDrive('d');
    EXPECT_GE(d, 0);
    ::close(d);
    Touch(root / "deeper" / "drives" / "F");  // a file where a folder should be: no drive
    EXPECT_EQ(map.OpenDrive('F'), -ENOENT);
    EXPECT_EQ(map.OpenDrive(':'), -ENOENT);
    EXPECT_EQ(map.OpenDrive(0), -ENOENT);
}

TEST_F(DriveMapTest, MappedDrivesUseTheirOwnFolder) {
    fs::create_directories(root / "usb");
    DriveMap map(root / "drives");
    EXPECT_TRUE(map.Map('x', root / "usb"));
    EXPECT_EQ(*map.FolderPath('X'), root / "usb");
    int x = map.OpenDrive('X');
    EXPECT_GE(x, 0);
    ::close(x);
    EXPECT_TRUE(map.Map('Y', root / "missing"));
    EXPECT_EQ(map.OpenDrive('y'), -ENOENT);
}

TEST_F(DriveMapTest, DefaultRootFollowsXdgDataHome) {
    const char* oldData = std::getenv("XDG_DATA_HOME");
    const char* oldHome = std::getenv("HOME");
    std::string savedData = oldData ? oldData : "", savedHome = oldHome ? oldHome : "";
    ::setenv("XDG_DATA_HOME", "/srv/data", 1);
    EXPECT_EQ(DriveMap::DefaultRoot(), fs::path("/srv/data/kestran/drives"));
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    ::setenv("HOME", "/home/hero", 1);
    EXPECT_EQ(DriveMap::DefaultRoot(), fs::path("/home/hero/.local/share/kestran/drives"));
    ::unsetenv("HOME");
    EXPECT_EQ(DriveMap::DefaultRoot(), fs::path("kestran-drives"));
    if (oldData)
        ::setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(DriveMapTest, PlainNames) {
    EXPECT_TRUE(DriveMap::IsPlainName("KSSAVE"));
    EXPECT_TRUE(DriveMap::IsPlainName(".hidden"));
    EXPECT_TRUE(DriveMap::IsPlainName("..."));
    EXPECT_FALSE(DriveMap::IsPlainName(""));
    EXPECT_FALSE(DriveMap::IsPlainName("."));
    EXPECT_FALSE(DriveMap::IsPlainName(".."));
    EXPECT_FALSE(DriveMap::IsPlainName("a/b"));
    EXPECT_FALSE(DriveMap::IsPlainName("/etc"));
    EXPECT_FALSE(DriveMap::IsPlainName(std::string_view("a\0b", 3)));
    DriveMap map(root);
    EXPECT_FALSE(DriveMap::IsPlainName(map.NewTempName()));
}

TEST_F(DriveMapTest, FindEntryPrefersAnExactMatchThenIgnoresAsciiCase) {
    DriveMap map(root);
    int c = map.OpenDrive('C');
    ASSERT_GE(c, 0);
    EXPECT_EQ(map.FindEntry(c, "KSSAVE"), std::nullopt);
    Touch(root / "C" / "kssave");
    EXPECT_EQ(map.FindEntry(c, "KSSAVE"), "kssave");
    Touch(root / "C" / "KsSave");
    EXPECT_EQ(map.FindEntry(c, "KSSAVE"), "KsSave");  // the first in byte order
    Touch(root / "C" / "KSSAVE");
    EXPECT_EQ(map.FindEntry(c, "KSSAVE"), "KSSAVE");
    Touch(root / "C" / "\xC3\xA4");  // UTF-8 letters are not folded
    EXPECT_EQ(map.FindEntry(c, "\xC3\x84"), std::nullopt);
    Touch(root / "C" / ".kestran-tmp-1-1");
    EXPECT_EQ(map.FindEntry(c, ".KESTRAN-TMP-1-1"), std::nullopt);
    ::close(c);
}

TEST_F(DriveMapTest, LeftoversOfDeadRunsAreRemovedLiveOnesKept) {
    DriveMap map(root);
    int c = map.OpenDrive('C');
    ASSERT_GE(c, 0);
    std::string dead = ".kestran-tmp-999999999-3";
    std::string mine = ".kestran-tmp-" + std::to_string(::getpid()) + "-1";
    std::string parent = ".kestran-tmp-" + std::to_string(::getppid()) + "-1";
    for (const auto& n : {dead, mine, parent, std::string(".kestran-tmp-"), std::string("KSSAVE")})
        Touch(root / "C" / n);
    map.RemoveLeftovers(c);
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(root / "C"))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{mine, parent, "KSSAVE"}));
    std::string a = map.NewTempName(), b = map.NewTempName();
    EXPECT_NE(a, b);
    EXPECT_EQ(a.rfind(".kestran-tmp-" + std::to_string(::getpid()) + "-", 0), 0u);
    ::close(c);
}

TEST_F(DriveMapTest, TheStartRemovesLeftoversOfDeadRunsFromEveryDrive) {
    DriveMap map(root);
    const fs::path mapped = root / "elsewhere";
    ASSERT_TRUE(map.Map('q', mapped));
    const std::string dead = ".kestran-tmp-999999999-1";
    const std::string mine = ".kestran-tmp-" + std::to_string(::getpid()) + "-1";
    for (const fs::path& folder : {root / "C", root / "D", mapped}) {
        fs::create_directories(folder);
        for (const auto& n : {dead, mine, std::string("KSSAVE")})
            Touch(folder / n);
    }
    Touch(root / "E");  // a file where a drive folder could be is no drive
    map.RemoveLeftoversOfEveryDrive();
    for (const fs::path& folder : {root / "C", root / "D", mapped}) {
        EXPECT_FALSE(fs::exists(folder / dead)) << folder;
        EXPECT_TRUE(fs::exists(folder / mine)) << folder;
        EXPECT_TRUE(fs::exists(folder / "KSSAVE")) << folder;
    }
    EXPECT_FALSE(fs::exists(root / "Q"));  // nothing is made
}

}  // namespace
}  // namespace kestran::platform
