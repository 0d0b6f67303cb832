// The arithmetic of a printed page: page rectangle, font heights, the frame, and the cutting of
// a grid into column and row groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/print/cuiPrintLayout.h"

namespace {

struct PageRectCase {
    const char* name;
    std::string margins;
    int dpi;
    int width;
    int height;
    cuiPrintRect expected;
};

class PageRect : public ::testing::TestWithParam<PageRectCase> {};

TEST_P(PageRect, InsetsTheMarginsTruncated) {
    const PageRectCase& c = GetParam();
    EXPECT_EQ(cuiPageRect(c.margins, c.dpi, c.width, c.height), c.expected);
}

// 10 mm at 600 dpi is 236.22 pixels: 236 on the left and top; the right and bottom edges are
// the page size less 236.22, truncated.
INSTANTIATE_TEST_SUITE_P(
    Margins, PageRect,
    ::testing::Values(
        PageRectCase{
            "TenMillimetresAt600Dpi", "10,10,10,10", 600, 4960, 7016, {236, 236, 4723, 6779}},
        PageRectCase{
            "BlanksAroundFields", " 15 , 15,15 ,15 ", 300, 2480, 3508, {177, 177, 2302, 3330}},
        PageRectCase{"EachSideItsOwn", "5,10,20,0", 120, 1000, 1000, {23, 47, 905, 1000}},
        PageRectCase{"MissingAndUnreadableFieldsAreZero", "7,x", 96, 800, 600, {26, 0, 800, 600}},
        PageRectCase{"NegativeMarginsAreZero", "-5,-5,-5,-5", 600, 100, 100, {0, 0, 100, 100}}),
    [](const auto& info) { return info.param.name; });

TEST(PrintFontHeight, IsThePointSizeAtTheResolutionRoundedHalfAway) {
    EXPECT_EQ(cuiFontHeightForPoints(9, 600), -75);
    EXPECT_EQ(cuiFontHeightForPoints(8, 600), -67);  // 66.67
    EXPECT_EQ(cuiFontHeightForPoints(6, 600), -50);
    EXPECT_EQ(cuiFontHeightForPoints(9, 300), -38);  // 37.5
    EXPECT_EQ(cuiFontHeightForPoints(9, 96), -12);
}

TEST(PageFrame, AFiftyPixelFontPutsTheContent86PixelsInside) {
    const cuiPrintRect page{236, 236, 4723, 6779};
    const cuiPageFrame f = cuiFrameOf(page, -50);
    EXPECT_EQ(f.h, 50);
    EXPECT_EQ(f.a, 6);
    EXPECT_EQ(f.topBar, 236 + 56);
    EXPECT_EQ(f.bottomBar, 6779 - 56);
    EXPECT_EQ(f.content, (cuiPrintRect{236, 236 + 86, 4723, 6779 - 86}));
}

TEST(PageFrame, TheBarIsATenthOfTheFontPlusOneTruncated) {
    EXPECT_EQ(cuiFrameOf({}, 13).a, 2);
    EXPECT_EQ(cuiFrameOf({}, -67).a, 7);
    EXPECT_EQ(cuiFrameOf({}, 9).a, 1);
}

struct ColumnCase {
    const char* name;
    std::vector<int> widths;
    int fixed;
    std::vector<bool> mayBegin;
    int width;
    std::vector<uint16_t> groups;
};

class CutColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(CutColumns, GivesTheGroups) {
    const ColumnCase& c = GetParam();
    EXPECT_EQ(cuiCutColumns(c.widths, c.fixed, c.mayBegin, c.width), c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, CutColumns,
    ::testing::Values(
        ColumnCase{"AllFitInOneGroup", {10, 20, 30}, 0, {true, true, true}, 100, {3}},
        ColumnCase{"TheFixedColumnsCountOnEveryPage",
                   {40, 30, 30, 30, 30},
                   1,
                   {true, true, true, true, true},
                   100,
                   {2, 2}},
        // Column 3 continues the heading on its left: it never begins a page, so the first
        // group stops before column 2 and columns 2 and 3 go together.
        ColumnCase{"AHeadingSpanIsNeverCutAtItsStart",
                   {10, 30, 30, 30, 30},
                   1,
                   {true, true, true, false, true},
                   75,
                   {1, 2, 1}},
        ColumnCase{"AColumnWiderThanThePageStandsAlone",
                   {200, 200, 50},
                   0,
                   {true, true, true},
                   100,
                   {1, 1, 1}},
        ColumnCase{
            "WithoutABreakTheRestGoesTogether", {50, 50, 50}, 0, {true, false, false}, 60, {3}},
        ColumnCase{
            "ExactlyFullIsNotOver", {50, 50, 50, 50}, 0, {true, true, true, true}, 100, {2, 2}}),
    [](const auto& info) { return info.param.name; });

struct RowCase {
    const char* name;
    std::vector<int> heights;
    int fixed;
    int height;
    std::vector<uint16_t> groups;
};

class CutRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(CutRows, GivesTheGroups) {
    const RowCase& c = GetParam();
    EXPECT_EQ(cuiCutRows(c.heights, c.fixed, c.height), c.groups);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CutRows,
    ::testing::Values(
        RowCase{"WithinTheHeight", {10, 10, 10, 10}, 0, 40, {4}},
        RowCase{"TheFixedRowsCountOnEveryPage", {20, 10, 10, 10, 10, 10}, 1, 40, {2, 2, 1}},
        RowCase{"ARowTallerThanThePageStillPrints", {10, 100, 10}, 1, 50, {1, 1}},
        RowCase{"OneRowPerPage", {5, 30, 30, 30}, 1, 40, {1, 1, 1}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
