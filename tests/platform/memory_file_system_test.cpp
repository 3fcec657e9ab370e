// The file system in memory answers the calls of saving and loading as the system does.
#include "platform/memory_file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kestran::platform {
namespace {

// Saving's calls and their faults under `root`: every result, the bytes read and the folder's
// names, in order.
std::vector<std::string> SaveAndLoad(FileSystem& fs, const std::string& root) {
    std::vector<std::string> out;
    const auto note = [&out](long result) { out.push_back(std::to_string(result)); };
    note(fs.MakeFolder(root + "/none/C"));
    note(fs.MakeFolder(root + "/C"));
    note(fs.MakeFolder(root + "/C"));
    const int folder = fs.OpenFolder(root + "/C");
    note(fs.MakeFolder(root + "/C/sub"));
    const int temp = fs.CreateExclusive(folder, "t1");
    note(fs.CreateExclusive(folder, "t1"));
    note(fs.CreateExclusive(folder, "sub"));
    note(fs.Write(temp, "old", 3));
    note(fs.Sync(temp));
    note(fs.Close(temp));
    note(fs.Rename(folder, "t1", "SAVE", false));
    const int second = fs.CreateExclusive(folder, "t2");
    note(fs.Write(second, "new!", 4));
    note(fs.Close(second));
    note(fs.Rename(folder, "t2", "SAVE", false));
    note(fs.Rename(folder, "t2", "sub", true));
    const int reader = fs.OpenForReading(folder, "SAVE");
    note(fs.Rename(folder, "t2", "SAVE", true));
    note(fs.Remove(folder, "SAVE"));  // the open file stays readable
    char bytes[8] = {};
    note(fs.Read(reader, bytes, sizeof bytes));
    out.emplace_back(bytes);
    note(fs.Read(reader, bytes, sizeof bytes));
    note(fs.Close(reader));
    note(fs.Write(reader, "x", 1));
    FileInfo info;
    note(fs.InfoAt(folder, "sub", info));
    note(static_cast<long>(info.kind));
    note(fs.InfoAt(folder, "SAVE", info));
    note(fs.OpenForReading(folder, "SAVE"));
    note(fs.Remove(folder, "SAVE"));
    std::vector<std::string> names;
    note(fs.List(folder, names));
    std::sort(names.begin(), names.end());
    out.insert(out.end(), names.begin(), names.end());
    const int file = fs.CreateExclusive(folder, "f");
    fs.Close(file);
    note(fs.OpenFolder(root + "/C/f"));
    note(fs.OpenFolder(root + "/C/none"));
    note(fs.Close(folder));
    return out;
}

TEST(MemoryFileSystemTest, SavingAndLoadingGetTheAnswersOfTheSystem) {
    std::string root = (std::filesystem::temp_directory_path() / "kestran-memory-XXXXXX").string();
    ASSERT_NE(::mkdtemp(root.data()), nullptr);
    const auto onDisk = SaveAndLoad(SystemFileSystem(), root);
    std::filesystem::remove_all(root);

    MemoryFileSystem memory;
    memory.Restore({{root, {}}});
    EXPECT_EQ(SaveAndLoad(memory, root), onDisk);
    const auto contents = memory.contents();
    EXPECT_EQ(contents.at(root + "/C"), (MemoryFileSystem::Files{{"f", ""}}));
    EXPECT_TRUE(contents.at(root + "/C/sub").empty());
}

TEST(MemoryFileSystemTest, RestoringPutsBackTheFilesAndClosesEveryDescriptor) {
    MemoryFileSystem memory;
    const MemoryFileSystem::Contents start = {{"/d/C", {{"KSSAVE", "hero"}}}, {"/d/E", {}}};
    memory.Restore(start);
    const int folder = memory.OpenFolder("/d/C");
    const int file = memory.CreateExclusive(folder, "KSSAVE2");
    memory.Write(file, "x", 1);
    memory.Remove(folder, "KSSAVE");
    memory.MakeFolder("/d/D");

    memory.Restore(start);
    EXPECT_EQ(memory.Write(file, "y", 1), -EBADF);
    EXPECT_EQ(memory.Close(folder), -EBADF);
    const MemoryFileSystem::Contents expected = {{"/", {}}, {"/d", {}}, {"/d/C", {{"KSSAVE", "hero"}}}, {"/d/E", {}}};
    EXPECT_EQ(memory.contents(), expected);
}

}  // namespace
}  // namespace kestran::platform
