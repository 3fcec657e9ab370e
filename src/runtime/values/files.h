// Sequential text files: open, close, PRINT # and INPUT #.
//
// A file name "X:NAME" names NAME in the folder of drive X (platform/drives.h); a name without
// "X:" is on drive C. The drive folders come from rt.platform.drives; when the runtime has none,
// the file table makes a default DriveMap (under $XDG_DATA_HOME/kestran/drives) on first use.
//
// Modes: 1 input (the file must exist), 11 output (replaces the file), 2 output to a file that
// must not exist, 3 append. Output never writes into the existing file: it goes to a temporary
// file in the same folder that replaces the old file only when the file is closed, after being
// written out and synced. A failure at any step raises its error, removes the temporary file
// and leaves the old file as it was; files still open when the table is destroyed are dropped
// the same way (close them with PbClose at a normal end).
//
// Error sites: open 0x20xx, close 0x1Exx, PRINT # 0x53xx (writes 0x5304), INPUT # 0x4Dxx
// (reading 0x4E03, converting 0x4E04). This runtime's own choices where the original's rules
// are silent: a device name (LPT1:, COM1: ...) raises 68; modes 0 and 4 to 10 (random and
// further file kinds) raise 51 (0x2007); a sharing argument outside 0..4 raises 51 (0x2006);
// PRINT # to an input file or INPUT # from an output file raises 51 (0x5303, 0x4E03); a file
// over 1 MiB opened for input or appending, or a field longer than 4096 bytes, raises 54 like a
// file that ends too early; a numeric field that is not a number raises 13 (0x4E04); an empty
// numeric field raises 58.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <source_location>
#include <string_view>

#include "runtime/values/print_item.h"
#include "runtime/values/sjis.h"

namespace kestran {

namespace platform {
class DriveMap;
}

struct Runtime;
struct OpenFile;  // runtime/values/file_table.h

// Open modes.
constexpr int kModeInput = 1;
constexpr int kModeOutputNew = 2;
constexpr int kModeAppend = 3;
constexpr int kModeOutput = 11;

// The longest file name, the largest input file and the longest input field.
constexpr std::size_t kMaxFileName = 260;
constexpr std::size_t kMaxInputFileBytes = 1024 * 1024;
constexpr std::size_t kMaxFieldBytes = 4096;

// The table of open files: numbers 1 to 255, at most 256 open at once.
class FileTable {
public:
    static constexpr int kMaxOpen = 256;

    FileTable();
    ~FileTable();
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;
    // Takes the other's files; the files this table had open are dropped as at its end.
    FileTable& operator=(FileTable&&);

    // The open file under `number` (1..255), or null.
    OpenFile* Find(int number) const;
    int openCount() const;

    // The slots, by number (slot 0 unused), and the default drive map when the platform has none.
    std::array<std::unique_ptr<OpenFile>, 256> slots;
    std::unique_ptr<platform::DriveMap> defaultDrives;
};

// OPEN name FOR mode AS #n. Errors: name over 260 bytes 55 (0x2001); n outside 1..255 50
// (0x2002); n already open 52 (0x2003); mode and sharing 51 (0x2004..0x2007); "?", "*" or an
// empty name 55; system failures by the mapping (0x2008): a missing file or drive 63, access or
// sharing 75, a full disk 67, a bad name 55.
void PbOpen(Runtime& rt, std::string_view name, int mode, int sharing, double fileNumber,
            std::source_location where = std::source_location::current());
// The same with a record length (random files only: 1..2048, else 5; other modes 51, 0x2000).
void PbOpen(Runtime& rt, std::string_view name, int mode, int sharing, double fileNumber, double recordLength,
            std::source_location where = std::source_location::current());

// CLOSE: the listed numbers, or every open file when the list is empty. A number that is not
// open is skipped; outside 1..255 is error 50 (0x1E01). Output files get a final 0x1A and replace
// their target. Every listed file is closed even when one fails; the first failure is raised.
void PbClose(Runtime& rt, std::initializer_list<double> numbers = {},
             std::source_location where = std::source_location::current());

// Frees file number n without closing it: an output file's temporary file is removed and its
// target stays as it was. For error traps, where a half-written file must never be committed
// and the number must be free for the next attempt. A number that is not open is ignored.
void PbAbandonFile(Runtime& rt, double n, std::source_location where = std::source_location::current());

// PRINT #n, items: a string's bytes, then the separator (";" nothing, "," blanks to the next
// zone of 14 columns, End CR LF). Files have no line width. n outside 1..255: 50 (0x5301); not
// open: 57 (0x5302).
void PbPrintFileString(Runtime& rt, double n, std::string_view s, PbSep sep,
                       std::source_location where = std::source_location::current());
// A single's PRINT text (sign or blank, digits, one blank), then the separator.
void PbPrintFileNumber(Runtime& rt, double n, float v, PbSep sep,
                       std::source_location where = std::source_location::current());

// INPUT #n, var: reads one field into a string or a single variable. n outside 1..255: 50
// (0x4D01); not open: 57 (0x4D02); past the end of the file: 54. A failed read leaves the
// variable as it was.
void PbInputFileString(Runtime& rt, double n, PbString& var,
                       std::source_location where = std::source_location::current());
void PbInputFileNumber(Runtime& rt, double n, float& var, std::source_location where = std::source_location::current());

}  // namespace kestran
