// A scratch copy of the drive folders for a watched replay. The game starts again for every step
// back and must find the same files each time, and a replay must never write the player's own
// saves: the copy is taken once, when watching starts (the plain files of every drive folder that
// exists, mapped ones included), each run of the game plays on a fresh copy of it, and all of it
// is removed with the object (or, after a signal ended the program, by the next one that watches).
#pragma once

#include <filesystem>
#include <string>

#include "platform/drives.h"

namespace kestran::platform {

class ScratchDrives {
public:
    ScratchDrives() = default;
    ~ScratchDrives();
    ScratchDrives(const ScratchDrives&) = delete;
    ScratchDrives& operator=(const ScratchDrives&) = delete;

    // Copies the drives of `real` into a new folder under `parent`. False, with the reason, when
    // it cannot.
    bool Create(const DriveMap& real, const std::filesystem::path& parent, std::string& error);

    // The root of a fresh copy for the next run (what the last run wrote is dropped). False, with
    // the reason, when it cannot be made.
    bool Fresh(std::filesystem::path& root, std::string& error);

private:
    std::filesystem::path folder_;  // holds "taken" (the copy) and "run" (the run's copy of it)
};

}  // namespace kestran::platform
