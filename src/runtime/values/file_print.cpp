#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/file_table.h"
#include "runtime/values/number_text.h"

namespace kestran {

namespace {

constexpr uint32_t kSiteRange = 0x5301;
constexpr uint32_t kSiteNotOpen = 0x5302;
constexpr uint32_t kSiteNotOutput = 0x5303;
constexpr uint32_t kSiteWrite = 0x5304;

OpenFile& FileForPrint(Runtime& rt, double n, std::source_location where) {
    OpenFile* f = rt.files.Find(CheckedFileNumber(n, kSiteRange, where));
    if (!f) PbRaiseError(57, kSiteNotOpen, where);
    if (!f->IsOutput()) PbRaiseError(51, kSiteNotOutput, where);
    // A file whose earlier write failed has lost its temporary file: it only closes now.
    if (f->failedNumber) PbRaiseError(f->failedNumber, kSiteWrite, where);
    return *f;
}

// Appends an item's text and its separator; files have no line width.
void PrintItem(Runtime& rt, OpenFile& f, std::string_view text, PbSep sep, std::source_location where) {
    f.pending.append(text);
    f.column += text.size();
    switch (sep) {
        case PbSep::Semicolon:
            break;
        case PbSep::Comma: {
            auto blanks = static_cast<std::size_t>(kPrintZone - static_cast<int>(f.column % kPrintZone));
            f.pending.append(blanks, ' ');
            f.column += blanks;
            break;
        }
        case PbSep::End:
            f.pending += "\r\n";
            f.column = 0;
            break;
    }
    if (int err = FlushPending(rt, f, false)) PbRaiseError(err, kSiteWrite, where);
}

}  // namespace

void PbPrintFileString(Runtime& rt, double n, std::string_view s, PbSep sep, std::source_location where) {
    OpenFile& f = FileForPrint(rt, n, where);
    PrintItem(rt, f, s, sep, where);
}

void PbPrintFileNumber(Runtime& rt, double n, float v, PbSep sep, std::source_location where) {
    OpenFile& f = FileForPrint(rt, n, where);
    PrintItem(rt, f, PbPrintedNumber(v), sep, where);
}

}  // namespace kestran
