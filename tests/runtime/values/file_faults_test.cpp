// Saving under failures: every failure leaves the old save byte for byte and no temporary file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/values/file_test_support.h"
#include "runtime/values/files.h"
#include "runtime/values/pb_error_expect.h"
#include "support/child_process.h"

namespace kestran {
namespace {

using testing::FaultyFileSystem;
using testing::FilesBelow;
using testing::ReadBytes;
using testing::WriteBytes;

const std::string kOldSave = "OLD HERO\r\n 12 \r\n\x1A";

class FileFaultsTest : public testing::FilesFixture {
protected:
    void SetUp() override { WriteBytes(DriveFolder('C') / "KSSAVE", kOldSave); }

    // Fails the first call named `call` with `err`.
    void FailOn(std::string_view call, int err) {
        fs.hook = [call = std::string(call), err, done = false](std::string_view c, int) mutable {
            if (done || c != call) return 0;
            done = true;
            return err;
        };
    }

    static std::string Line(int i) { return "LINE " + std::to_string(i) + std::string(40, '.'); }

    // The bytes a save of `lines` lines leaves.
    static std::string SaveText(int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += Line(i) + "\r\n";
        return text + "\x1A";
    }

    // A save of `lines` lines: open, print, close. Returns the new file's expected bytes.
    static std::string Save(Runtime& r, int lines) {
        PbOpen(r, "C:KSSAVE", kModeOutput, 1, 1);
        for (int i = 0; i < lines; ++i)
            PbPrintFileString(r, 1, Line(i), PbSep::End);
        PbClose(r, {1});
        return SaveText(lines);
    }

    void ExpectOldSaveAlone() {
        EXPECT_EQ(SaveBytes(), kOldSave);
        EXPECT_EQ(FilesBelow(DriveFolder('C')), std::vector<std::string>{"KSSAVE"});
    }
};

TEST_F(FileFaultsTest, DiskFullAtCloseRaises67AndKeepsTheOldSave) {
    FailOn("write", ENOSPC);
    EXPECT_PB_ERROR(Save(rt, 10), 67, 0x1E02);
    ExpectOldSaveAlone();
    EXPECT_EQ(log.codes, std::vector<uint32_t>{112});
    EXPECT_EQ(rt.files.openCount(), 0);  // the number is free again
    fs.hook = nullptr;
    std::string expected = Save(rt, 3);
    EXPECT_EQ(SaveBytes(), expected);
}

TEST_F(FileFaultsTest, DiskFullWhilePrintingFailsEveryLaterPrint) {
    FailOn("write", ENOSPC);
    PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1);
    std::string big(20000, 'x');
    EXPECT_PB_ERROR(PbPrintFileString(rt, 1, big, PbSep::End), 67, 0x5304);
    EXPECT_PB_ERROR(PbPrintFileString(rt, 1, "more", PbSep::End), 67, 0x5304);
    PbClose(rt, {1});  // the failure was reported; closing just frees the number
    ExpectOldSaveAlone();
}

TEST_F(FileFaultsTest, IoErrorsAndFailedSyncsKeepTheOldSave) {
    for (const char* call : {"write", "sync", "close"}) {
        SCOPED_TRACE(call);
        FailOn(call, EIO);
        EXPECT_PB_ERROR(Save(rt, 10), 67, 0x1E02);  // a write fault
        ExpectOldSaveAlone();
    }
    FailOn("rename", EIO);
    EXPECT_PB_ERROR(Save(rt, 10), 67, 0x1E02);
    ExpectOldSaveAlone();
    FailOn("write", FaultyFileSystem::kHalfWrite);  // a short write is continued
    std::string expected = Save(rt, 10);
    EXPECT_EQ(SaveBytes(), expected);
}

// A rename refused because the target sits on another file system (EXDEV) or is a mount point
// of its own (EBUSY): the temporary file goes and the old save stays.
TEST_F(FileFaultsTest, ARenameAcrossDevicesOrOntoAMountPoint) {
    FailOn("rename", EXDEV);
    EXPECT_PB_ERROR(Save(rt, 10), 72, 0x1E02);
    ExpectOldSaveAlone();
    FailOn("rename", EBUSY);
    EXPECT_PB_ERROR(Save(rt, 10), 75, 0x1E02);
    ExpectOldSaveAlone();
    EXPECT_EQ(log.codes, (std::vector<uint32_t>{17, 32}));
}

TEST_F(FileFaultsTest, ReadOnlyFolders) {
    FailOn("create", EACCES);
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1), 75, 0x2008);
    FailOn("create", EROFS);
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1), 73, 0x2008);
    ExpectOldSaveAlone();
    EXPECT_EQ(log.codes, (std::vector<uint32_t>{5, 19}));
    FailOn("read", EIO);
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeInput, 3, 1), 54, 0x2008);  // a read fault
}

