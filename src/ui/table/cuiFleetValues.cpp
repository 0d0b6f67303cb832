#include "ui/table/cuiFleetValues.h"

#include <QString>

#include "cells/cuiMainCore.h"
#include "text/cmcCsv.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"
#include "ui/table/cuiSheetTable.h"

namespace {

// Why a column or a value was refused: lines of "GI_Fleet_Values".
enum WhyLine { kNotThreeParts = 0, kNoSheet, kNoInput, kNoCell, kRefused };

std::string Why(const cuiMainCore& core, int line, const std::vector<std::string>& values = {}) {
    return FillPlaceholders(core.document.Dictionary().Line("GI_Fleet_Values", line), values);
}

bool SameName(const std::string& a, const std::string& b) {
    return QString::fromUtf8(a.c_str()).trimmed().compare(QString::fromUtf8(b.c_str()).trimmed(),
                                                          Qt::CaseInsensitive) == 0;
}

// A number from 1, or 0 when the text is not one.
int Number(const std::string& text) {
    bool ok = false;
    const int n = QString::fromUtf8(text.c_str()).trimmed().toInt(&ok);
    return ok && n > 0 ? n : 0;
}

int FindRow(cuiSheetTable& table, const std::string& name) {
    for (int r = table.HeaderRows(); r < table.Rows(); ++r) {
        if (SameName(table.RowCaption(r), name))
            return r;
    }
    const int n = Number(name);
    return n > 0 && n <= table.Rows() ? n - 1 : -1;
}

int FindColumn(cuiSheetTable& table, const std::string& name) {
    for (int c = 0; c < table.Columns(); ++c) {
        if (SameName(table.ColumnCaption(c), name))
            return c;
    }
    const int n = Number(name);
    return n > 0 && n <= table.Columns() ? n - 1 : -1;
}

}  // namespace

bool cuiFleetValues::Find(const cuiMainCore& core, const std::string& column, Cell& cell,
                          std::string& why) {
    const size_t first = column.find(':');
    if (first == std::string::npos || column.find(':', first + 1) == std::string::npos) {
        why = Why(core, kNotThreeParts);
        return false;
    }
    const std::vector<cuiTreeSheet> sheets = cuiTreeSheets(core.document.Dictionary());
    const std::string sheetName = column.substr(0, first);
    const cuiTreeSheet* sheet =
        cuiFindTreeSheet(sheets, QString::fromUtf8(sheetName.c_str()).toLocal8Bit().toStdString());
    if (!sheet) {
        why = Why(core, kNoSheet, {sheetName});
        return false;
    }
    cuiSheetTable table(core, sheet->reference);
    // Captions may hold a colon themselves: every split of the rest is tried.
    const std::string rest = column.substr(first + 1);
    for (size_t colon = rest.find(':'); colon != std::string::npos;
         colon = rest.find(':', colon + 1)) {
        const int row = FindRow(table, rest.substr(0, colon));
        const int col = FindColumn(table, rest.substr(colon + 1));
        if (row < 0 || col < 0)
            continue;
        if (!table.TakesInput(col, row)) {
            why = Why(core, kNoInput);
            return false;
        }
        cell = {sheet->reference, row, col};
        return true;
    }
    why = Why(core, kNoCell, {sheetName});
    return false;
}

bool cuiFleetValues::Knows(const cuiMainCore& core, const std::string& column, std::string& why) {
    Cell cell;
    return Find(core, column, cell, why);
}

bool cuiFleetValues::Enter(const cuiMainCore& core, const std::string& column,
                           const std::string& text, std::string& why) {
    Cell cell;
    if (!Find(core, column, cell, why))
        return false;
    // The sheet's own table with this one text changed, imported whole: every other cell is
    // given what it shows already, so only this cell's behaviour acts.
    cuiSheetTable table(core, cell.reference);
    const std::vector<cmcCsv::Record> records = cmcCsv::Parse(table.ExportCsv());
    std::string csv;
    for (size_t r = 0; r < records.size(); ++r) {
        std::vector<std::string> fields;
        for (const cmcCsv::Field& f : records[r].fields)
            fields.push_back(f.text);
        if (static_cast<int>(r) == cell.row && cell.col < static_cast<int>(fields.size()))
            fields[static_cast<size_t>(cell.col)] = cmcCsv::Guard(text);
        csv += cmcCsv::Line(fields);
    }
    const cuiTableImport result = table.ImportCsv(csv, cuiSheetTable::Apply::kWhenComplete);
    if (result.Complete())
        return true;
    why = result.fileRefused      ? result.fileError
          : result.issues.empty() ? Why(core, kRefused)
                                  : result.issues.front().Describe();
    return false;
}
