#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The arithmetic of a printed page, apart from any device so that it can be checked number by
// number: the page rectangle inside the margins, font heights on the printer, the page frame and
// the cutting of a sheet's grid into page-sized groups of columns and rows. All values are
// printer pixels.

// A rectangle as the print code computes it: right and bottom are the edges, not the last pixels.
struct cuiPrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const cuiPrintRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The page rectangle: margins given as "left, top, right, bottom" in millimetres (blanks around
// each field are ignored; a missing or unreadable field counts as 0, a negative one too), on a
// page of the given size with the printer's vertical resolution, which serves all four margins.
// Each edge is truncated toward zero.
cuiPrintRect cuiPageRect(const std::string& margins, int dpi, int pageWidth, int pageHeight);

// The height (negative: character height in pixels) of a font of `points` points on a device of
// `dpi` dots per inch, rounded as the platform rounds it (half away from zero).
int cuiFontHeightForPoints(int points, int dpi);

// The page frame of a page rectangle, for a frame font of h pixels: a = trunc(h / 10 + 1); the
// title line and a bar of a pixels at the top, the maker line and another bar at the bottom, and
// the content between them.
struct cuiPageFrame {
    int h = 0;
    int a = 0;
    int topBar = 0;     // the top bar covers topBar .. topBar + a
    int bottomBar = 0;  // the bottom bar covers bottomBar - a .. bottomBar
    cuiPrintRect content;
};
cuiPageFrame cuiFrameOf(const cuiPrintRect& page, int frameFontHeight);

// Column groups: after the fixed columns, columns are added until the running width (the fixed
// columns' widths included) exceeds `width`; the group then ends before the last column seen that
// may begin a page. A column may begin a page unless mayBegin says no (one of its cells in the
// fixed rows continues the cell on its left). When the columns run out first the group takes
// them all; a group has at least one column. The sizes, left to right.
std::vector<uint16_t> cuiCutColumns(const std::vector<int>& widths, int fixedCols,
                                    const std::vector<bool>& mayBegin, int width);

// Row groups: after the fixed rows, rows are taken while the sum (the fixed rows' heights
// included) stays within `height`; the first row of a group is always taken.
std::vector<uint16_t> cuiCutRows(const std::vector<int>& heights, int fixedRows, int height);
