#include "runtime/values/system_errors.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "runtime/runtime.h"
#include "runtime/values/file_test_support.h"
#include "runtime/values/pb_error_expect.h"

namespace kestran {
namespace {

TEST(SystemErrors, TheTableOfSystemCodes) {
    const std::pair<uint32_t, int> table[] = {
        {1, 5},    {2, 63},   {3, 63},   {4, 66},   {5, 75},   {8, 7},    {11, 71}, {12, 75},  {15, 72},
        {16, 72},  {17, 72},  {18, 67},  {19, 73},  {20, 60},  {21, 72},  {26, 71}, {27, 71},  {28, 60},
        {29, 67},  {30, 54},  {32, 75},  {33, 75},  {34, 60},  {50, 28},  {80, 64}, {87, 5},   {108, 59},
        {110, 63}, {111, 61}, {112, 67}, {113, 66}, {123, 55}, {183, 64}, {65, 55}, {267, 55},
    };
    for (auto [code, number] : table)
        EXPECT_EQ(ErrorNumberFromSystemCode(code), number) << code;
    for (uint32_t code : {0u, 6u, 7u, 9u, 31u, 1117u, 1359u, 0xFFFFFFFFu})
        EXPECT_EQ(ErrorNumberFromSystemCode(code), 27);
}

TEST(SystemErrors, ErrnoBecomesTheNumberAFileFailureShouldShow) {
    auto number = [](int err, IoDirection d = IoDirection::Other) {
        return ErrorNumberFromSystemCode(SystemCodeFromErrno(err, d));
    };
    EXPECT_EQ(number(ENOENT), 63);
    EXPECT_EQ(number(ENOTDIR), 63);
    EXPECT_EQ(number(EACCES), 75);
    EXPECT_EQ(number(EPERM), 75);
    EXPECT_EQ(number(EBUSY), 75);
    EXPECT_EQ(number(ENOSPC), 67);
    EXPECT_EQ(number(EDQUOT), 67);
    EXPECT_EQ(number(EROFS), 73);
    EXPECT_EQ(number(EEXIST), 64);
    EXPECT_EQ(number(EMFILE), 66);
    EXPECT_EQ(number(ENOMEM), 7);
    EXPECT_EQ(number(ENAMETOOLONG), 61);
    EXPECT_EQ(number(EILSEQ), 55);
    EXPECT_EQ(number(EIO, IoDirection::Writing), 67);
    EXPECT_EQ(number(EIO, IoDirection::Reading), 54);
    EXPECT_EQ(number(EIO), 27);
    EXPECT_EQ(number(EPROTO), 27);
}

TEST(SystemErrors, TheCodeGoesToTheErrorLog) {
    testing::RecordingErrorLog log;
    platform::Platform p;
    Runtime rt(p);
    EXPECT_EQ(PbSystemErrorNumber(rt, ENOSPC), 67);  // no log: nothing to write to
    p.errorLog = &log;
    EXPECT_EQ(PbSystemErrorNumber(rt, ENOENT), 63);
    EXPECT_PB_ERROR(PbRaiseSystemError(rt, EACCES, IoDirection::Writing, 0x2008, std::source_location::current()), 75,
                    0x2008);
    EXPECT_EQ(log.codes, (std::vector<uint32_t>{2, 5}));
}

}  // namespace
}  // namespace kestran
