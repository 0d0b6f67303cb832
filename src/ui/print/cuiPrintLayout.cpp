#include "ui/print/cuiPrintLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

#include "cells/cmcCellScan.h"

namespace {

constexpr double kInchesPerMillimetre = 0.03937007874015748;
constexpr int kMaxGroup = std::numeric_limits<uint16_t>::max();

// The margins' fields in order; absent fields are 0.
std::vector<int> MarginFields(std::string_view text) {
    std::vector<int> fields;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view field = cellscan::TrimBlanksView(text.substr(0, comma));
        fields.push_back(std::max(cellscan::Decimal(field), 0));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    fields.resize(4, 0);
    return fields;
}

}  // namespace

cuiPrintRect cuiPageRect(const std::string& margins, int dpi, int pageWidth, int pageHeight) {
    const std::vector<int> mm = MarginFields(margins);
    const double perMm = dpi * kInchesPerMillimetre;
    // Truncation toward zero, as the conversions to int do.
    cuiPrintRect r;
    r.left = static_cast<int>(mm[0] * perMm);
    r.top = static_cast<int>(mm[1] * perMm);
    r.right = static_cast<int>(pageWidth - mm[2] * perMm);
    r.bottom = static_cast<int>(pageHeight - mm[3] * perMm);
    return r;
}

int cuiFontHeightForPoints(int points, int dpi) {
    const int64_t product = int64_t(points) * dpi;
    const int64_t rounded = product >= 0 ? (product + 36) / 72 : (product - 36) / 72;
    return -static_cast<int>(rounded);
}

cuiPageFrame cuiFrameOf(const cuiPrintRect& page, int frameFontHeight) {
    cuiPageFrame f;
    f.h = frameFontHeight < 0 ? -frameFontHeight : frameFontHeight;
    f.a = static_cast<int>(f.h * 0.1 + 1);
    f.topBar = page.top + f.h + f.a;
    f.bottomBar = page.bottom - f.h - f.a;
    f.content = {page.left, f.topBar + 5 * f.a, page.right, f.bottomBar - 5 * f.a};
    return f;
}

std::vector<uint16_t> cuiCutColumns(const std::vector<int>& widths, int fixedCols,
                                    const std::vector<bool>& mayBegin, int width) {
    const int count = static_cast<int>(widths.size());
    fixedCols = std::clamp(fixedCols, 0, count);
    int64_t fixedWidth = 0;
    for (int c = 0; c < fixedCols; ++c)
        fixedWidth += widths[size_t(c)];
    std::vector<uint16_t> groups;
    for (int c = fixedCols; c < count;) {
        int64_t sum = fixedWidth;
        int beforeBreak = 0;  // columns before the last one seen that may begin a page
        int size = 0;
        for (int k = c; k < count; ++k) {
            if (k > c && (size_t(k) >= mayBegin.size() || mayBegin[size_t(k)]))
                beforeBreak = k - c;
            sum += widths[size_t(k)];
            if (sum > width && beforeBreak > 0) {
                size = beforeBreak;
                break;
            }
        }
        if (size == 0)
            size = count - c;
        size = std::clamp(size, 1, kMaxGroup);
        groups.push_back(static_cast<uint16_t>(size));
        c += size;
    }
    return groups;
}

std::vector<uint16_t> cuiCutRows(const std::vector<int>& heights, int fixedRows, int height) {
    const int count = static_cast<int>(heights.size());
    fixedRows = std::clamp(fixedRows, 0, count);
    int64_t fixedHeight = 0;
    for (int r = 0; r < fixedRows; ++r)
        fixedHeight += heights[size_t(r)];
    std::vector<uint16_t> groups;
    for (int r = fixedRows; r < count;) {
        int64_t sum = fixedHeight + heights[size_t(r)];
        int size = 1;
        while (r + size < count && size < kMaxGroup && sum + heights[size_t(r + size)] <= height) {
            sum += heights[size_t(r + size)];
            ++size;
        }
        groups.push_back(static_cast<uint16_t>(size));
        r += size;
    }
    return groups;
}
