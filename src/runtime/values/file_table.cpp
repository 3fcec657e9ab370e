#include "runtime/values/file_table.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/drives.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/numbers.h"
#include "runtime/values/system_errors.h"

namespace kestran {

namespace {

// Output is written in pieces of this size while it is printed; the rest at close.
constexpr std::size_t kWriteChunk = 16 * 1024;

constexpr uint32_t kCloseRangeSite = 0x1E01;
constexpr uint32_t kCloseSystemSite = 0x1E02;

// Writes the final 0x1A and commits the temporary file over the target: write out, sync,
// close, rename, sync the folder. Returns 0 or the mapped error number.
int Commit(Runtime& rt, OpenFile& f) {
    platform::FileSystem& fs = *f.fs;
    f.pending += '\x1A';
    if (int err = FlushPending(rt, f, true)) return err;
    auto fail = [&](int result) {
        int number = PbSystemErrorNumber(rt, -result, IoDirection::Writing);
        AbandonOutput(f);
        return number;
    };
    if (int r = fs.Sync(f.fd); r < 0) return fail(r);
    int fd = std::exchange(f.fd, -1);
    if (int r = fs.Close(fd); r < 0) return fail(r);
    if (int r = fs.Rename(f.folderFd, f.tempName, f.target, f.mode != kModeOutputNew); r < 0) return fail(r);
    f.tempName.clear();
    // The new file is complete and in place; a failed folder sync only leaves the rename's
    // durability open, and is reported.
    int r = fs.Sync(f.folderFd);
    return r < 0 ? PbSystemErrorNumber(rt, -r, IoDirection::Writing) : 0;
}

// Closes one file and frees its number. Returns 0 or the error number of a failed commit.
int CloseOne(Runtime& rt, int number) {
    std::unique_ptr<OpenFile> f = std::move(rt.files.slots[static_cast<std::size_t>(number)]);
    if (!f || !f->IsOutput() || f->failedNumber) return 0;
    return Commit(rt, *f);
}

}  // namespace

void PbAbandonFile(Runtime& rt, double n, std::source_location where) {
    int number = CheckedFileNumber(n, kCloseRangeSite, where);
    rt.files.slots[static_cast<std::size_t>(number)].reset();
}

OpenFile::~OpenFile() {
    if (fs) AbandonOutput(*this);
}

void AbandonOutput(OpenFile& f) {
    if (f.fd >= 0) f.fs->Close(std::exchange(f.fd, -1));
    if (!f.tempName.empty() && f.folderFd >= 0) f.fs->Remove(f.folderFd, f.tempName);
    f.tempName.clear();
    if (f.folderFd >= 0) f.fs->Close(std::exchange(f.folderFd, -1));
    f.pending.clear();
}

int FlushPending(Runtime& rt, OpenFile& f, bool all) {
    if (!all && f.pending.size() < kWriteChunk) return 0;
    std::size_t done = 0;
    while (done < f.pending.size()) {
        long n = f.fs->Write(f.fd, f.pending.data() + done, f.pending.size() - done);
        if (n <= 0) {
            int number = PbSystemErrorNumber(rt, n < 0 ? static_cast<int>(-n) : ENOSPC, IoDirection::Writing);
            AbandonOutput(f);
            f.failedNumber = number;
            return number;
        }
        done += static_cast<std::size_t>(n);
    }
    f.pending.clear();
    return 0;
}

FileTable::FileTable() = default;
FileTable::~FileTable() = default;
FileTable& FileTable::operator=(FileTable&&) = default;

OpenFile* FileTable::Find(int number) const {
    if (number < 1 || number > 255) return nullptr;
    return slots[static_cast<std::size_t>(number)].get();
}

int FileTable::openCount() const {
    return static_cast<int>(std::count_if(slots.begin(), slots.end(), [](const auto& f) { return f != nullptr; }));
}

platform::DriveMap& RuntimeDrives(Runtime& rt) {
    if (rt.platform.drives) return *rt.platform.drives;
    if (!rt.files.defaultDrives) rt.files.defaultDrives = std::make_unique<platform::DriveMap>();
    return *rt.files.defaultDrives;
}

int CheckedFileNumber(double n, uint32_t rangeSite, std::source_location where) {
    int32_t number = PbToLong(n, where);
    if (number < 1 || number > 255) PbRaiseError(50, rangeSite, where);
    return number;
}

void PbClose(Runtime& rt, std::initializer_list<double> numbers, std::source_location where) {
    int firstError = 0;
    if (numbers.size() == 0) {
        for (int n = 1; n <= 255; ++n) {
            int err = CloseOne(rt, n);
            if (!firstError) firstError = err;
        }
    } else {
        for (double n : numbers) {
            int err = CloseOne(rt, CheckedFileNumber(n, kCloseRangeSite, where));
            if (!firstError) firstError = err;
        }
    }
    if (firstError) PbRaiseError(firstError, kCloseSystemSite, where);
}

}  // namespace kestran
