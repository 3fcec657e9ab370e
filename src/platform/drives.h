// Drive folders: the stand-in for the drives of the original's file names. A name "X:NAME"
// names NAME in the folder of drive X. Drive letters are the ASCII letters, either case; the
// folder of drive X is <root>/X (upper case) unless X is mapped to a folder of its own. Drive C
// always exists (its folder is made on first use); another drive exists when its folder exists
// or it is mapped. Nothing outside these folders is read or written: a NAME is one plain folder
// entry (no "/", no NUL, not "." or ".."), never reached through a symlink for reading, and
// output replaces the entry instead of writing through it.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kestran::platform {

class DriveMap {
public:
    // Prefix of the temporary files output is written to before it replaces its target.
    static constexpr std::string_view kTempPrefix = ".kestran-tmp-";

    // Drives under `root`; `fs` null means the real file system.
    explicit DriveMap(std::filesystem::path root = DefaultRoot(), FileSystem* fs = nullptr);

    // $XDG_DATA_HOME/kestran/drives, else ~/.local/share/kestran/drives (relative "kestran-drives"
    // when there is no home folder).
    static std::filesystem::path DefaultRoot();
    static bool IsDriveLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

    // Gives drive `letter` the folder `dir` (--drive X=DIR). False when `letter` is no letter.
    bool Map(char letter, std::filesystem::path dir);

    const std::filesystem::path& root() const { return root_; }
    // The folder drive `letter` stands for (whether or not it exists); nullopt for a non-letter.
    std::optional<std::filesystem::path> FolderPath(unsigned char letter) const;

    // Opens the folder of drive `letter` for the FileSystem's *At calls (made first for C).
    // -ENOENT when there is no such drive. The caller closes the descriptor.
    int OpenDrive(unsigned char letter);

    // True for a name that is one plain entry of a folder: not empty, no "/", no NUL, not "." or
    // "..", not a temporary file of this program.
    static bool IsPlainName(std::string_view name);

    // The entry of the open folder that `name` names: an exact match first, else the first (in
    // byte order) that equals it with ASCII letters compared case-insensitively. nullopt when
    // there is none or the folder cannot be listed.
    std::optional<std::string> FindEntry(int folderFd, std::string_view name);

    // Removes temporary files left by a run that was killed while writing into this folder.
    void RemoveLeftovers(int folderFd);
    // The same in the folder of every drive that exists: the program's start tidies up after a
    // run that was killed in the middle of a save, even when the next save goes elsewhere.
    void RemoveLeftoversOfEveryDrive();
    // A new temporary file name for this process.
    std::string NewTempName();

    FileSystem& fs() { return *fs_; }

private:
    // Makes `folder` and the folders above it that are missing.
    void MakeFolders(const std::filesystem::path& folder);

    std::filesystem::path root_;
    FileSystem* fs_;
    std::array<std::optional<std::filesystem::path>, 26> mapped_{};
    unsigned tempCounter_ = 0;
};

}  // namespace kestran::platform
