#include "ui/table/cuiImageCompare.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>

#include "cells/cmcCellObj.h"
#include "memory/cmcEeprom.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"

namespace {

std::string Utf8(const std::string& local) {
    return QString::fromLocal8Bit(local.data(), qsizetype(local.size())).toUtf8().toStdString();
}

// A copy of an image, at least size bytes long (the rest zero).
void CopyInto(cmcEeprom& to, const cmcEeprom& from, int size) {
    to.SetSize(size);
    to.Fill(0);
    to.WriteBlock(0, from.Bytes(), from.GetSize());
}

// Every cell a behaviour shows, of every sheet, with its texts for both images; the cells that
// differ go first, so that a change is usually found after a few evaluations.
class Cells {
public:
    struct Cell {
        cuiSheetTable* table;
        int col;
        int row;
        std::string text[2];
    };

    void Add(cuiSheetTable& table, int col, int row, std::string textA, std::string textB) {
        const bool differs = textA != textB;
        (differs ? differing_ : others_)
            .push_back({&table, col, row, {std::move(textA), std::move(textB)}});
    }
    // Whether any cell shows on probes[side] another text than on image `side` (0: the first).
    bool AnyDiffers(cmcEeprom* const probes[2]) const {
        for (const std::vector<Cell>* list : {&differing_, &others_})
            for (const Cell& c : *list)
                for (int side = 0; side < 2; ++side)
                    if (c.table->Text(c.col, c.row, probes[side]) != c.text[side])
                        return true;
        return false;
    }

private:
    std::vector<Cell> differing_;
    std::vector<Cell> others_;
};

// A run of different bytes is shown when taking it alone from one image into the other changes
// what a sheet shows, either way (a channel's frequency shows only while its record is in use).
// Shown runs are split until each piece is one byte; the pieces that change nothing are kept.
void Attribute(const Cells& cells, const cmcEeprom* const images[2], cuiByteRun run,
               cmcEeprom* const probes[2], std::vector<cuiByteRun>& unshown) {
    for (int side = 0; side < 2; ++side) {
        const cmcEeprom& into = *images[side];
        const cmcEeprom& from = *images[1 - side];
        probes[side]->WriteBlock(0, into.Bytes(), into.GetSize());
        probes[side]->WriteBlock(run.first, from.Bytes() + run.first, run.last - run.first + 1);
    }
    if (!cells.AnyDiffers(probes)) {
        unshown.push_back(run);
        return;
    }
    if (run.first == run.last)
        return;
    const int middle = run.first + (run.last - run.first) / 2;
    Attribute(cells, images, {run.first, middle}, probes, unshown);
    Attribute(cells, images, {middle + 1, run.last}, probes, unshown);
}

}  // namespace

std::string cuiImageDifference::Line() const {
    return "[" + sheetCaption + "] " + rowCaption + " / " + columnCaption + ": \"" + textA +
           "\" -> \"" + textB + "\"";
}

int cuiImageComparison::SheetCount() const {
    std::set<std::string> sheets;
    for (const cuiImageDifference& d : differences)
        sheets.insert(d.reference);
    return static_cast<int>(sheets.size());
}

std::vector<std::string> cuiImageComparison::Lines(std::size_t limit) const {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < differences.size() && i < limit; ++i)
        lines.push_back(differences[i].Line());
    return lines;
}

std::string cuiImageComparison::UnshownText() const {
    std::string out;
    for (const cuiByteRun& r : unshown) {
        char text[32];
        if (r.first == r.last)
            std::snprintf(text, sizeof text, "0x%04X", r.first);
        else
            std::snprintf(text, sizeof text, "0x%04X-0x%04X", r.first, r.last);
        if (!out.empty())
            out += ", ";
        out += text;
    }
    return out;
}

cuiImageComparison cuiCompareImages(const cuiMainCore& core, const cmcEeprom& a,
                                    const cmcEeprom& b) {
    cuiImageComparison result;
    const int size = std::max(a.GetSize(), b.GetSize());
    cmcEeprom imageA, imageB;
    CopyInto(imageA, a, size);
    CopyInto(imageB, b, size);
    std::vector<cuiByteRun> runs;
    for (int i = 0; i < size; ++i) {
        if (imageA.Bytes()[i] == imageB.Bytes()[i])
            continue;
        ++result.differentBytes;
        if (!runs.empty() && runs.back().last == i - 1)
            runs.back().last = i;
        else
            runs.push_back({i, i});
    }
    if (runs.empty())
        return result;

    // Showing a cell may mend its field (a text's unprintable bytes become blanks): the texts
    // are taken from copies, and the runs found on the images as given.
    cmcEeprom showA, showB;
    showA.CopyFrom(imageA);
    showB.CopyFrom(imageB);
    std::vector<std::unique_ptr<cuiSheetTable>> tables;
    Cells cells;
    for (const cuiTreeSheet& sheet : cuiTreeSheets(core.document.Dictionary())) {
        tables.push_back(std::make_unique<cuiSheetTable>(core, sheet.reference));
        cuiSheetTable& table = *tables.back();
        for (int r = 0; r < table.Rows(); ++r) {
            for (int c = 0; c < table.Columns(); ++c) {
                const cmcCellObj& cell = table.Sheet().CellAt(c, r);
                if (cell.label == CL_None || (cell.layout & cmcCellObj::kJoinLeft))
                    continue;
                const std::string textA = table.Text(c, r, &showA);
                const std::string textB = table.Text(c, r, &showB);
                cells.Add(table, c, r, textA, textB);
                if (textA == textB)
                    continue;
                cuiImageDifference d;
                d.sheetCaption = Utf8(sheet.caption);
                d.reference = sheet.reference;
                d.col = c;
                d.row = r;
                d.label = cell.label;
                d.argument = cell.argument;
                d.rowCaption = table.RowCaption(r, &showA);
                d.columnCaption = table.ColumnCaption(c);
                d.textA = Utf8(textA);
                d.textB = Utf8(textB);
                result.differences.push_back(std::move(d));
            }
        }
    }
    if (result.differences.empty()) {
        result.unshown = runs;
        return result;
    }
    cmcEeprom probeA, probeB;
    probeA.SetSize(size);
    probeB.SetSize(size);
    const cmcEeprom* const images[2] = {&imageA, &imageB};
    cmcEeprom* const probes[2] = {&probeA, &probeB};
    for (const cuiByteRun& run : runs)
        Attribute(cells, images, run, probes, result.unshown);
    // Neighbouring pieces of one run that no sheet shows are one run again.
    std::vector<cuiByteRun> merged;
    for (const cuiByteRun& r : result.unshown) {
        if (!merged.empty() && merged.back().last + 1 == r.first)
            merged.back().last = r.last;
        else
            merged.push_back(r);
    }
    result.unshown = merged;
    return result;
}
