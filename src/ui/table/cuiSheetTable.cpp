// A sheet as a table: building it offscreen, the texts its cells show, captions, and export.
#include "ui/table/cuiSheetTable.h"

#include <QString>
#include <QWidget>

#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellObj.h"
#include "cells/cmcTreeBody.h"
#include "cells/indActiveCell.h"
#include "text/cmcCsv.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"

namespace {

// A size at which the grid lays itself out; the widget is never shown.
constexpr int kHostWidth = 1200;
constexpr int kHostHeight = 800;

std::string Utf8(const std::string& local) {
    return QString::fromLocal8Bit(local.data(), qsizetype(local.size())).toUtf8().toStdString();
}

// A caption on one line, without blanks at its ends.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<cuiTreeSheet> cuiTreeSheets(cmcGTex& dictionary) {
    std::vector<cuiTreeSheet> sheets;
    cmcTreeBody tree;
    tree.Read(dictionary, "GI_Tree_Main");
    for (const cmcTreeBody::Node& node : tree.Nodes()) {
        const std::string reference = node.SheetReference();
        if (!reference.empty())
            sheets.push_back({node.Caption(), reference});
    }
    return sheets;
}

const cuiTreeSheet* cuiFindTreeSheet(const std::vector<cuiTreeSheet>& sheets,
                                     const std::string& name) {
    for (const cuiTreeSheet& s : sheets)
        if (s.reference == name)
            return &s;
    const QString wanted = QString::fromLocal8Bit(name.c_str());
    for (const cuiTreeSheet& s : sheets)
        if (QString::fromLocal8Bit(s.caption.c_str()).compare(wanted, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

cuiSheetTable::cuiSheetTable(const cuiMainCore& core, const std::string& reference,
                             const cuiImageList* images)
    : reference_(reference),
      views_(core.views),
      commands_(core.commands),
      core_{core.document, views_, commands_},
      images_(images),
      host_(std::make_unique<QWidget>()) {
    host_->resize(kHostWidth, kHostHeight);
    sheet_ = cuiCreateSheet(core_, host_.get(), reference, core.document.Dictionary(), images);
    sheet_->SetBehaviour(&cuiSheetTable::Behave, this);
    sheet_->Build();
}

cuiSheetTable::~cuiSheetTable() {
    sheet_.reset();
}

cmcGTex& cuiSheetTable::Texts() const {
    return core_.document.Dictionary();
}

int cuiSheetTable::Columns() const {
    return sheet_->ColumnCount();
}

int cuiSheetTable::Rows() const {
    return sheet_->RowCount();
}

int cuiSheetTable::HeaderRows() const {
    return sheet_->Grid()->FixedRows();
}

int cuiSheetTable::Behave(void* self, cmcCellCapsule& capsule, bool notify) {
    auto* table = static_cast<cuiSheetTable*>(self);
    return table->Evaluate(capsule, notify, table->image_);
}

int cuiSheetTable::Evaluate(cmcCellCapsule& capsule, bool notify, cmcEeprom* image) {
    indActiveCell active(core_, image);
    return active.Evaluate(capsule, notify);
}

bool cuiSheetTable::TakesInput(int col, int row) {
    const cmcCellObj& cell = sheet_->CellAt(col, row);
    return (cell.state & cmcCellObj::kSelectable) && cell.label != CL_None &&
           !(cell.layout & cmcCellObj::kJoinLeft);
}

std::string cuiSheetTable::Text(int col, int row, cmcEeprom* image) {
    cmcCellObj& cell = sheet_->CellAt(col, row);
    if (cell.layout & cmcCellObj::kJoinLeft)
        return std::string();
    if (cell.label == CL_None)
        return cell.GetText();
    // As the cell is drawn, without a canvas: the behaviour's display text.
    cmcCellCapsule capsule;
    cmcCellRect rect;
    capsule.cell = &cell;
    capsule.cellRect = &rect;
    Evaluate(capsule, false, image);
    return capsule.outputText;
}

std::string cuiSheetTable::RowCaption(int row, cmcEeprom* image) {
    for (int c = 0; c < Columns(); ++c) {
        if (TakesInput(c, row))
            continue;
        const std::string text = OneLine(Utf8(Text(c, row, image)));
        if (!text.empty())
            return text;
    }
    return FillPlaceholders(Texts().Line(kWordsKey, kRowNumber), {std::to_string(row + 1)});
}

std::string cuiSheetTable::ColumnCaption(int col) {
    std::string caption;
    for (int r = 0; r < HeaderRows(); ++r) {
        // A "+" header cell is part of the caption on its left.
        int c = col;
        while (c > 0 && (sheet_->CellAt(c, r).layout & cmcCellObj::kJoinLeft))
            --c;
        const std::string text = OneLine(Utf8(Text(c, r)));
        if (text.empty())
            continue;
        if (!caption.empty())
            caption += ' ';
        caption += text;
    }
    return caption.empty()
               ? FillPlaceholders(Texts().Line(kWordsKey, kColumnNumber), {std::to_string(col + 1)})
               : caption;
}

std::string cuiSheetTable::ExportCsv(cmcEeprom* image) {
    std::string out;
    std::vector<std::string> fields(static_cast<std::size_t>(Columns()));
    for (int r = 0; r < Rows(); ++r) {
        for (int c = 0; c < Columns(); ++c)
            fields[std::size_t(c)] = cmcCsv::Guard(Utf8(Text(c, r, image)));
        out += cmcCsv::Line(fields);
    }
    return out;
}
