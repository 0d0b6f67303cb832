// The CSV codec of the sheet tables: quoting, strict reading that keeps damage to its field or
// record, the spreadsheet formula guard and the UTF-8 check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/cmcCsv.h"

namespace {

std::vector<std::vector<std::string>> Texts(const std::vector<cmcCsv::Record>& records) {
    std::vector<std::vector<std::string>> out;
    for (const cmcCsv::Record& r : records) {
        out.emplace_back();
        for (const cmcCsv::Field& f : r.fields)
            out.back().push_back(f.text);
    }
    return out;
}

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<std::vector<std::string>> records;
};

class CsvParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CsvParse, ReadsTheRecords) {
    const ParseCase& c = GetParam();
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(c.text);
    EXPECT_EQ(Texts(records), c.records);
    for (const cmcCsv::Record& r : records) {
        EXPECT_FALSE(r.unterminated);
        for (const cmcCsv::Field& f : r.fields)
            EXPECT_FALSE(f.malformed) << f.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wellformed, CsvParse,
    ::testing::Values(
        ParseCase{"Empty", "", {}}, ParseCase{"OneLineWithoutBreak", "a,b,c", {{"a", "b", "c"}}},
        ParseCase{"CrLf", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        ParseCase{"BareLf", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}},
        ParseCase{"EmptyFields", ",,\r\n", {{"", "", ""}}},
        ParseCase{"EmptyLineIsOneEmptyField", "a\r\n\r\nb\r\n", {{"a"}, {""}, {"b"}}},
        ParseCase{"QuotedComma", "\"a,b\",c\r\n", {{"a,b", "c"}}},
        ParseCase{"DoubledQuote", "\"say \"\"hi\"\"\"\r\n", {{"say \"hi\""}}},
        ParseCase{"QuotedLineBreak", "\"Receive\nkHz\",x\r\ny\r\n", {{"Receive\nkHz", "x"}, {"y"}}},
        ParseCase{"QuotedEmpty", "\"\",a\r\n", {{"", "a"}}},
        ParseCase{"BlanksKept", " a , b \r\n", {{" a ", " b "}}}),
    [](const ::testing::TestParamInfo<ParseCase>& i) { return std::string(i.param.name); });

TEST(Csv, WrittenRecordsReadBackTheSame) {
    const std::vector<std::string> fields = {"plain", "a,b",    "say \"hi\"", "Receive\nkHz",
                                             "",      "cr\rlf", " blank "};
    const std::string line = cmcCsv::Line(fields);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(line + line);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(Texts(records)[0], fields);
    EXPECT_EQ(Texts(records)[1], fields);
    EXPECT_EQ(records[1].line, 4);  // the quoted line breaks count, the CR alone too
}

// Lines are counted as a text editor shows the file: each break inside quotes is a line, be it
// LF, CR LF or a CR alone, and a record knows where it starts and where it ends.
TEST(Csv, LinesAreTheEditorsLines) {
    const std::vector<cmcCsv::Record> records =
        cmcCsv::Parse("\"Receive\nkHz\",\"Transmit\r\nkHz\",\"Old\rMac\"\r\na,b,c\r\nd,e,f");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[0].lastLine, 4);
    EXPECT_EQ(records[1].line, 5);
    EXPECT_EQ(records[1].lastLine, 5);
    EXPECT_EQ(records[2].line, 6);
    EXPECT_EQ(records[2].lastLine, 6);
}

TEST(Csv, OnlyFieldsThatNeedItAreQuoted) {
    EXPECT_EQ(cmcCsv::Quote("2182.0"), "2182.0");
    EXPECT_EQ(cmcCsv::Quote("Medium, 60 W"), "\"Medium, 60 W\"");
    EXPECT_EQ(cmcCsv::Quote("a\"b"), "\"a\"\"b\"");
}

