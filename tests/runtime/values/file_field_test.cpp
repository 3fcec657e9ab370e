#include "runtime/values/file_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/values/files.h"

namespace kestran {
namespace {

using namespace std::string_literals;

// Reads fields of the given kinds one after another; "!N" stands for an error N.
std::vector<std::string> Fields(std::string_view data, std::string_view kinds) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (char k : kinds) {
        FieldKind kind = k == 'n' ? FieldKind::Number : FieldKind::String;
        FileField f = ReadFileField(data, pos, kind);
        if (f.error) {
            out.push_back("!" + std::to_string(f.error));
            break;
        }
        out.push_back(StringFieldValue(f));
        pos = f.next;
    }
    return out;
}

using V = std::vector<std::string>;

TEST(FileField, CommasColonsAndLineEndsSeparate) {
    EXPECT_EQ(Fields("A,B:C\r\nD\rE", "sssss"), (V{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(Fields("A\nB\r\n", "ss"), (V{"A\nB", "!54"}));  // a lone LF is an ordinary byte
    EXPECT_EQ(Fields("ABC", "ss"), (V{"ABC", "!54"}));        // the end of the file ends a field
    EXPECT_EQ(Fields("", "s"), (V{"!54"}));
    EXPECT_EQ(Fields(",,", "sss"), (V{"", "", "!54"}));
}

TEST(FileField, BlanksAndNulBytes) {
    EXPECT_EQ(Fields("   AB C   ,\0X\0Y"s, "ss"), (V{"AB C", "XY"}));
    EXPECT_EQ(Fields("    ", "ss"), (V{"", "!54"}));  // blanks up to the end: one empty field
}

TEST(FileField, QuotedFieldsKeepSeparatorsAndBlanks) {
    EXPECT_EQ(Fields("\" A,B:C \",D", "ss"), (V{" A,B:C ", "D"}));
    EXPECT_EQ(Fields("\"AB\"   X,C", "sss"), (V{"AB", "", "C"}));  // the byte after the quote is consumed
    EXPECT_EQ(Fields("\"AB\"\r\nC", "ss"), (V{"AB", "C"}));
    EXPECT_EQ(Fields("\"A\rB\"", "ss"), (V{"A", "B\""}));  // a CR still ends it
    EXPECT_EQ(Fields("\"unclosed", "ss"), (V{"unclosed", "!54"}));
    EXPECT_EQ(Fields("\"\",X", "ss"), (V{"", "X"}));
    EXPECT_EQ(Fields("A\"B\",C", "ss"), (V{"A\"B\"", "C"}));  // a quote inside is ordinary
}

TEST(FileField, EndOfFileMark) {
    EXPECT_EQ(Fields("\x1A", "n"), (V{"!54"}));
    EXPECT_EQ(Fields("\x1A", "s"), (V{"!54"}));
    EXPECT_EQ(Fields("AB\x1A", "ss"), (V{"AB", "!54"}));
    EXPECT_EQ(Fields(" 5 \r\n\x1A", "nn"), (V{"5", "!54"}));
    EXPECT_EQ(Fields("A\x1A"
                     "B\r\n\x1A",
                     "ss"),
              (V{"A\x1A"
                 "B",
                 "!54"}));  // elsewhere it is ordinary
    EXPECT_EQ(Fields("\"AB\x1A", "ss"), (V{"AB", "!54"}));
}

TEST(FileField, NumbersEndAtBlanks) {
    EXPECT_EQ(Fields("12 34", "nn"), (V{"12", "34"}));
    EXPECT_EQ(Fields(" 3        2   ,7", "nnn"), (V{"3", "2", "7"}));
    EXPECT_EQ(Fields("5   \r\n6", "nn"), (V{"5", "6"}));
    EXPECT_EQ(Fields("12 34", "s"), (V{"12 34"}));  // a string keeps its inner blank
    FileField f = ReadFileField(" 5 \r\nNEXT", 0, FieldKind::Number);
    EXPECT_EQ(f.next, 5u);  // the start of the next line
}

TEST(FileField, EmptyNumericFields) {
    EXPECT_EQ(Fields(",5", "n"), (V{"!58"}));
    EXPECT_EQ(Fields("  :5", "n"), (V{"!58"}));
    float v = 0;
    EXPECT_EQ(NumberFieldValue(ReadFileField("\r\n", 0, FieldKind::Number), v), 58);
}

TEST(FileField, NumberConversion) {
    auto value = [](std::string_view data, float& v) {
        return NumberFieldValue(ReadFileField(data, 0, FieldKind::Number), v);
    };
    float v = 0;
    EXPECT_EQ(value("1E+06", v), 0);
    EXPECT_EQ(v, 1e6f);
    EXPECT_EQ(value("-1.23457E+06", v), 0);
    EXPECT_EQ(v, -1234570.0f);
    EXPECT_EQ(value("&H1F", v), 0);
    EXPECT_EQ(v, 31.0f);
    EXPECT_EQ(value("&o17", v), 0);
    EXPECT_EQ(v, 15.0f);
    EXPECT_EQ(value("123456789", v), 0);
    EXPECT_EQ(v, 123456792.0f);  // read as a single
    v = 7;
    EXPECT_EQ(value("\"5\"", v), 13);
    EXPECT_EQ(value("5X", v), 13);
    EXPECT_EQ(value("X", v), 13);
    EXPECT_EQ(value("1E39", v), 6);
    EXPECT_EQ(value("1D39", v), 6);
    EXPECT_EQ(v, 7.0f);
}

TEST(FileField, LeadBytesAreNotSpecial) {
    // A lead byte before a comma or at the end: the comma still separates, the byte is kept.
    EXPECT_EQ(Fields("\x83,B", "ss"), (V{"\x83", "B"}));
    EXPECT_EQ(Fields("A\x83", "s"), (V{"A\x83"}));
    EXPECT_EQ(Fields("\x83\x5C,\x83\x8A", "ss"), (V{"\x83\x5C", "\x83\x8A"}));
}

TEST(FileField, LongFields) {
    std::string exact(kMaxFieldBytes, 'x');
    EXPECT_EQ(Fields(exact + ",", "s"), (V{exact}));
    EXPECT_EQ(Fields(exact + "x,", "s"), (V{"!54"}));
    EXPECT_EQ(Fields("\"" + exact + "x\"", "s"), (V{"!54"}));
    // NUL bytes and leading blanks do not count toward the limit.
    EXPECT_EQ(Fields(std::string(5000, ' ') + std::string(5000, '\0') + exact, "s"), (V{exact}));
}

}  // namespace
}  // namespace kestran
