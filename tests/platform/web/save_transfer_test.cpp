// Save files carried in and out of the drive folders by the page: found as the game finds them,
// replaced whole or not at all, refused when they cannot be a save, and put back on request.
#include "platform/web/save_transfer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace kestran::platform::web {
namespace {

namespace fs = std::filesystem;

// The real file system, with writes that fail on request (a full disk).
class FailingWrites final : public FileSystem {
public:
    int OpenFolder(const std::string& path) override { return real.OpenFolder(path); }
    int MakeFolder(const std::string& path) override { return real.MakeFolder(path); }
    int List(int folder, std::vector<std::string>& names) override { return real.List(folder, names); }
    int InfoAt(int folder, const std::string& name, FileInfo& info) override { return real.InfoAt(folder, name, info); }
    int OpenForReading(int folder, const std::string& name) override { return real.OpenForReading(folder, name); }
    int CreateExclusive(int folder, const std::string& name) override { return real.CreateExclusive(folder, name); }
    int Info(int fd, FileInfo& info) override { return real.Info(fd, info); }
    long Read(int fd, void* buffer, std::size_t size) override { return real.Read(fd, buffer, size); }
    long Write(int fd, const void* data, std::size_t size) override {
        return full ? -ENOSPC : real.Write(fd, data, size);
    }
    int Sync(int fd) override { return real.Sync(fd); }
    int Close(int fd) override { return real.Close(fd); }
    int Rename(int folder, const std::string& from, const std::string& to, bool replace) override {
        return real.Rename(folder, from, to, replace);
    }
    int Remove(int folder, const std::string& name) override { return real.Remove(folder, name); }

    RealFileSystem real;
    bool full = false;
};

class SaveTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kestran-transfer-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        drives.emplace(root, &files);
        transfer.emplace(*drives);
    }
    void TearDown() override { fs::remove_all(root); }

    void Write(const fs::path& file, const std::string& bytes) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> Entries(char drive) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(root / std::string(1, drive)))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path root;
    FailingWrites files;
    std::optional<DriveMap> drives;
    std::optional<SaveTransfer> transfer;
};

TEST_F(SaveTransferTest, ASaveIsFetchedUnderAnyCaseOfItsName) {
    Write(root / "C" / "kssave", "hero\r\n");
    std::string bytes;
    const auto result = transfer->Fetch('c', "KSSAVE", bytes);
    EXPECT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(bytes, "hero\r\n");
}

TEST_F(SaveTransferTest, WhatCannotBeFetchedIsSaidInWords) {
    std::string bytes;
    auto result = transfer->Fetch('C', "KSSAVE", bytes);  // drive C is made, but holds nothing
    EXPECT_EQ(result.status, TransferStatus::NoFile);
    EXPECT_EQ(result.message, "There is no KSSAVE on drive C.");
    result = transfer->Fetch('d', "KSSAVE", bytes);
    EXPECT_EQ(result.status, TransferStatus::NoDrive);
    EXPECT_EQ(result.message, "There is no drive D.");
    EXPECT_EQ(transfer->Fetch('1', "KSSAVE", bytes).status, TransferStatus::NoDrive);
    EXPECT_EQ(transfer->Fetch('C', "../C/KSSAVE", bytes).status, TransferStatus::NoFile);
    Write(root / "C" / "KSSAVE", std::string(kMaxSaveFileSize + 1, 'x'));
    EXPECT_EQ(transfer->Fetch('C', "KSSAVE", bytes).status, TransferStatus::TooLarge);
}

TEST_F(SaveTransferTest, APlacedSaveReplacesTheOldOneWholeUnderItsOwnName) {
    Write(root / "C" / "KsSave", "old");
    const auto result = transfer->Place('C', "KSSAVE", "new save");
    EXPECT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(Entries('C'), std::vector<std::string>{"KsSave"});  // no second file, no temporary one
    EXPECT_EQ(Read(root / "C" / "KsSave"), "new save");
}

TEST_F(SaveTransferTest, ADriveWithoutAFolderGetsOneAndANonLetterIsNoDrive) {
    EXPECT_TRUE(transfer->Place('e', "VELDSAVE", "old hero").ok());
    EXPECT_EQ(Read(root / "E" / "VELDSAVE"), "old hero");
    const auto result = transfer->Place(':', "KSSAVE", "x");
    EXPECT_EQ(result.status, TransferStatus::NoDrive);
    EXPECT_EQ(result.message, "There is no drive :.");
}

TEST_F(SaveTransferTest, WhatCannotBeASaveIsRefusedAndChangesNothing) {
    Write(root / "C" / "KSSAVE", "kept");
    auto result = transfer->Place('C', "KSSAVE", std::string(kMaxSaveFileSize + 1, 'x'));
    EXPECT_EQ(result.status, TransferStatus::TooLarge);
    EXPECT_NE(result.message.find("larger than 1 MiB"), std::string::npos);
    EXPECT_TRUE(transfer->Place('C', "KSSAVE", std::string(kMaxSaveFileSize, 'x')).ok());  // the limit itself is taken
    EXPECT_TRUE(transfer->Undo());
    EXPECT_EQ(transfer->Place('C', "", "x").status, TransferStatus::Failed);
    EXPECT_EQ(transfer->Place('C', ".kestran-tmp-1", "x").status, TransferStatus::Failed);
    EXPECT_EQ(Entries('C'), std::vector<std::string>{"KSSAVE"});
    EXPECT_EQ(Read(root / "C" / "KSSAVE"), "kept");
}

TEST_F(SaveTransferTest, AFailedWriteLeavesTheOldSaveAndNoTemporaryFile) {
    Write(root / "C" / "KSSAVE", "kept");
    files.full = true;
    const auto result = transfer->Place('C', "KSSAVE", "new");
    EXPECT_EQ(result.status, TransferStatus::Failed);
    EXPECT_NE(result.message.find("could not be stored"), std::string::npos);
    EXPECT_EQ(Entries('C'), std::vector<std::string>{"KSSAVE"});
    EXPECT_EQ(Read(root / "C" / "KSSAVE"), "kept");
    EXPECT_FALSE(transfer->Undo());  // nothing was placed
}

TEST_F(SaveTransferTest, AnUndoPutsBackWhatThePlacementChanged) {
    Write(root / "C" / "KSSAVE", "before");
    ASSERT_TRUE(transfer->Place('C', "KSSAVE", "after").ok());
    EXPECT_TRUE(transfer->Undo());
    EXPECT_EQ(Read(root / "C" / "KSSAVE"), "before");
    EXPECT_FALSE(transfer->Undo());  // once only

    ASSERT_TRUE(transfer->Place('C', "VELDSAVE", "brought in").ok());
    EXPECT_TRUE(transfer->Undo());  // a file that was new goes again
    EXPECT_EQ(Entries('C'), std::vector<std::string>{"KSSAVE"});
}

}  // namespace
}  // namespace kestran::platform::web
