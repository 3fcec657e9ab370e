#include "runtime/values/file_field.h"

#include <cmath>

#include "runtime/values/files.h"
#include "runtime/values/number_scan.h"

namespace kestran {

namespace {

// The separators and quote are ASCII below 0x40, so they are never the second byte of a
// double-byte character; a byte-wise scan cannot cut one in two.
class FieldScanner {
public:
    FieldScanner(std::string_view data, std::size_t pos, FieldKind kind) : data_(data), pos_(pos), kind_(kind) {}

    FileField Read() {
        if (pos_ >= data_.size()) return Fail(54);
        SkipBlanks();
        if (pos_ == data_.size()) return Done();
        if (IsFinalMark(pos_)) return Fail(54);
        char c = data_[pos_];
        if (kind_ == FieldKind::Number && (c == ',' || c == ':')) return Fail(58);
        if (c == '"') return ReadQuoted();
        return ReadPlain();
    }

private:
    bool IsFinalMark(std::size_t i) const { return i + 1 == data_.size() && data_[i] == '\x1A'; }

    // Skips blanks and the NUL bytes among them.
    void SkipBlanks() {
        while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\0'))
            ++pos_;
    }

    // Consumes a CR and the LF right after it.
    void ConsumeLineEnd() {
        ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    }

    FileField Fail(int error) {
        field_.error = error;
        field_.text.clear();
        field_.next = pos_;
        return field_;
    }

    FileField Done() {
        field_.next = pos_;
        return field_;
    }

    bool Append(char c) {
        if (field_.text.size() >= kMaxFieldBytes) return false;
        field_.text += c;
        return true;
    }

    FileField ReadQuoted() {
        field_.quoted = true;
        ++pos_;
        while (pos_ < data_.size()) {
            char c = data_[pos_];
            if (c == '"') break;
            if (c == '\r') {
                ConsumeLineEnd();
                return Done();
            }
            if (IsFinalMark(pos_)) return Done();
            if (c != '\0' && !Append(c)) return Fail(54);
            ++pos_;
        }
        if (pos_ == data_.size()) return Done();
        ++pos_;  // the closing quote
        SkipBlanks();
        if (pos_ < data_.size() && !IsFinalMark(pos_)) {
            if (data_[pos_] == '\r')
                ConsumeLineEnd();
            else
                ++pos_;
        }
        return Done();
    }

    FileField ReadPlain() {
        while (pos_ < data_.size()) {
            char c = data_[pos_];
            if (c == ',' || c == ':') {
                ++pos_;
                break;
            }
            if (c == '\r') {
                ConsumeLineEnd();
                break;
            }
            if (IsFinalMark(pos_)) break;
            if (kind_ == FieldKind::Number && c == ' ') {
                EndNumberAtBlank();
                break;
            }
            if (c != '\0' && !Append(c)) return Fail(54);
            ++pos_;
        }
        return Done();
    }

    // After a blank that ends a number: further blanks are skipped; a comma, colon or CR ends the
    // field and is consumed, anything else starts the next field.
    void EndNumberAtBlank() {
        SkipBlanks();
        if (pos_ >= data_.size() || IsFinalMark(pos_)) return;
        char c = data_[pos_];
        if (c == ',' || c == ':')
            ++pos_;
        else if (c == '\r')
            ConsumeLineEnd();
    }

    std::string_view data_;
    std::size_t pos_;
    FieldKind kind_;
    FileField field_;
};

}  // namespace

FileField ReadFileField(std::string_view data, std::size_t pos, FieldKind kind) {
    return FieldScanner(data, pos, kind).Read();
}

PbString StringFieldValue(const FileField& field) {
    if (field.quoted) return field.text;
    std::size_t end = field.text.find_last_not_of(' ');
    return end == PbString::npos ? PbString() : field.text.substr(0, end + 1);
}

int NumberFieldValue(const FileField& field, float& value) {
    if (field.quoted) return 13;
    if (field.text.empty()) return 58;
    ScannedNumber n = ScanPbNumber(field.text);
    if (!n.isNumber || n.length != field.text.size()) return 13;
    if (n.tooLarge || !(std::fabs(n.value) < kSingleOverflow)) return 6;
    value = static_cast<float>(n.value);
    return 0;
}

}  // namespace kestran
