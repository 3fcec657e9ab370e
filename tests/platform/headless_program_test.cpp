// The built program run headless, as the replay harness and the player's scripts run it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/child_process.h"

namespace {

namespace fs = std::filesystem;

class HeadlessProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kestran_program_test_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the program headless with its own drives folder and `args`; returns its exit status,
    // with stdout in out_ and stderr in err_.
    int Run(const std::string& args) {
        const std::string errPath = (dir_ / "stderr").string();
        const std::string command = std::string(KESTRAN_BINARY_DIR) +
                                    "/src/kestran --backend=headless --drives=" + (dir_ / "drives").string() + " " +
                                    args + " >" + (dir_ / "stdout").string() + " 2>" + errPath;
        // From the test's own folder: a file that an option given "--help" as its value names lands there.
        const auto status = kestran::testing::RunCommand("cd " + dir_.string() + " && exec " + command);
        err_ = Read(dir_ / "stderr");
        out_ = Read(dir_ / "stdout");
        return status.value_or(-1);
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string err_;
    std::string out_;
};

TEST_F(HeadlessProgramTest, TheDumpShowsTheTitleAtItsCells) {
    ASSERT_EQ(
        Run("--backend=headless --seed=1 --keys=xyz --dump-text=" + Path("t.txt") + " --dump-png=" + Path("t.png")), 0)
        << err_;
    std::istringstream text(Read(dir_ / "t.txt"));
    std::vector<std::string> rows;
    for (std::string line; std::getline(text, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_EQ(rows[5], std::string(33, ' ') + "KESTRAN");
    EXPECT_EQ(rows[14], std::string(33, ' ') + "(N) NEW  GAME");
    EXPECT_EQ(rows[15], std::string(33, ' ') + "(L) DATA LORD");
    EXPECT_EQ(rows[16], std::string(34, ' ') + "(D) CONVERT");
    EXPECT_EQ(rows[20].find_first_not_of(' '), 27u);
    EXPECT_EQ(rows[21].find_first_not_of(' '), 13u);
    EXPECT_EQ(rows[0], "");
    EXPECT_EQ(Read(dir_ / "t.png").substr(1, 3), "PNG");
}

TEST_F(HeadlessProgramTest, ARecordingReplaysToTheSameTrace) {
    ASSERT_EQ(Run("--seed=5 --keys=a{F1}{Enter}ア --record=" + Path("r.keys") + " --trace=" + Path("t1")), 0) << err_;
    const std::string recorded = Read(dir_ / "r.keys");
    EXPECT_EQ(recorded.substr(0, 8), "#seed 5\n");
    ASSERT_EQ(Run("--keys-file=" + Path("r.keys") + " --trace=" + Path("t2")), 0) << err_;
    const std::string trace = Read(dir_ / "t1");
    EXPECT_EQ(trace, Read(dir_ / "t2"));
    EXPECT_NE(trace.find("@@ 3 {Enter}\n"), std::string::npos);
    EXPECT_NE(trace.find("@@ 4 {x83}\n"), std::string::npos);
    EXPECT_NE(trace.find("@@ 6 {Close}\n"), std::string::npos);
}

TEST_F(HeadlessProgramTest, BadCommandLinesAreRefusedBeforeAnythingRuns) {
    EXPECT_EQ(Run("--keys={Entr} --trace=" + Path("t")), 2);
    EXPECT_NE(err_.find("unknown key name {Entr}"), std::string::npos) << err_;
    EXPECT_EQ(Read(dir_ / "t"), "");
    EXPECT_EQ(Run("--frobnicate"), 2);
    EXPECT_NE(err_.find("unknown option --frobnicate"), std::string::npos) << err_;
    EXPECT_EQ(Run("--seed=-1"), 2);
    EXPECT_EQ(Run("--keys=a --keys-file=" + Path("k")), 2);
    EXPECT_EQ(Run("--keys-file=" + Path("missing")), 2);
    EXPECT_EQ(Run("--font=" + Path("missing.hex")), 2);
    EXPECT_EQ(Run("--dump-text=" + Path("no/such/dir/t.txt")), 2);
}

TEST_F(HeadlessProgramTest, AWatchThatCannotBePlayedIsRefused) {
    std::ofstream(Path("seedless.keys")) << "NCARL{Enter}\n";
    std::ofstream(Path("foreign.keys")) << "#seed 3\n\x89PNG\r\n\x1A\n";
    std::ofstream(Path("good.keys")) << "#seed 3\nNCARL{Enter}\n";
    EXPECT_EQ(Run("--backend=tty --watch=" + Path("seedless.keys")), 2);
    EXPECT_NE(err_.find("names no seed"), std::string::npos) << err_;
    EXPECT_EQ(Run("--backend=tty --watch=" + Path("foreign.keys")), 2);
    EXPECT_NE(err_.find("not UTF-8"), std::string::npos) << err_;
    EXPECT_EQ(Run("--watch=" + Path("good.keys")), 2);  // headless: nothing to watch on
    EXPECT_EQ(Run("--watch=" + Path("good.keys") + " --keys=a --backend=tty"), 2);
    EXPECT_EQ(Run("--speed=8"), 2);
    EXPECT_EQ(Run("--backend=tty --speed=1001 --watch=" + Path("good.keys")), 2);
    EXPECT_FALSE(fs::exists(dir_ / "drives"));
}

TEST_F(HeadlessProgramTest, HelpAndVersion) {
    EXPECT_EQ(Run("--version"), 0);
    EXPECT_EQ(out_.substr(0, 8), "kestran ");
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(out_.find("--keys-file=PATH"), std::string::npos);
}

// The long options a text names ("--name", "\\-\\-name" in the manual's roff).
std::set<std::string> LongOptions(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    std::set<std::string> names;
    const std::regex option("--[a-z][a-z-]*[a-z]");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        names.insert(it->str());
    return names;
}

TEST_F(HeadlessProgramTest, TheHelpAndTheManualNameTheSameOptionsAndTheProgramKnowsThemAll) {
    ASSERT_EQ(Run("--help"), 0);
    const auto inHelp = LongOptions(out_);
    const auto inManual = LongOptions(Read(fs::path(KESTRAN_SOURCE_DIR) / "docs" / "kestran.6"));
    EXPECT_GE(inHelp.size(), 15u);  // every option of the parser
    EXPECT_EQ(inHelp, inManual);
    EXPECT_NE(out_.find("Ctrl+O"), std::string::npos);
    for (const auto& name : inManual) {
        // An option that takes a value takes "--help" as it; none is unknown.
        Run(name + " --help");
        EXPECT_EQ(err_.find("unknown option"), std::string::npos) << name << ": " << err_;
    }
}

}  // namespace
