// The sheet sections of the resource file: style keys the sheet builder knows, directives and
// loops it can follow, and the row and column arithmetic that the memory dump relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "OvlKeys.h"
#include "OvlResource.h"

namespace {

// The inner texts of the "(...)" groups of a style or directive line.
std::vector<std::string> Groups(const std::string& line) {
    std::vector<std::string> groups;
    std::size_t open = line.find('(');
    while (open != std::string::npos) {
        const std::size_t close = line.find(')', open + 1);
        if (close == std::string::npos)
            break;
        groups.push_back(line.substr(open + 1, close - open - 1));
        open = line.find('(', close + 1);
    }
    return groups;
}

// The cells of a row line: texts between unescaped bars; a bar at the end adds no cell.
std::vector<std::string> RowCells(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] == '\\' && i + 1 < row.size()) {
            cell += row.substr(i, 2);
            ++i;
        } else if (row[i] == '|') {
            cells.push_back(cell);
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    if (!cell.empty())
        cells.push_back(cell);
    return cells;
}

bool IsDecimal(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// What the sheet builder makes of a cells section: rows and columns, with every loop checked.
struct SheetShape {
    int rows = 0;
    int columns = 0;
    std::vector<std::string> problems;
    std::map<int, int> rowLine;  // grid row -> line of the cells section
};

class OvlSheets : public OvlResource {
protected:
    std::vector<std::string> AllSheetBases() {
        std::vector<std::string> bases = TreeSheetBases();
        bases.insert(bases.end(), OvlFixedSheets().begin(), OvlFixedSheets().end());
        bases.insert(bases.end(), OvlSelectionLists().begin(), OvlSelectionLists().end());
        return bases;
    }

    // Follows the cells section as the sheet builder scans it; commonSheet says whether the
    // sheet is built as the common-settings kind (the only one that honours "Only_2182").
    SheetShape Scan(const std::string& base, bool commonSheet) {
        SheetShape shape;
        const std::vector<std::string> lines = Body(base + "_Cells");
        int loopStart = -1, loopCount = -1, bodyRows = 0, skip = 0;
        for (int line = 0; line < int(lines.size()); ++line) {
            const std::string& text = lines[line];
            if (skip > 0) {
                --skip;
                continue;
            }
            if (!text.empty() && text[0] == ':') {
                for (const std::string& g : Groups(text)) {
                    if (g.rfind("LoopFrom ", 0) == 0) {
                        if (loopStart >= 0)
                            shape.problems.push_back("nested LoopFrom at line " +
                                                     std::to_string(line));
                        const std::string n = g.substr(9);
                        if (!IsDecimal(n) || std::stoi(n) < 1)
                            shape.problems.push_back("bad loop count '" + g + "'");
                        loopStart = line;
                        loopCount = IsDecimal(n) ? std::stoi(n) : 1;
                        bodyRows = 0;
                    } else if (g == "LoopTo") {
                        if (loopStart < 0) {
                            shape.problems.push_back("LoopTo without LoopFrom at line " +
                                                     std::to_string(line));
                            continue;
                        }
                        if (bodyRows == 0)
                            shape.problems.push_back("empty loop at line " +
                                                     std::to_string(loopStart));
                        for (int k = 1; k < loopCount; ++k)
                            for (int i = 0; i < bodyRows; ++i)
                                shape.rowLine[shape.rows++] = loopStart + 1 + i;
                        loopStart = -1;
                    } else if (g.rfind("Only_2182 ", 0) == 0) {
                        const std::string n = g.substr(10);
                        if (!IsDecimal(n))
                            shape.problems.push_back("bad skip count '" + g + "'");
                        else if (commonSheet)
                            skip = std::stoi(n);
                    } else if (g != "SelectON" && g != "SelectOFF") {
                        shape.problems.push_back("unknown directive '" + g + "'");
                    }
                }
                continue;
            }
            const int cells = int(RowCells(text).size());
            shape.columns = std::max(shape.columns, cells);
            shape.rowLine[shape.rows++] = line;
            if (loopStart >= 0)
                ++bodyRows;
        }
        if (loopStart >= 0)
            shape.problems.push_back("loop from line " + std::to_string(loopStart) + " never ends");
        if (skip > 0)
            shape.problems.push_back("Only_2182 skips past the end");
        if (shape.rows == 0 || shape.columns == 0)
            shape.problems.push_back("no cells at all");
        return shape;
    }
};

TEST_F(OvlSheets, EveryStyleGroupIsAKeyTheSheetBuilderKnows) {
    for (const std::string& base : AllSheetBases()) {
        for (const std::string& g : Groups(dict_.Text(base + "_Style"))) {
            const std::string key = g.substr(0, g.find('='));
            const std::string value =
                g.find('=') == std::string::npos ? "" : g.substr(key.size() + 1);
            if (key == "NoPrint") {
                EXPECT_EQ(g, "NoPrint") << base;
            } else if (key == "MultiSelect") {
                EXPECT_TRUE(value == "Line" || value == "Cell") << base << ": " << g;
            } else if (key == "FixedCols" || key == "FixedRows" || key == "PrintFontRatio") {
                EXPECT_TRUE(IsDecimal(value)) << base << ": " << g;
            } else if (key == "TitleString") {
                EXPECT_FALSE(value.empty()) << base;
            } else {
                EXPECT_TRUE(key == "TitleColor" || key == "TitleFont") << base << ": " << g;
            }
        }
    }
}

TEST_F(OvlSheets, EveryCellsSectionScansWithWellFormedLoops) {
    for (const std::string& base : AllSheetBases()) {
        const SheetShape shape = Scan(base, base == "GI_Sheet_Common");
        std::string problems;
        for (const std::string& p : shape.problems)
            problems += "\n  " + p;
        EXPECT_TRUE(shape.problems.empty()) << base << ":" << problems;
    }
}

struct RecordSheet {
    const char* base;
    int rows;  // heading rows plus records (plus band rows)
    int columns;
};

class OvlRecordSheets : public OvlSheets, public ::testing::WithParamInterface<RecordSheet> {};

// Record lists have a row per record, a fixed heading, and rows that can be marked whole for
// copying and moving.
TEST_P(OvlRecordSheets, HasARowPerRecordAndLineSelection) {
    const RecordSheet& p = GetParam();
    const SheetShape shape = Scan(p.base, false);
    EXPECT_EQ(shape.rows, p.rows) << p.base;
    EXPECT_EQ(shape.columns, p.columns) << p.base;
    const std::string style = dict_.Text(std::string(p.base) + "_Style");
    EXPECT_NE(style.find("(MultiSelect=Line)"), std::string::npos) << p.base;
    EXPECT_NE(style.find("(FixedRows=1)"), std::string::npos) << p.base;
    EXPECT_NE(style.find("(FixedCols=1)"), std::string::npos) << p.base;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, OvlRecordSheets,
    ::testing::Values(RecordSheet{"GI_Sheet_UserCh", 1 + 160, 5},
                      RecordSheet{"GI_Sheet_ItuCh", 1 + 8 * (1 + 9), 4},
                      RecordSheet{"GI_Sheet_EMail", 1 + 160, 5},
                      // heading, receive edge, 8 ITU edges, 11 transmit edges, 3 group rows
                      RecordSheet{"GI_Sheet_BandEdge", 1 + 1 + 8 + 11 + 3, 3},
                      RecordSheet{"GI_Sheet_DscAdr", 1 + 100, 6},
                      RecordSheet{"GI_Sheet_DscRxTx", 1 + 50, 5}),
    [](const ::testing::TestParamInfo<RecordSheet>& info) {
        return std::string(info.param.base).substr(9);
    });

TEST_F(OvlSheets, CommonSettingsSkipTheFixed2182RowsOnlyAsTheirOwnKind) {
    const SheetShape common = Scan("GI_Sheet_Common", true);
    const SheetShape plain = Scan("GI_Sheet_Common", false);
    EXPECT_TRUE(common.problems.empty());
    EXPECT_EQ(plain.rows - common.rows, 5);
}

// The memory dump window moves its cursor to column (a mod 16) * 2 + 3, row a / 16 + 3 for
// address a: three columns and rows come first, then two columns per byte, sixteen per row.
TEST_F(OvlSheets, MemoryDumpPutsByteAOfTheImageWhereTheWindowLooksForIt) {
    const SheetShape shape = Scan("GI_Sheet_EeDebugWin", false);
    ASSERT_TRUE(shape.problems.empty());
    constexpr int kImageSize = 0x4000;
    EXPECT_EQ(shape.rows, 3 + kImageSize / 16);
    EXPECT_EQ(shape.columns, 3 + 2 * 15 + 1);

    const std::vector<std::string> lines = Body("GI_Sheet_EeDebugWin_Cells");
    const std::vector<std::string> heading = RowCells(lines.at(shape.rowLine.at(1)));
    const std::vector<std::string> data = RowCells(lines.at(shape.rowLine.at(3)));
    const char* hex = "0123456789ABCDEF";
    for (int c = 0; c < 16; ++c) {
        const int column = c * 2 + 3;
        ASSERT_LT(column, int(data.size()));
        EXPECT_NE(data[column].find(std::string("CL_EeDebugWin_") + hex[c] + "[0]"),
                  std::string::npos)
            << "column " << column << ": " << data[column];
        EXPECT_NE(heading[column].find(std::string("}") + hex[c]), std::string::npos)
            << "heading of column " << column;
    }
    EXPECT_NE(data[1].find("CL_EeDebugWin_Adr[0]"), std::string::npos);
    // Every data row comes from the one-line loop body, so its argument (the row, address / 16)
    // counts up from 0 in row 3.
    for (int row = 4; row < shape.rows; ++row)
        ASSERT_EQ(shape.rowLine.at(row), shape.rowLine.at(3)) << "row " << row;
}

// The bit editor of the memory dump shows the byte's bits 7 to 0 in cells 1 to 8: bit cell n in
// column 2n - 1 of the second non-empty row, a heading above each.
TEST_F(OvlSheets, MemoryDumpBitEditorHasEightBitCellsUnderTheirHeadings) {
    const SheetShape shape = Scan("GI_Sheet_Sel_Bit_EeDebugWin", false);
    ASSERT_TRUE(shape.problems.empty());
    EXPECT_EQ(shape.columns, 16);
    const std::vector<std::string> lines = Body("GI_Sheet_Sel_Bit_EeDebugWin_Cells");
    const std::vector<std::string> heading = RowCells(lines.at(1));
    const std::vector<std::string> bits = RowCells(lines.at(3));
    for (int n = 1; n <= 8; ++n) {
        const int column = 2 * n - 1;
        EXPECT_NE(bits.at(column).find("CL_FBits[" + std::to_string(n) + "]"), std::string::npos)
            << bits.at(column);
        EXPECT_NE(heading.at(column).find("}" + std::to_string(8 - n)), std::string::npos)
            << heading.at(column);
    }
}

}  // namespace
