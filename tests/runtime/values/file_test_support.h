// Test support for the file operations: a runtime over drive folders in a fresh temporary
// folder, an error log that records the system codes, and a file system that fails on cue.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/error_log.h"
#include "platform/file_system.h"
#include "runtime/runtime.h"

namespace kestran::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// Every regular file and symlink below `root`, as paths relative to it.
std::vector<std::string> FilesBelow(const std::filesystem::path& root);

class RecordingErrorLog final : public platform::ErrorLog {
public:
    void WriteFatal(const platform::FatalErrorRecord&) override {}
    void WriteApiError(uint32_t systemCode) override { codes.push_back(systemCode); }
    std::vector<uint32_t> codes;
};

// The real file system, with a hook before every call that changes something. The hook gets
// the call's name and its running count and returns 0 to go on or an errno to fail with.
class FaultyFileSystem final : public platform::FileSystem {
public:
    using Hook = std::function<int(std::string_view call, int count)>;
    Hook hook;
    int calls = 0;

    int OpenFolder(const std::string& path) override { return real_.OpenFolder(path); }
    int MakeFolder(const std::string& path) override { return real_.MakeFolder(path); }
    int List(int fd, std::vector<std::string>& names) override { return real_.List(fd, names); }
    int InfoAt(int fd, const std::string& name, platform::FileInfo& info) override {
        return real_.InfoAt(fd, name, info);
    }
    int OpenForReading(int fd, const std::string& name) override {
        if (int e = Fault("read-open")) return -e;
        return real_.OpenForReading(fd, name);
    }
    int CreateExclusive(int fd, const std::string& name) override {
        if (int e = Fault("create")) return -e;
        return real_.CreateExclusive(fd, name);
    }
    int Info(int fd, platform::FileInfo& info) override { return real_.Info(fd, info); }
    long Read(int fd, void* buffer, std::size_t size) override {
        if (int e = Fault("read")) return -e;
        return real_.Read(fd, buffer, size);
    }
    long Write(int fd, const void* data, std::size_t size) override;
    int Sync(int fd) override {
        if (int e = Fault("sync")) return -e;
        return real_.Sync(fd);
    }
    int Close(int fd) override {
        if (int e = Fault("close")) {
            real_.Close(fd);
            return -e;
        }
        return real_.Close(fd);
    }
    int Rename(int fd, const std::string& from, const std::string& to, bool replace) override {
        if (int e = Fault("rename")) return -e;
        return real_.Rename(fd, from, to, replace);
    }
    int Remove(int fd, const std::string& name) override { return real_.Remove(fd, name); }

    // A write cut short: the hook answering this value writes half the bytes, then returns.
    static constexpr int kHalfWrite = -1;

private:
    int Fault(std::string_view call) { return hook ? hook(call, ++calls) : 0; }
    platform::RealFileSystem real_;
};

// A runtime whose drive folders are below a fresh temporary folder.
class FilesFixture : public ::testing::Test {
protected:
    FilesFixture();

    std::filesystem::path DriveFolder(char letter) const { return temp.path() / "drives" / std::string(1, letter); }
    std::string SaveBytes(const char* entry = "KSSAVE") const { return ReadBytes(DriveFolder('C') / entry); }

    TempFolder temp;
    FaultyFileSystem fs;
    platform::DriveMap drives;
    RecordingErrorLog log;
    platform::Platform platform;
    Runtime rt{platform};
};

}  // namespace kestran::testing