TEST_F(FileFaultsTest, ARealReadOnlyFolder) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    std::filesystem::permissions(DriveFolder('C'),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_PB_ERROR(PbOpen(rt, "C:KSSAVE", kModeOutput, 1, 1), 75, 0x2008);
    std::filesystem::permissions(DriveFolder('C'), std::filesystem::perms::owner_all);
    ExpectOldSaveAlone();
}

TEST_F(FileFaultsTest, LeftoversOfAKilledRunAreRemovedByTheNextSave) {
    WriteBytes(DriveFolder('C') / ".kestran-tmp-999999999-1", "half a save");
    WriteBytes(DriveFolder('C') / ".kestran-tmp-junk", "half a save");
    std::string ours = ".kestran-tmp-" + std::to_string(::getpid()) + "-999";
    WriteBytes(DriveFolder('C') / ours, "a file this process may still be writing");
    std::string expected = Save(rt, 2);
    EXPECT_EQ(SaveBytes(), expected);
    EXPECT_EQ(FilesBelow(DriveFolder('C')), (std::vector<std::string>{ours, "KSSAVE"}));
}

// A child process saves and kills itself at the n-th change it makes to the disk (creating,
// each write, syncing, closing, renaming), or right after writing half of the n-th write.
// Whenever it dies, the save on disk is the old one or the new one, byte for byte, and the next
// save removes what the dead run left behind.
TEST_F(FileFaultsTest, AKillAtAnyWriteLeavesTheOldOrTheNewSave) {
    const std::string newSave = SaveText(1000);  // about 50 KB: several writes
    int kills = 0;
    int newSeen = 0;
    bool finished = false;
    for (int step = 1; !finished; ++step) {
        ASSERT_LT(step, 100) << "the save never finished";
        for (bool half : {false, true}) {
            WriteBytes(DriveFolder('C') / "KSSAVE", kOldSave);
            pid_t child = kestran::testing::ForkDyingWithParent();
            ASSERT_GE(child, 0);
            if (child == 0) {
                fs.hook = [step, half](std::string_view call, int count) {
                    if (half && count == step && call == "write") return FaultyFileSystem::kHalfWrite;
                    if (count == step + (half ? 1 : 0)) ::kill(::getpid(), SIGKILL);
                    return 0;
                };
                try {
                    Save(rt, 1000);
                } catch (...) {
                    ::_exit(2);
                }
                ::_exit(0);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            std::string onDisk = SaveBytes();
            if (WIFSIGNALED(status)) {
                ASSERT_EQ(WTERMSIG(status), SIGKILL);
                ++kills;
                ASSERT_TRUE(onDisk == kOldSave || onDisk == newSave) << "step " << step << " half " << half;
                newSeen += onDisk == newSave;
            } else {
                ASSERT_TRUE(WIFEXITED(status));
                ASSERT_EQ(WEXITSTATUS(status), 0);
                if (!half) finished = true;
            }
        }
    }
    EXPECT_EQ(SaveBytes(), newSave);
    EXPECT_GE(kills, 12);
    EXPECT_GE(newSeen, 1);  // killed after the rename, before the folder sync
    fs.hook = nullptr;
    Save(rt, 2);
    EXPECT_EQ(FilesBelow(DriveFolder('C')), std::vector<std::string>{"KSSAVE"});
}

}  // namespace
}  // namespace kestran
