// The browser's file system persists where a change is meant to last: at a folder's sync.
#include "platform/web/persisting_file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace kestran::platform::web {
namespace {

// Records the calls that reach it; folders and files get descriptors from one counter, as a
// real system gives them.
class RecordingFileSystem final : public FileSystem {
public:
    int OpenFolder(const std::string& path) override { return Note("OpenFolder " + path, ++fd); }
    int MakeFolder(const std::string& path) override { return Note("MakeFolder " + path, 0); }
    int List(int, std::vector<std::string>& names) override {
        names = {"KSSAVE"};
        return Note("List", 0);
    }
    int InfoAt(int, const std::string& name, FileInfo&) override { return Note("InfoAt " + name, 0); }
    int OpenForReading(int, const std::string& name) override { return Note("OpenForReading " + name, ++fd); }
    int CreateExclusive(int, const std::string& name) override { return Note("CreateExclusive " + name, ++fd); }
    int Info(int, FileInfo&) override { return Note("Info", 0); }
    long Read(int, void*, std::size_t) override { return Note("Read", 0); }
    long Write(int, const void*, std::size_t size) override { return Note("Write", int(size)); }
    int Sync(int) override { return Note("Sync", 0); }
    int Close(int) override { return Note("Close", 0); }
    int Rename(int, const std::string& from, const std::string& to, bool) override {
        return Note("Rename " + from + " " + to, 0);
    }
    int Remove(int, const std::string& name) override { return Note("Remove " + name, 0); }

    std::vector<std::string> calls;
    int fd = 2;

private:
    int Note(std::string call, int result) {
        calls.push_back(std::move(call));
        return result;
    }
};

class PersistingFileSystemTest : public ::testing::Test {
protected:
    RecordingFileSystem inner;
    int persisted = 0;
    int persistResult = 0;
    PersistingFileSystem fs{inner, [this] {
                                ++persisted;
                                return persistResult;
                            }};
};

TEST_F(PersistingFileSystemTest, ASyncedFolderIsPersistedAndASyncedFileIsLeftForIt) {
    const int folder = fs.OpenFolder("/drives/C");
    const int file = fs.CreateExclusive(folder, ".kestran-tmp-1");
    EXPECT_EQ(fs.Write(file, "abc", 3), 3);
    EXPECT_EQ(fs.Sync(file), 0);
    EXPECT_EQ(persisted, 0);
    EXPECT_EQ(fs.Close(file), 0);
    EXPECT_EQ(fs.Rename(folder, ".kestran-tmp-1", "KSSAVE", true), 0);
    EXPECT_EQ(fs.Sync(folder), 0);
    EXPECT_EQ(persisted, 1);
    // Neither sync reached the C library's fsync.
    EXPECT_EQ(inner.calls, (std::vector<std::string>{"OpenFolder /drives/C", "CreateExclusive .kestran-tmp-1", "Write",
                                                     "Close", "Rename .kestran-tmp-1 KSSAVE"}));
}

TEST_F(PersistingFileSystemTest, ARefusedCopyIsItsError) {
    const int folder = fs.OpenFolder("/drives/C");
    persistResult = -ENOSPC;
    EXPECT_EQ(fs.Sync(folder), -ENOSPC);
    persistResult = 0;
    EXPECT_EQ(fs.Sync(folder), 0);
    EXPECT_EQ(persisted, 2);
}

TEST(PersistingFileSystem, AFolderIsOpenedOnWhatTheStorageHoldsNow) {
    RecordingFileSystem inner;
    PersistingFileSystem fs{inner, [] { return 0; }, [&inner] { inner.calls.push_back("Refresh"); }};
    fs.OpenFolder("/drives/C");
    EXPECT_EQ(inner.calls, (std::vector<std::string>{"Refresh", "OpenFolder /drives/C"}));
}

TEST_F(PersistingFileSystemTest, AClosedFoldersNumberTakenByAFileIsAFile) {
    const int folder = fs.OpenFolder("/drives/C");
    EXPECT_EQ(fs.Close(folder), 0);
    inner.fd = folder - 1;  // the system hands the number out again
    const int file = fs.CreateExclusive(3, "x");
    ASSERT_EQ(file, folder);
    EXPECT_EQ(fs.Sync(file), 0);
    EXPECT_EQ(persisted, 0);
}

}  // namespace
}  // namespace kestran::platform::web
