// Splitting a text file into the fields INPUT # reads, and converting them. Pure functions over
// the file's bytes, so every byte sequence can be tried on them.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/values/sjis.h"

namespace kestran {

enum class FieldKind { String, Number };

struct FileField {
    int error = 0;  // 0, or the error number reading the field raised (54, 58)
    PbString text;  // the field's bytes (quotes removed)
    bool quoted = false;
    std::size_t next = 0;  // where the next field starts
};

// Reads the field at `pos` of a file whose whole content is `data`. NUL bytes are dropped;
// blanks before the field are skipped; a double quote opens a quoted field; a comma or colon
// outside quotes ends it and is consumed; CR ends it, with a LF after it; a lone LF is an
// ordinary byte; a final 0x1A ends a field with characters, and an empty one raises 54; a blank
// ends a number. Reading at or past the end raises 54, a numeric field that starts with a comma
// or colon 58, a field longer than kMaxFieldBytes (4096) 54.
FileField ReadFileField(std::string_view data, std::size_t pos, FieldKind kind);

// The value of a string field: an unquoted one loses its trailing blanks.
PbString StringFieldValue(const FileField& field);

// The value of a numeric field as a single. Returns 0 or the error number: 58 for an empty
// field, 13 for a quoted one or one that is not a number as a whole, 6 for one too large.
int NumberFieldValue(const FileField& field, float& value);

}  // namespace kestran
