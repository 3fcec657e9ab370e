// Save files carried between the drive folders and the player's own files by the page's
// buttons: a save fetched for download, a save brought in (an original one from elsewhere, or a
// predecessor's save to convert). What the file holds is the game's to judge when it loads it;
// the page refuses only what cannot be a save at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/drives.h"

namespace kestran::platform::web {

// The game refuses a larger save as damaged; the page refuses to bring one in.
constexpr std::size_t kMaxSaveFileSize = std::size_t(1) << 20;

enum class TransferStatus { Done, NoDrive, NoFile, TooLarge, Failed };

struct TransferResult {
    TransferStatus status = TransferStatus::Done;
    std::string message;  // for the player (UTF-8); empty when Done
    bool ok() const { return status == TransferStatus::Done; }
};

class SaveTransfer {
public:
    // Works on the drive folders of `drives` (which the page persists after a change itself).
    explicit SaveTransfer(DriveMap& drives) : drives_(drives) {}

    // The file `name` of drive `letter`, looked up without case as the game reads it.
    TransferResult Fetch(char letter, std::string_view name, std::string& bytes);

    // Makes `bytes` the file `name` of drive `letter` (a drive without a folder gets one), in
    // place of the file of that name in any case: a new file written whole and renamed over it,
    // so that a failure leaves the old one as it was.
    TransferResult Place(char letter, std::string_view name, std::string_view bytes);

    // Puts back what the last successful Place changed (the page asks for it when the browser's
    // storage refused the change). False when there was nothing to put back or it failed.
    bool Undo();

private:
    struct Replaced {
        char letter = 'C';
        std::string entry;                  // the name the placed file has in its folder
        std::optional<std::string> before;  // what it held before; nothing when it was new
    };

    // Writes `bytes` over `entry` of the open folder through a temporary file; 0 or -errno.
    int WriteWhole(int folderFd, const std::string& entry, std::string_view bytes);
    int OpenOrMakeDrive(char letter);

    DriveMap& drives_;
    std::optional<Replaced> last_;
};

}  // namespace kestran::platform::web
