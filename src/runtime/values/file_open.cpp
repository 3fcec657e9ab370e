#include "runtime/values/file_open.h"

#include <cerrno>
#include <optional>

#include "platform/drives.h"
#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/numbers.h"
#include "runtime/values/system_errors.h"

namespace kestran {

namespace {

constexpr uint32_t kSiteRecordLength = 0x2000;
constexpr uint32_t kSiteNameLength = 0x2001;
constexpr uint32_t kSiteNumberRange = 0x2002;
constexpr uint32_t kSiteNumberOpen = 0x2003;
constexpr uint32_t kSiteModeZero = 0x2004;
constexpr uint32_t kSiteInputSharing = 0x2005;
constexpr uint32_t kSiteOutputSharing = 0x2006;
constexpr uint32_t kSiteMode = 0x2007;
constexpr uint32_t kSiteSystem = kOpenSystemSite;

constexpr uint32_t kInvalidName = 123;

bool IsRandomMode(int mode) {
    return mode == 0 || (mode >= 4 && mode <= 7);
}

void CheckModeAndSharing(int mode, int sharing, std::source_location where) {
    if (mode < 0 || mode > 11) PbRaiseError(51, kSiteMode, where);
    bool output = mode == kModeOutputNew || mode == kModeAppend || mode == kModeOutput;
    if (output && (sharing == 2 || sharing == 3)) PbRaiseError(51, kSiteOutputSharing, where);
    if (mode == kModeInput && sharing == 2) PbRaiseError(51, kSiteInputSharing, where);
    if (mode == 0 && sharing != 0) PbRaiseError(51, kSiteModeZero, where);
    if (sharing < 0 || sharing > 4) PbRaiseError(51, kSiteOutputSharing, where);
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDeviceName(std::string_view name) {
    static constexpr std::string_view kDevices[] = {
        "LPT1:", "LPT2:", "LPT3:", "COM0:", "COM1:", "COM2:", "COM3:", "COM4:"};
    if (name.size() < 5) return false;
    for (std::string_view device : kDevices) {
        bool same = true;
        for (std::size_t i = 0; i < 5; ++i)
            same = same && UpperAscii(name[i]) == device[i];
        if (same) return true;
    }
    return false;
}

// "?" (0x3F) and "*" (0x2A) are below every second byte of a double-byte character (0x40 and
// up), so a byte search finds only real ones.
bool HasWildcard(std::string_view name) {
    return name.find_first_of("?*") != std::string_view::npos;
}

// Access bits a sharing argument allows other opens of the file.
int SharedAccess(int mode, int sharing) {
    if (sharing == 0) sharing = (mode == kModeOutputNew || mode == kModeAppend || mode == kModeOutput) ? 1 : 3;
    switch (sharing) {
        case 1:
            return kAccessRead;
        case 2:
            return kAccessWrite;
        case 3:
            return kAccessRead | kAccessWrite;
        default:
            return 0;
    }
}

int ModeAccess(int mode) {
    if (mode == kModeInput) return kAccessRead;
    if (mode == kModeAppend) return kAccessRead | kAccessWrite;
    return kAccessWrite;
}

// Characters a file name cannot hold; ':' only after a drive byte.
bool IsForbiddenByte(unsigned char b) {
    return b < 0x20 || b == '<' || b == '>' || b == ':' || b == '"' || b == '/' || b == '\\' || b == '|';
}

// Splits "X:NAME" (a name without "X:" is on drive C) and checks NAME character by character.
// Returns the system code of a bad name, 0 when it is good.
uint32_t ParseFileName(std::string_view name, FileName& out) {
    if (name.size() >= 2 && name[1] == ':' && !IsSjisLeadByte(name[0])) {
        out.drive = static_cast<unsigned char>(name[0]);
        if (!platform::DriveMap::IsDriveLetter(out.drive)) return kInvalidName;
        name.remove_prefix(2);
    }
    // Trailing blanks and dots are not part of a name on the original's file system.
    while (!name.empty() && (name.back() == ' ' || name.back() == '.') && name != "." && name != "..")
        name.remove_suffix(1);
    for (std::size_t i = 0; i < name.size();) {
        std::size_t len = SjisCharLength(name, i);
        if (len == 1 && (IsSjisLeadByte(name[i]) || IsForbiddenByte(static_cast<unsigned char>(name[i]))))
            return kInvalidName;
        i += len;
    }
    out.entry = SjisToUtf8(name);
    if (out.entry.find("\xEF\xBF\xBD") != std::string::npos) return kInvalidName;  // no CP932 character
    return platform::DriveMap::IsPlainName(out.entry) ? 0 : kInvalidName;
}

void Open(Runtime& rt, std::string_view name, int mode, int sharing, double fileNumber, const double* recordLength,
          std::source_location where) {
    if (name.size() > kMaxFileName) PbRaiseError(55, kSiteNameLength, where);
    int number = CheckedFileNumber(fileNumber, kSiteNumberRange, where);
    if (rt.files.Find(number)) PbRaiseError(52, kSiteNumberOpen, where);
    CheckModeAndSharing(mode, sharing, where);
    if (recordLength) {
        int32_t length = PbToLong(*recordLength, where);
        if (!IsRandomMode(mode)) PbRaiseError(51, kSiteRecordLength, where);
        if (length < 1 || length > 2048) PbRaiseError(5, kSiteRecordLength, where);
    }
    if (IsDeviceName(name)) PbRaiseError(68, kSiteSystem, where);
    if (name.empty() || HasWildcard(name)) PbRaiseError(55, kSiteSystem, where);
    if (rt.files.openCount() >= FileTable::kMaxOpen) PbRaiseError(66, kSiteSystem, where);
    if (IsRandomMode(mode) || (mode >= 8 && mode <= 10)) PbRaiseError(51, kSiteMode, where);
    FileName parsed;
    if (uint32_t code = ParseFileName(name, parsed)) RaiseOpenCode(rt, code, where);
    auto file = OpenChecked(rt, parsed, mode, ModeAccess(mode), SharedAccess(mode, sharing), where);
    file->number = number;
    file->mode = mode;
    rt.files.slots[static_cast<std::size_t>(number)] = std::move(file);
}

}  // namespace

void PbOpen(Runtime& rt, std::string_view name, int mode, int sharing, double fileNumber, std::source_location where) {
    Open(rt, name, mode, sharing, fileNumber, nullptr, where);
}

void PbOpen(Runtime& rt, std::string_view name, int mode, int sharing, double fileNumber, double recordLength,
            std::source_location where) {
    Open(rt, name, mode, sharing, fileNumber, &recordLength, where);
}

}  // namespace kestran
