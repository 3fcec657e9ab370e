// The error log file: what a fatal error leaves for the maintainer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/error_log_file.h"

namespace kestran::testing {
namespace {

using platform::FatalErrorRecord;
using platform::FileErrorLog;

FatalErrorRecord Record(uint32_t code) {
    FatalErrorRecord r;
    r.module = "title.cpp";
    r.line = 150;
    r.code = code;
    r.func = 0x49;
    r.info = 1;
    r.time = "1999/07/04 09:05:00";
    r.mode = "独立型";
    r.rtl = "KESTRAN RTL 1.0";
    return r;
}

class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() / ("kestran-log-" + std::to_string(getpid()));
        std::filesystem::remove_all(root_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(root_, ec);
    }
    std::string Text() const {
        std::ifstream in(file());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::filesystem::path file() const { return root_ / "kestran" / "error.log"; }

    std::filesystem::path root_;
};

TEST_F(ErrorLogTest, FatalErrorWritesEveryValueInOrderAsUtf8) {
    FileErrorLog log(file());
    log.WriteFatal(Record(5));
    EXPECT_EQ(Text(),
              "MODL=title.cpp\nLINE=150\nCODE=5\nFUNC=73\nINFO=1\nTIME=1999/07/04 09:05:00\n"
              "MODE=独立型\nRTL=KESTRAN RTL 1.0\n");
}

TEST_F(ErrorLogTest, EachFatalErrorReplacesTheLastButKeepsTheSystemCode) {
    FileErrorLog log(file());
    log.WriteFatal(Record(5));
    log.WriteApiError(2);
    log.WriteFatal(Record(63));
    const auto text = Text();
    EXPECT_EQ(text.find("CODE=5"), std::string::npos);
    EXPECT_NE(text.find("CODE=63\n"), std::string::npos);
    EXPECT_NE(text.find("APIERR=2\n"), std::string::npos);
}

TEST_F(ErrorLogTest, SystemCodeIsUpdatedAloneAndOnlyOnce) {
    FileErrorLog log(file());
    log.WriteFatal(Record(5));
    log.WriteApiError(2);
    log.WriteApiError(32);
    const auto text = Text();
    EXPECT_NE(text.find("CODE=5\n"), std::string::npos);
    EXPECT_EQ(text.find("APIERR=2\n"), std::string::npos);
    EXPECT_NE(text.find("APIERR=32\n"), std::string::npos);
    EXPECT_EQ(text.find("APIERR"), text.rfind("APIERR"));
}

// The same code again leaves the file alone (no rewrite, no sync); another code replaces it.
TEST_F(ErrorLogTest, TheSameSystemCodeAgainLeavesTheFileAsItWas) {
    FileErrorLog log(file());
    log.WriteFatal(Record(5));
    log.WriteApiError(123);
    const auto written = std::filesystem::last_write_time(file());
    std::filesystem::last_write_time(file(), written - std::chrono::hours(1));
    log.WriteApiError(123);
    EXPECT_EQ(std::filesystem::last_write_time(file()), written - std::chrono::hours(1));
    log.WriteApiError(2);
    EXPECT_NE(Text().find("APIERR=2\n"), std::string::npos);
    EXPECT_EQ(Text().find("APIERR=123"), std::string::npos);
}

TEST_F(ErrorLogTest, LineBreaksInAValueCannotForgeAnotherValue) {
    FileErrorLog log(file());
    auto r = Record(5);
    r.module = "evil\nCODE=0";
    log.WriteFatal(r);
    const auto text = Text();
    EXPECT_EQ(text.find("\nCODE=0"), std::string::npos);
    EXPECT_NE(text.find("MODL=evil CODE=0\n"), std::string::npos);
}

TEST_F(ErrorLogTest, UnwritableFolderIsSkippedSilently) {
    std::filesystem::create_directories(root_);
    std::filesystem::permissions(root_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    FileErrorLog log(file());
    EXPECT_NO_THROW(log.WriteFatal(Record(5)));
    EXPECT_NO_THROW(log.WriteApiError(5));
    if (geteuid() != 0) {
        EXPECT_FALSE(std::filesystem::exists(file()));
    }
}

TEST_F(ErrorLogTest, NoTemporaryFileIsLeftBehind) {
    FileErrorLog log(file());
    log.WriteFatal(Record(5));
    log.WriteApiError(3);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(file().parent_path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(ErrorLogPath, LivesUnderTheXdgStateFolder) {
    const char* old = std::getenv("XDG_STATE_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_STATE_HOME", "/state", 1);
    EXPECT_EQ(FileErrorLog::DefaultPath(), "/state/kestran/error.log");
    if (old) {
        setenv("XDG_STATE_HOME", saved.c_str(), 1);
    } else {
        unsetenv("XDG_STATE_HOME");
    }
}

}  // namespace
}  // namespace kestran::testing
