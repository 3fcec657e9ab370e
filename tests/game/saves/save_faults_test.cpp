// Saving the hero when the disk misbehaves. A run killed at any step of a save leaves the old
// save or the new one, and the next start removes its temporary file. Real faults (a full
// drive, a read-only mount, a save file that is a mount point) show the save's message, keep
// the old save, and the save goes through once the fault is gone. The real faults need mounts
// in a private mount namespace, so they run as root only and are skipped elsewhere.
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <iostream>

#include "game/game_fixture.h"
#include "game/saves/saving.h"
#include "runtime/values/file_test_support.h"
#include "support/child_process.h"

namespace kestran::game::testing {
namespace {

using kestran::testing::FaultyFileSystem;

constexpr const char* kSaveFailed = " 指定したデバイスが見つかりませんでした";
constexpr const char* kSaved = " セーブしました";

// A window that calls `onWait` with the running number of each wait before handing out a key.
class CueWindow final : public kestran::testing::FakeWindow {
public:
    std::function<void(int)> onWait;
    bool WaitEvent(Event& event, int timeoutMs) override {
        if (onWait) onWait(waits + 1);
        return FakeWindow::WaitEvent(event, timeoutMs);
    }
};

// True when this process may mount in a mount namespace of its own (entered on first call).
bool PrivateMounts(std::string& why) {
    static const std::string reason = [] {
        if (::geteuid() != 0) return std::string("mounting needs root");
        if (::unshare(CLONE_NEWNS) != 0) return std::string("no mount namespace: ") + std::strerror(errno);
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("mounts cannot be made private: ") + std::strerror(errno);
        return std::string();
    }();
    why = reason;
    return reason.empty();
}

class SaveFaultsTest : public GameTest {
protected:
    SaveFaultsTest() : faultyDrives_(dir_, &faulty_) {
        platform_.window = &cue_;
        platform_.drives = &faultyDrives_;
        s.heroName = "NEW";
        s.gold = 99;
        s.heroLevel = 2;
        oldSave_ = ReadBytes(fs::path(KESTRAN_SOURCE_DIR) / "tests/fuzz_saves/town.KSSAVE");
    }
    ~SaveFaultsTest() override {
        for (auto it = mounts_.rbegin(); it != mounts_.rend(); ++it)
            ::umount2(it->c_str(), MNT_DETACH);
    }

    void CueKeys(std::string_view script) {
        platform::KeyScript parsed;
        std::string error;
        const auto encode = [](std::string_view utf8, std::string& sjis) { return Utf8ToSjis(utf8, sjis); };
        ASSERT_TRUE(platform::ParseKeyScript(script, false, encode, parsed, error)) << error;
        for (const auto& e : parsed.keys)
            cue_.waitEvents.push_back(e);
    }

    // The bytes a save of `s` makes, from a save to drive D with nothing failing.
    std::string NewSave() {
        CueKeys("DYx");
        fs::create_directories(dir_ / "D");
        EXPECT_TRUE(Play([&] { SaveCharacter(g); }));
        return ReadBytes(DrivePath('D', "KSSAVE"));
    }

    std::vector<std::string> FilesOfC() const { return kestran::testing::FilesBelow(dir_ / "C"); }

    void Mount(const fs::path& target, const char* source, const char* type, unsigned long flags,
               const char* options = nullptr) {
        ASSERT_EQ(::mount(source, target.c_str(), type, flags, options), 0) << std::strerror(errno);
        mounts_.push_back(target);
    }
    void Unmount(const fs::path& target) {
        ASSERT_EQ(::umount2(target.c_str(), 0), 0) << std::strerror(errno);
        std::erase(mounts_, target);
    }

    // Saves to C while `fault` stands: the first attempt must fail with the save's message and
    // the old save untouched; `lift` then removes the fault and the second attempt must save.
    void ExpectFailureThenSave(const std::function<void()>& lift) {
        const std::string expected = NewSave();
        std::string messageAtFailure;
        std::string saveAtFailure;
        std::vector<std::string> filesAtFailure;
        cue_.onWait = [&](int wait) {
            if (wait != 6) return;  // the three of drive D's save, then C, Y and this key
            messageAtFailure = Row(1);
            saveAtFailure = ReadBytes(DrivePath('C', "KSSAVE"));
            filesAtFailure = FilesOfC();
            lift();
        };
        CueKeys("CYxCYx");
        ASSERT_TRUE(Play([&] { SaveCharacter(g); }));
        cue_.onWait = nullptr;
        EXPECT_EQ(messageAtFailure, kSaveFailed);
        EXPECT_EQ(saveAtFailure, oldSave_);
        EXPECT_EQ(Row(1), kSaved);
        EXPECT_EQ(ReadBytes(DrivePath('C', "KSSAVE")), expected);
        EXPECT_EQ(rt.files.Find(1), nullptr);
        for (const auto& name : filesAtFailure)
            EXPECT_FALSE(name.starts_with(platform::DriveMap::kTempPrefix)) << "left behind: " << name;
    }

