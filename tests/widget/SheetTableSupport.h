#pragma once

#include <string>
#include <vector>

#include "SheetTestSupport.h"
#include "text/cmcCsv.h"
#include "ui/table/cuiSheetTable.h"

// Imports compare texts without trailing blanks (fixed-width fields show them).
inline std::string TrimEnd(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// A sheet's exported table as rows of written fields (guards kept), to be edited by caption and
// written back.
struct CsvTable {
    std::vector<std::vector<std::string>> rows;

    static CsvTable Of(const std::string& csv) {
        CsvTable t;
        for (const cmcCsv::Record& r : cmcCsv::Parse(csv)) {
            t.rows.emplace_back();
            for (const cmcCsv::Field& f : r.fields)
                t.rows.back().push_back(f.text);
        }
        return t;
    }
    CsvTable Trimmed() const {
        CsvTable t = *this;
        for (std::vector<std::string>& r : t.rows)
            for (std::string& f : r)
                f = TrimEnd(f);
        return t;
    }
    std::string Csv() const {
        std::string out;
        for (const std::vector<std::string>& r : rows)
            out += cmcCsv::Line(r);
        return out;
    }
};

// The row of a table with a caption, and the column; -1 when there is none.
inline int RowOf(cuiSheetTable& table, const std::string& caption) {
    for (int r = table.HeaderRows(); r < table.Rows(); ++r)
        if (table.RowCaption(r) == caption)
            return r;
    return -1;
}

inline int ColumnOf(cuiSheetTable& table, const std::string& caption) {
    for (int c = 0; c < table.Columns(); ++c)
        if (table.ColumnCaption(c) == caption)
            return c;
    return -1;
}

// One cell of a sheet named by captions, and the field to write there.
struct CellEdit {
    const char* row;
    const char* column;
    std::string field;
};

// Writes the edit into the table; false when the captions name no cell.
inline bool Apply(CsvTable& csv, cuiSheetTable& table, const CellEdit& edit) {
    const int r = RowOf(table, edit.row), c = ColumnOf(table, edit.column);
    if (r < 0 || c < 0 || std::size_t(r) >= csv.rows.size() ||
        std::size_t(c) >= csv.rows[std::size_t(r)].size())
        return false;
    csv.rows[std::size_t(r)][std::size_t(c)] = edit.field;
    return true;
}
