#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "GTexSource.h"
#include "cmcTestHost.h"
#include "text/cmcMbcs.h"
#include "text/cmcTextExtent.h"
#include "text/cmcTextUtil.h"

#include <QFont>
#include <QFontMetrics>

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

TEST(FieldAtAny, AnySeparatorOfTheSetSplits) {
    EXPECT_EQ(FieldAtAny("a,b;c", ",;", 0), std::string("a"));
    EXPECT_EQ(FieldAtAny("a,b;c", ",;", 1), std::string("b"));
    EXPECT_EQ(FieldAtAny("a,b;c", ",;", 2), std::string("c"));
    EXPECT_EQ(FieldAtAny("a,b;c", ",;", 3), std::nullopt);
    EXPECT_EQ(FieldAtAny("a,b;c", "", 0), std::string("a,b;c"));
    EXPECT_EQ(FieldAtAny(nullptr, ",", 0), std::nullopt);
    ScopedCodePage sjis(932);
    EXPECT_EQ(FieldAtAny("\x83\x7C|x", "|;", 1), std::string("x"));
}

TEST(BlankHelpers, SkipTrimRemoveAndTest) {
    EXPECT_STREQ(SkipBlanks(" \t x y"), "x y");
    EXPECT_STREQ(SkipBlanks(""), "");
    struct Case {
        std::string in, trimmed, removed;
    };
    const Case cases[] = {{"  a b\t", "a b", "ab"},
                          {"\t\t", "", ""},
                          {"", "", ""},
                          {"x", "x", "x"},
                          {" \na ", "\na", "\na"}};
    for (const auto& c : cases) {
        std::string t = c.in, r = c.in;
        TrimBlanks(t);
        RemoveBlanks(r);
        EXPECT_EQ(t, c.trimmed) << c.in;
        EXPECT_EQ(r, c.removed) << c.in;
    }
    EXPECT_TRUE(IsBlank("   x", 3));
    EXPECT_FALSE(IsBlank("   x", 4));
    EXPECT_FALSE(IsBlank("  ", 3));  // the end of the text is no blank
    EXPECT_TRUE(IsBlank("x", 0));
}

TEST(DupString, CopiesWithLimits) {
    EXPECT_EQ(DupString(nullptr), "");
    EXPECT_EQ(DupString("abc"), "abc");
    EXPECT_EQ(DupStringN("abcdef", 3), "abc");
    EXPECT_EQ(DupStringN("ab", 5), "ab");
    EXPECT_EQ(DupStringN("ab", 0), "");
    EXPECT_EQ(DupStringN(nullptr, 4), "");
}

TEST(HexToBytes, HighDigitFirstSkippingOtherCharacters) {
    using B = std::vector<std::uint8_t>;
    EXPECT_EQ(HexToBytes("0aFf"), (B{0x0A, 0xFF}));
    EXPECT_EQ(HexToBytes("12 3g4-5"), (B{0x12, 0x34, 0x50}));
    EXPECT_EQ(HexToBytes("abc"), (B{0xAB, 0xC0}));
    EXPECT_EQ(HexToBytes(""), B{});
    EXPECT_EQ(HexToBytes("xyz"), B{});
}

TEST(SmallPredicates, PrintableAndRange) {
    EXPECT_FALSE(IsPrintable(31));
    EXPECT_TRUE(IsPrintable(32));
    EXPECT_TRUE(IsPrintable(126));
    EXPECT_FALSE(IsPrintable(127));
    EXPECT_FALSE(IsPrintable(-56));
    EXPECT_TRUE(InRange(5, 5, 9));
    EXPECT_TRUE(InRange(9, 5, 9));
    EXPECT_FALSE(InRange(10, 5, 9));
    EXPECT_FALSE(InRange(4, 5, 9));
}

TEST(FillPlaceholders, EachPlaceholderTakesTheNextTextAndTextsStayTexts) {
    EXPECT_EQ(FillPlaceholders("%s is above %s: %s stored.", {"35000", "29999.9", "29999.9"}),
              "35000 is above 29999.9: 29999.9 stored.");
    // A typed "%s" or "%d" is a text like any other, never read as a format.
    EXPECT_EQ(FillPlaceholders("\"%s\" was not taken", {"%s%d%n"}), "\"%s%d%n\" was not taken");
    EXPECT_EQ(FillPlaceholders("%s and %s", {"one"}), "one and %s");
    EXPECT_EQ(FillPlaceholders("no place", {"lost"}), "no place");
}

TEST(GroupedNumber, ThousandsGroupedByCommas) {
    EXPECT_EQ(GroupedNumber(0), "0");
    EXPECT_EQ(GroupedNumber(999), "999");
    EXPECT_EQ(GroupedNumber(1000), "1,000");
    EXPECT_EQ(GroupedNumber(11552), "11,552");
    EXPECT_EQ(GroupedNumber(1234567), "1,234,567");
    EXPECT_EQ(GroupedNumber(-11552), "-11,552");
}

TEST(TextExtent, WidestLineAndSumOfLineHeights) {
    QFont font("DejaVu Sans");
    font.setPixelSize(14);
    const QFontMetrics fm(font);
    const QSize one = TextExtent(fm, "abcd");
    EXPECT_EQ(one, QSize(fm.horizontalAdvance("abcd"), fm.height()));
    const QSize three = TextExtent(fm, "ab\nabcdef\nx");
    EXPECT_EQ(three, QSize(fm.horizontalAdvance("abcdef"), 3 * fm.height()));
    EXPECT_GT(three.width(), one.width());
    EXPECT_EQ(TextExtent(fm, ""), QSize(0, 0));
    EXPECT_EQ(TextExtent(fm, "a\n"), QSize(fm.horizontalAdvance("a"), 2 * fm.height()));
}

}  // namespace