TEST(Csv, AStrayQuoteMarksOnlyItsField) {
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse("a,b\"c,d\r\n\"e\"f,g\r\nh,i\r\n");
    ASSERT_EQ(records.size(), 3u);
    ASSERT_EQ(records[0].fields.size(), 3u);
    EXPECT_FALSE(records[0].fields[0].malformed);
    EXPECT_TRUE(records[0].fields[1].malformed);
    EXPECT_FALSE(records[0].fields[2].malformed);
    ASSERT_EQ(records[1].fields.size(), 2u);
    EXPECT_TRUE(records[1].fields[0].malformed);  // text after the closing quote
    EXPECT_EQ(records[1].fields[1].text, "g");
    EXPECT_EQ(Texts({records[2]})[0], (std::vector<std::string>{"h", "i"}));
}

TEST(Csv, AQuoteLeftOpenLosesOnlyItsRecord) {
    const std::vector<cmcCsv::Record> records =
        cmcCsv::Parse("a,b\r\nc,\"never closed\r\ne,f\r\ng,h\r\n");
    ASSERT_EQ(records.size(), 4u);
    EXPECT_FALSE(records[0].unterminated);
    EXPECT_TRUE(records[1].unterminated);
    EXPECT_EQ(records[1].line, 2);
    // The quote swallowed the rest of the text; reading goes on with the line after it.
    EXPECT_EQ(records[2].line, 3);
    EXPECT_EQ(Texts({records[2]})[0], (std::vector<std::string>{"e", "f"}));
    EXPECT_EQ(Texts({records[3]})[0], (std::vector<std::string>{"g", "h"}));
}

struct GuardCase {
    const char* text;
    const char* written;
};

class CsvGuard : public ::testing::TestWithParam<GuardCase> {};

TEST_P(CsvGuard, WritesAndReadsBack) {
    const GuardCase& c = GetParam();
    const std::string written = cmcCsv::Guard(c.text);
    EXPECT_EQ(written, c.written);
    EXPECT_FALSE(cmcCsv::FormulaStart(written)) << written;
    EXPECT_EQ(cmcCsv::Unguard(written), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvGuard,
    ::testing::Values(GuardCase{"", ""}, GuardCase{"2182.0", "2182.0"}, GuardCase{"=1+1", "'=1+1"},
                      GuardCase{"+12:00", "'+12:00"}, GuardCase{"-5:30", "'-5:30"},
                      GuardCase{"@SUM(A1)", "'@SUM(A1)"}, GuardCase{"'quoted", "''quoted"},
                      GuardCase{"\tTAB", "'\tTAB"}, GuardCase{"a=b", "a=b"}));

TEST(Csv, UnguardedFormulasAreRecognised) {
    for (const char* f : {"=HYPERLINK(\"x\")", "+1", "-1", "@A1", "\t1", "\r1"})
        EXPECT_TRUE(cmcCsv::FormulaStart(f)) << f;
    for (const char* f : {"", "1", "'=1", " =1", "A-1"})
        EXPECT_FALSE(cmcCsv::FormulaStart(f)) << f;
}

struct Utf8Case {
    const char* name;
    std::string text;
    bool valid;
    std::size_t characters;
};

class CsvUtf8 : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(CsvUtf8, IsCheckedStrictly) {
    const Utf8Case& c = GetParam();
    std::size_t count = 12345;
    EXPECT_EQ(cmcCsv::IsUtf8(c.text, &count), c.valid);
    if (c.valid) {
        EXPECT_EQ(count, c.characters);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, CsvUtf8,
                         ::testing::Values(Utf8Case{"Ascii", "abc", true, 3},
                                           Utf8Case{"Empty", "", true, 0},
                                           Utf8Case{"TwoBytes", "\xC3\xA9t\xC3\xA9", true, 3},
                                           Utf8Case{"FourBytes", "\xF0\x9F\x93\xBB", true, 1},
                                           Utf8Case{"Latin1", "\xE9t\xE9", false, 0},
                                           Utf8Case{"LoneContinuation", "a\x80", false, 0},
                                           Utf8Case{"CutShort", "\xE2\x82", false, 0},
                                           Utf8Case{"Overlong", "\xC0\xAF", false, 0},
                                           Utf8Case{"Surrogate", "\xED\xA0\x80", false, 0},
                                           Utf8Case{"BeyondUnicode", "\xF4\x90\x80\x80", false, 0},
                                           Utf8Case{"ByteFF", "\xFF", false, 0}),
                         [](const ::testing::TestParamInfo<Utf8Case>& i) {
                             return std::string(i.param.name);
                         });

}  // namespace
