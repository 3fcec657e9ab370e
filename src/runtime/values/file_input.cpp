#include "runtime/runtime.h"
#include "runtime/values/error.h"
#include "runtime/values/file_field.h"
#include "runtime/values/file_table.h"

namespace kestran {

namespace {

constexpr uint32_t kSiteRange = 0x4D01;
constexpr uint32_t kSiteNotOpen = 0x4D02;
constexpr uint32_t kSiteRead = 0x4E03;
constexpr uint32_t kSiteConvert = 0x4E04;

// Reads the next field of file n, moving its position past it; raises the reading errors.
FileField NextField(Runtime& rt, double n, FieldKind kind, std::source_location where) {
    OpenFile* f = rt.files.Find(CheckedFileNumber(n, kSiteRange, where));
    if (!f) PbRaiseError(57, kSiteNotOpen, where);
    if (f->mode != kModeInput) PbRaiseError(51, kSiteRead, where);
    FileField field = ReadFileField(f->data, f->position, kind);
    if (field.error) PbRaiseError(field.error, kSiteRead, where);
    f->position = field.next;
    return field;
}

}  // namespace

void PbInputFileString(Runtime& rt, double n, PbString& var, std::source_location where) {
    FileField field = NextField(rt, n, FieldKind::String, where);
    var = StringFieldValue(field);
}

void PbInputFileNumber(Runtime& rt, double n, float& var, std::source_location where) {
    FileField field = NextField(rt, n, FieldKind::Number, where);
    float value = 0;
    if (int err = NumberFieldValue(field, value)) PbRaiseError(err, kSiteConvert, where);
    var = value;
}

}  // namespace kestran
