// The settings files: the registry's stand-in for the error-message and help folders.
#include "platform/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/errmsg_library.h"

namespace kestran::testing {
namespace {

using platform::Settings;

TEST(SettingsText, TakesTheTwoFoldersAndSkipsEverythingElse) {
    Settings s;
    platform::ApplySettingsText(s,
                                "# the runtime's folders\n"
                                "\n"
                                "  MERIDOX = /opt/kestran/lib  \r\n"
                                "HELP=/usr/share/doc/kestran\n"
                                "COLOUR=red\n"
                                "no equals sign here\n");
    EXPECT_EQ(s.errorMessageFolder, "/opt/kestran/lib");
    EXPECT_EQ(s.helpFolder, "/usr/share/doc/kestran");
}

TEST(SettingsText, LaterValuesWinAndAnEmptyLibraryFolderKeepsTheDefault) {
    Settings s;
    s.errorMessageFolder = "/program";
    platform::ApplySettingsText(s, "HELP=/a\nHELP=/b\nMERIDOX=\n");
    EXPECT_EQ(s.helpFolder, "/b");
    EXPECT_EQ(s.errorMessageFolder, "/program");
}

TEST(SettingsText, ValueLongerThanTheRegistryTookIsIgnored) {
    Settings s;
    s.errorMessageFolder = "/program";
    platform::ApplySettingsText(s, "MERIDOX=/" + std::string(platform::kMaxSettingsPath, 'x') + "\n");
    EXPECT_EQ(s.errorMessageFolder, "/program");
}

TEST(SettingsText, BinaryGarbageDoesNotHurt) {
    Settings s;
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 37) & 0xFF);
    platform::ApplySettingsText(s, junk);
    SUCCEED();
}

// Points XDG_CONFIG_HOME at a folder of its own for one test.
class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / ("kestran-settings-" + std::to_string(getpid()));
        std::filesystem::create_directories(root_ / "kestran");
        const char* old = std::getenv("XDG_CONFIG_HOME");
        if (old) saved_ = old;
        setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    }
    void TearDown() override {
        if (saved_) {
            setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        std::filesystem::remove_all(root_);
    }
    void WriteUserFile(const std::string& text) { std::ofstream(root_ / "kestran" / "env.conf") << text; }

    std::filesystem::path root_;
    std::optional<std::string> saved_;
};

TEST_F(SettingsFiles, UserFileIsReadAfterTheSystemFile) {
    const auto files = platform::SettingsFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], "/etc/kestran/env.conf");
    EXPECT_EQ(files[1], root_ / "kestran" / "env.conf");
}

TEST_F(SettingsFiles, LibraryFolderDefaultsToTheProgramsFolder) {
    const auto s = platform::LoadSettings("/where/the/program/is");
    EXPECT_EQ(s.errorMessageFolder, "/where/the/program/is");
}

TEST_F(SettingsFiles, UserFileSetsTheFolders) {
    WriteUserFile("MERIDOX=/mine\nHELP=/help\n");
    const auto s = platform::LoadSettings("/program");
    EXPECT_EQ(s.errorMessageFolder, "/mine");
    EXPECT_EQ(s.helpFolder, "/help");
}

TEST_F(SettingsFiles, RelativeXdgFolderIsNotTrusted) {
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    const auto folder = platform::XdgBaseFolder("XDG_CONFIG_HOME", ".config");
    EXPECT_TRUE(folder.empty() || folder.is_absolute()) << folder;
}

// A program folder with the installed folders beside it, in a temporary tree of its own.
class DefaultFolders : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / ("kestran-layout-" + std::to_string(getpid()));
        program_ = root_ / "usr" / "bin";
        std::filesystem::create_directories(program_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    static void Touch(const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "x";
    }

    std::filesystem::path root_, program_;
};

TEST_F(DefaultFolders, InstalledFoldersLieUnderThePrefixWithoutDotDot) {
    for (const auto& folder :
         {platform::InstalledErrorMessageFolder(program_), platform::InstalledHelpFolder(program_)}) {
        const auto text = folder.string();
        EXPECT_EQ(text.find(".."), std::string::npos) << text;
        EXPECT_EQ(text.rfind((root_ / "usr").string(), 0), 0u) << text;
    }
}

TEST_F(DefaultFolders, AnInstalledProgramFindsItsFilesInTheInstalledFolders) {
    Touch(platform::InstalledErrorMessageFolder(program_) / platform::kErrorMessageLibraryName);
    Touch(platform::InstalledHelpFolder(program_) / platform::kHelpFileName);
    const auto s = platform::DefaultSettings(program_);
    EXPECT_EQ(s.errorMessageFolder, platform::InstalledErrorMessageFolder(program_));
    EXPECT_EQ(s.helpFolder, platform::InstalledHelpFolder(program_));
}

TEST_F(DefaultFolders, FilesBesideTheProgramWinAsInABuildTree) {
    Touch(platform::InstalledErrorMessageFolder(program_) / platform::kErrorMessageLibraryName);
    Touch(platform::InstalledHelpFolder(program_) / platform::kHelpFileName);
    Touch(program_ / platform::kErrorMessageLibraryName);
    Touch(program_ / platform::kHelpFileName);
    const auto s = platform::DefaultSettings(program_);
    EXPECT_EQ(s.errorMessageFolder, program_);
    EXPECT_EQ(s.helpFolder, program_);
}

TEST_F(DefaultFolders, WithoutTheFilesTheLibraryIsSoughtBesideTheProgramAndThereIsNoHelp) {
    // A folder that only bears the file's name is no file.
    std::filesystem::create_directories(platform::InstalledHelpFolder(program_) / platform::kHelpFileName);
    const auto s = platform::DefaultSettings(program_);
    EXPECT_EQ(s.errorMessageFolder, program_);
    EXPECT_TRUE(s.helpFolder.empty()) << s.helpFolder;
}

TEST_F(SettingsFiles, TheUsersFoldersWinOverTheInstalledOnes) {
    const auto program = root_ / "bin";
    std::ofstream(root_ / "kestran" / "env.conf") << "MERIDOX=/mine\nHELP=/help\n";
    std::filesystem::create_directories(platform::InstalledHelpFolder(program));
    std::ofstream(platform::InstalledHelpFolder(program) / platform::kHelpFileName) << "x";
    const auto s = platform::LoadSettings(program);
    EXPECT_EQ(s.errorMessageFolder, "/mine");
    EXPECT_EQ(s.helpFolder, "/help");
}

TEST(RunningProgram, FolderIsTheTestProgramsFolder) {
    const auto folder = platform::RunningProgramFolder();
    EXPECT_TRUE(std::filesystem::exists(folder / "platform_tests")) << folder;
}

}  // namespace
}  // namespace kestran::testing
