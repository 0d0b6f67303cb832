#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "GTexSource.h"
#include "cmcTestHost.h"
#include "text/cmcMbcs.h"
#include "text/cmcTextUtil.h"

namespace {

// Selects a double-byte code page for one test and restores the previous one.
class ScopedCodePage {
public:
    explicit ScopedCodePage(int cp) : saved_(MbCodePage()) { SetMbCodePage(cp); }
    ~ScopedCodePage() { SetMbCodePage(saved_); }

private:
    int saved_;
};

struct FieldCase {
    const char* text;
    char separator;
    int n;
    std::optional<std::string> expected;
};

class FieldAtCases : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldAtCases, SplitsAtTheSeparator) {
    const auto& c = GetParam();
    EXPECT_EQ(FieldAt(c.text, c.separator, c.n), c.expected)
        << (c.text ? c.text : "(null)") << " field " << c.n;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldAtCases,
    ::testing::Values(FieldCase{"a,b,c", ',', 0, "a"}, FieldCase{"a,b,c", ',', 2, "c"},
                      FieldCase{"a,b,c", ',', 3, std::nullopt}, FieldCase{"whole", ',', 0, "whole"},
                      FieldCase{"whole", ',', 1, std::nullopt}, FieldCase{"", ',', 0, ""},
                      FieldCase{"", ',', 1, std::nullopt}, FieldCase{"a,,c", ',', 1, ""},
                      FieldCase{"a,b,", ',', 2, ""}, FieldCase{",", ',', 1, ""},
                      FieldCase{nullptr, ',', 0, std::nullopt},
                      FieldCase{"a,b", ',', -1, std::nullopt}, FieldCase{"x\ty\tz", '\t', 1, "y"}));

TEST(FieldAt, DoubleByteTrailBytesAreNoSeparators) {
    // In Shift-JIS 0x95 0x5C is one character whose trail byte equals the backslash.
    const char text[] =
        "\x95\x5C"
        "a\\b";
    {
        ScopedCodePage sjis(932);
        EXPECT_EQ(FieldAt(text, '\\', 0), std::string("\x95\x5C"
                                                      "a"));
        EXPECT_EQ(FieldAt(text, '\\', 1), std::string("b"));
        EXPECT_EQ(FieldAt(text, '\\', 2), std::nullopt);
    }
    // Without a double-byte code page the same bytes are three fields.
    ScopedCodePage none(0);
    EXPECT_EQ(FieldAt(text, '\\', 0), std::string("\x95"));
    EXPECT_EQ(FieldAt(text, '\\', 2), std::string("b"));
}

TEST(FieldAt, LeadByteAtTheEndDoesNotRunPastTheText) {
    ScopedCodePage sjis(932);
    const char text[] = "a,\x95";
    EXPECT_EQ(FieldAt(text, ',', 1), std::string("\x95"));
}

TEST(ReadTextBlock, JoinsLinesUpToTheFirstHashLine) {
    ScopedTestHost host;
    GTexSource d(SourceKind::Memory,
                 {"#Msg", "first", "", "  third", "#", "#One", "only", "#Empty", "#End_Of_Ovl"});
    EXPECT_EQ(ReadTextBlock(*d, "Msg"), "first\n\n  third");
    EXPECT_EQ(ReadTextBlock(*d, "One"), "only");
    EXPECT_EQ(ReadTextBlock(*d, "Empty"), "");
    EXPECT_THROW(ReadTextBlock(*d, "Missing"), cmcFatalError);
}

}  // namespace