    CueWindow cue_;
    FaultyFileSystem faulty_;
    platform::DriveMap faultyDrives_;
    std::string oldSave_;
    std::vector<fs::path> mounts_;
};

// A child process saves the hero and is killed at the n-th change it makes to the disk (the
// temporary file's creation, each write, the file's sync, its close, the rename, the folder's
// sync), or after half of the n-th write.
TEST_F(SaveFaultsTest, AKillAtEveryStepOfASaveLeavesTheOldOrTheNewSave) {
    const std::string newSave = NewSave();
    faulty_.calls = 0;
    int kills = 0;
    int newSeen = 0;
    bool finished = false;
    for (int step = 1; !finished; ++step) {
        ASSERT_LT(step, 50) << "the save never finished";
        for (bool half : {false, true}) {
            WriteBytes(DrivePath('C', "KSSAVE"), oldSave_);
            const pid_t child = kestran::testing::ForkDyingWithParent();
            ASSERT_GE(child, 0);
            if (child == 0) {
                faulty_.calls = 0;
                faulty_.hook = [step, half](std::string_view call, int count) {
                    if (half && count == step && call == "write") return FaultyFileSystem::kHalfWrite;
                    if (count == step + (half ? 1 : 0)) ::kill(::getpid(), SIGKILL);
                    return 0;
                };
                CueKeys("CYx");
                ::_exit(Play([&] { SaveCharacter(g); }) ? 0 : 2);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            const std::string onDisk = ReadBytes(DrivePath('C', "KSSAVE"));
            if (WIFSIGNALED(status)) {
                ++kills;
                ASSERT_TRUE(onDisk == oldSave_ || onDisk == newSave) << "step " << step << " half " << half;
                newSeen += onDisk == newSave;
            } else {
                ASSERT_EQ(WEXITSTATUS(status), 0);
                EXPECT_EQ(onDisk, newSave);
                finished = finished || !half;
            }
        }
    }
    EXPECT_GE(kills, 7);    // creation, write, half a write, sync, close, rename, folder sync
    EXPECT_GE(newSeen, 1);  // killed after the rename
    std::cout << "  " << kills << " kills during a save, none lost the save\n";
    // The dead runs' temporary files are gone after the next start.
    platform::DriveMap(dir_).RemoveLeftoversOfEveryDrive();
    EXPECT_EQ(FilesOfC(), std::vector<std::string>{"KSSAVE"});
}

TEST_F(SaveFaultsTest, AFullDrive) {
    std::string why;
    if (!PrivateMounts(why)) GTEST_SKIP() << why;
    fs::create_directories(dir_ / "C");
    Mount(dir_ / "C", "kestran-test", "tmpfs", 0, "size=64k");
    WriteBytes(DrivePath('C', "KSSAVE"), oldSave_);
    const fs::path filler = DrivePath('C', "FILLER");
    {
        std::ofstream out(filler, std::ios::binary);
        const std::string block(4096, 'f');
        for (int i = 0; i < 64 && out; ++i)
            out.write(block.data(), std::streamsize(block.size())).flush();
    }
    ExpectFailureThenSave([&] { fs::remove(filler); });
    EXPECT_EQ(FilesOfC(), std::vector<std::string>{"KSSAVE"});
}

TEST_F(SaveFaultsTest, AReadOnlyMount) {
    std::string why;
    if (!PrivateMounts(why)) GTEST_SKIP() << why;
    WriteBytes(DrivePath('C', "KSSAVE"), oldSave_);
    Mount(dir_ / "C", (dir_ / "C").c_str(), nullptr, MS_BIND);
    ASSERT_EQ(::mount(nullptr, (dir_ / "C").c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0)
        << std::strerror(errno);
    ExpectFailureThenSave([&] { Unmount(dir_ / "C"); });
}

// A drive folder that is a mount point of its own saves as any other: the temporary file is
// made beside its target, so the rename never crosses file systems.
TEST_F(SaveFaultsTest, ADriveFolderThatIsAMountPoint) {
    std::string why;
    if (!PrivateMounts(why)) GTEST_SKIP() << why;
    fs::create_directories(dir_ / "C");
    Mount(dir_ / "C", "kestran-test", "tmpfs", 0, "size=1m");
    WriteBytes(DrivePath('C', "KSSAVE"), oldSave_);
    const std::string expected = NewSave();
    CueKeys("CYx");
    ASSERT_TRUE(Play([&] { SaveCharacter(g); }));
    EXPECT_EQ(Row(1), kSaved);
    EXPECT_EQ(ReadBytes(DrivePath('C', "KSSAVE")), expected);
}

// A save file that is itself a mount point cannot be replaced (the rename fails).
TEST_F(SaveFaultsTest, ASaveFileThatIsAMountPoint) {
    std::string why;
    if (!PrivateMounts(why)) GTEST_SKIP() << why;
    WriteBytes(DrivePath('C', "KSSAVE"), "placeholder");
    WriteBytes(dir_ / "elsewhere", oldSave_);
    Mount(DrivePath('C', "KSSAVE"), (dir_ / "elsewhere").c_str(), nullptr, MS_BIND);
    ExpectFailureThenSave([&] {
        Unmount(DrivePath('C', "KSSAVE"));
        WriteBytes(DrivePath('C', "KSSAVE"), oldSave_);
    });
    EXPECT_EQ(ReadBytes(dir_ / "elsewhere"), oldSave_);
}

}  // namespace
}  // namespace kestran::game::testing
