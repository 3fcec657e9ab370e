// The open-file record and the helpers the file operations share.
#pragma once

#include <cstdint>
#include <source_location>
#include <string>

#include "runtime/values/files.h"

namespace kestran {

namespace platform {
class FileSystem;
}

// Access bits, for the file's own access and for what its sharing argument lets others do.
constexpr int kAccessRead = 1;
constexpr int kAccessWrite = 2;

struct OpenFile {
    OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    // Closes the descriptors and removes a temporary file that was not committed.
    ~OpenFile();

    int number = 0;
    int mode = 0;
    int access = 0;
    int share = 0;
    // Which file this is, for the sharing checks: its folder and the entry name in upper case.
    uint64_t folderDevice = 0;
    uint64_t folderInode = 0;
    std::string entryKey;

    // Input: the whole file, and the position of the next field.
    std::string data;
    std::size_t position = 0;

    // Output: the folder, the temporary file being written and the entry it will replace.
    platform::FileSystem* fs = nullptr;
    int folderFd = -1;
    int fd = -1;
    std::string tempName;
    std::string target;
    std::string pending;   // bytes not yet written to the temporary file
    uint64_t column = 0;   // print column, 0 after every line end
    int failedNumber = 0;  // the error a failed write raised; the file then only closes

    bool IsOutput() const { return (access & kAccessWrite) != 0; }
};

// The drive folders of this runtime (the default map when the platform has none).
platform::DriveMap& RuntimeDrives(Runtime& rt);

// Converts a file number and checks it is 1..255 (error 50 at `rangeSite`).
int CheckedFileNumber(double n, uint32_t rangeSite, std::source_location where);

// Writes out the pending bytes when `all` or when enough have gathered. On failure the
// temporary file is dropped and the mapped error number is returned (0 on success).
int FlushPending(Runtime& rt, OpenFile& f, bool all);

// Drops an output file's temporary file and descriptors; the old file stays as it was.
void AbandonOutput(OpenFile& f);

}  // namespace kestran
