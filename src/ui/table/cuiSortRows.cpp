#include "ui/table/cuiSortRows.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <vector>

#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "memory/MemoryMap.h"
#include "memory/cmcEeprom.h"
#include "memory/datCh.h"
#include "memory/datClipCh.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"

namespace {

struct Key {
    bool number = false;
    double value = 0;
    QString text;
};

Key KeyOf(const std::string& local) {
    Key key;
    key.text = QString::fromLocal8Bit(local.data(), qsizetype(local.size())).trimmed();
    static const QRegularExpression pattern(QStringLiteral("^-?[0-9]+(?:\\.[0-9]*)?\\s*(?:k?hz)?$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (pattern.match(key.text).hasMatch()) {
        QString digits = key.text;
        digits.remove(QRegularExpression(QStringLiteral("\\s*k?hz$"),
                                         QRegularExpression::CaseInsensitiveOption));
        bool ok = false;
        key.value = digits.toDouble(&ok);
        key.number = ok;
    }
    return key;
}

// Numbers before texts; numbers by value, texts without regard to letter case.
int Compare(const Key& a, const Key& b) {
    if (a.number != b.number)
        return a.number ? -1 : 1;
    if (a.number)
        return a.value < b.value ? -1 : a.value > b.value ? 1 : 0;
    return a.text.compare(b.text, Qt::CaseInsensitive);
}

struct Row {
    int entry = 0;
    bool used = false;
    Key key;
};

}  // namespace

cuiSortResult cuiSortRows(const cuiMainCore& core, const std::string& reference, int col,
                          bool descending, int firstRow, int lastRow) {
    cuiSortResult result;
    cuiSheetTable table(core, reference);
    if (col < 0 || col >= table.Columns()) {
        result.outcome = cuiSortResult::kNoColumn;
        return result;
    }
    const int from = std::max(firstRow < 0 ? 0 : firstRow, table.HeaderRows());
    const int to = lastRow < 0 ? table.Rows() - 1 : std::min(lastRow, table.Rows() - 1);
    cmcEeprom& image = core.document.WorkingImage();
    datCh ch(image);
    int kind = 0;
    std::vector<Row> rows;
    for (int r = from; r <= to; ++r) {
        // The row's record: the kind and entry its record cells name.
        int rowKind = 0, entry = -1;
        for (int c = 0; c < table.Columns() && rowKind == 0; ++c) {
            const cmcCellObj& cell = table.Sheet().CellAt(c, r);
            if (cell.label == CL_None || RecordKindOf(cell.category) == 0)
                continue;
            rowKind = RecordKindOf(cell.category);
            entry = cell.argument;
        }
        if (rowKind == 0 || !datCh::AllowsChannelOps(rowKind) || (kind != 0 && rowKind != kind))
            return result;  // kNotARowTable
        kind = rowKind;
        if (!datCh::HasEntry(kind, entry) || entry > ch.LastEntry(kind)) {
            ++result.refused;  // a row the radio does not have
            continue;
        }
        ch.Load(kind, entry);
        Row row;
        row.entry = entry;
        row.used = ch.IsUsed();
        row.key = KeyOf(table.Text(col, r));
        rows.push_back(row);
    }
    if (kind == 0)
        return result;
    const cmcCellObj& keyCell = table.Sheet().CellAt(col, from);
    if (keyCell.label == CL_None || RecordKindOf(keyCell.category) != kind) {
        result.outcome = cuiSortResult::kNoColumn;
        return result;
    }
    // The rows must be one run of entries, as the row edits move them; the ITU channels are
    // edited band by band.
    for (std::size_t i = 1; i < rows.size(); ++i)
        if (rows[i].entry != rows[i - 1].entry + 1)
            return result;
    if (kind == datCh::kItuCh && !rows.empty() &&
        rows.front().entry / MemoryMap::kItuChannelsPerBand !=
            rows.back().entry / MemoryMap::kItuChannelsPerBand)
        return result;
    result.outcome = cuiSortResult::kSorted;
    result.rows = static_cast<int>(rows.size());
    if (rows.empty())
        return result;

    std::vector<int> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Row& x = rows[std::size_t(a)];
        const Row& y = rows[std::size_t(b)];
        if (x.used != y.used)
            return x.used;  // unused rows after the used ones, as they were
        if (!x.used)
            return false;
        const int c = Compare(x.key, y.key);
        return descending ? c > 0 : c < 0;
    });
    cmcClipCh records;
    const int first = rows.front().entry;
    records.Copy(image.Bytes(), kind, first, result.rows);
    for (int i = 0; i < result.rows; ++i) {
        if (order[std::size_t(i)] == i)
            continue;
        result.moved = true;
        records.StoreOne(image.Bytes(), kind, first + i, records.Record(order[std::size_t(i)]));
    }
    return result;
}
