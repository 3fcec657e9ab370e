// Fuzz target: a file's bytes read field by field, as INPUT # reads them. The first byte picks
// the kinds of the fields (one bit per field, string or number).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/values/file_field.h"
#include "runtime/values/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    unsigned kinds = data[0];
    std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t pos = 0;
    for (int i = 0;; ++i) {
        auto kind = (kinds >> (i % 8)) & 1 ? kestran::FieldKind::Number : kestran::FieldKind::String;
        kestran::FileField field = kestran::ReadFileField(file, pos, kind);
        if (field.error) {
            if (field.error != 54 && field.error != 58) std::abort();
            break;
        }
        // Every field read moves on, stays inside the file and keeps to the field limit.
        if (field.next <= pos || field.next > file.size()) std::abort();
        if (field.text.size() > kestran::kMaxFieldBytes) std::abort();
        float value = 0;
        if (kind == kestran::FieldKind::Number) {
            int err = kestran::NumberFieldValue(field, value);
            if (err != 0 && err != 6 && err != 13 && err != 58) std::abort();
        } else {
            kestran::StringFieldValue(field);
        }
        pos = field.next;
    }
    return 0;
}
