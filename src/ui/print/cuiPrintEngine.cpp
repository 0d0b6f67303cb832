#include "ui/print/cuiPrintEngine.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cells/cmcCellFont.h"
#include "cells/cmcCellScan.h"
#include "cells/cmcTreeBody.h"
#include "text/cmcGTex.h"
#include "ui/print/cuiPrintTarget.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"

namespace {

constexpr int kRefits = 3;

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text.c_str());
}

// Sheets are built in a window of their own that is never shown.
class PrintHost : public QWidget {
public:
    PrintHost() {
        setAttribute(Qt::WA_DontShowOnScreen);
        resize(640, 480);
    }
};

}  // namespace

cuiPrintEngine::cuiPrintEngine(const cuiMainCore& core, cmcGTex& dictionary,
                               const cuiImageList* images, cuiPrintTarget& target)
    : core_(core), dictionary_(dictionary), images_(images), target_(target) {}

cuiPrintEngine::~cuiPrintEngine() {
    if (painter_)
        target_.FinishDocument();
}

void cuiPrintEngine::SetPageCallback(PageCallback callback, void* context) {
    pageCallback_ = callback;
    pageContext_ = context;
}

int cuiPrintEngine::SheetFontHeight() const {
    return cuiFontHeightForPoints(cellscan::Decimal(dictionary_.Text("GI_Sys_Printer_FontPoints")),
                                  target_.Device()->logicalDpiY());
}

int cuiPrintEngine::FrameFontHeight() const {
    return cuiFontHeightForPoints(cellscan::Decimal(dictionary_.Text("GI_Sys_Printer_FrameFont")),
                                  target_.Device()->logicalDpiY());
}

cuiPageFrame cuiPrintEngine::Frame() const {
    return cuiFrameOf(pageRect_, FrameFontHeight());
}

void cuiPrintEngine::BeginDocument() {
    pageRect_ =
        cuiPageRect(dictionary_.Text("GI_Sys_Printer_Margins"), target_.Device()->logicalDpiY(),
                    target_.PageWidth(), target_.PageHeight());
    pageStarted_ = false;
    pagesPrinted_ = 0;
}

bool cuiPrintEngine::EndDocument() {
    if (painter_) {
        painter_ = nullptr;
        if (!target_.FinishDocument())
            failed_ = true;
    }
    pageStarted_ = false;
    return !failed_;
}

bool cuiPrintEngine::StartPage() {
    if (failed_)
        return false;
    if (!pageStarted_) {
        painter_ = target_.StartDocument();
        if (!painter_)
            failed_ = true;
    } else if (!target_.NextPage()) {
        failed_ = true;
    }
    return !failed_;
}

std::unique_ptr<cuiSheet> cuiPrintEngine::BuildSheet(QWidget& host, const std::string& reference,
                                                     int fontHeight) {
    std::unique_ptr<cuiSheet> sheet = cuiCreateSheet(core_, &host, reference, dictionary_, images_);
    sheet->SetPrinter(target_.Device());
    sheet->SetPrintFontSize(fontHeight);
    sheet->Build();
    return sheet;
}

int cuiPrintEngine::PrintSheet(const std::string& reference) {
    Sheet record;
    record.reference = reference;
    PrintHost host;
    int f = SheetFontHeight();
    std::unique_ptr<cuiSheet> sheet = BuildSheet(host, reference, f);
    record.printable = sheet->IsPrintable();

    const cuiPageFrame frame = Frame();
    const cuiPrintRect& k = frame.content;
    const cuiGrid& grid = *sheet->Grid();
    const int fixedCols = grid.FixedColumns();
    const int fixedRows = grid.FixedRows();

    // The split is computed once, at the sheet's first size.
    std::vector<int> widths, heights;
    std::vector<bool> mayBegin;
    for (int c = 0; c < sheet->ColumnCount(); ++c) {
        widths.push_back(grid.ColumnWidth(c));
        bool begins = true;
        for (int r = 0; r < fixedRows && begins; ++r)
            begins = !(sheet->CellAt(c, r).layout & cmcCellObj::kJoinLeft);
        mayBegin.push_back(begins);
    }
    for (int r = 0; r < sheet->RowCount(); ++r)
        heights.push_back(grid.RowHeight(r));
    const std::vector<uint16_t> colGroups = cuiCutColumns(widths, fixedCols, mayBegin, k.Width());
    const std::vector<uint16_t> rowGroups = cuiCutRows(heights, fixedRows, k.Height());

    auto stopped = [&] { return !record.printable || cancel_ || failed_; };
    int firstRow = fixedRows;
    for (uint16_t rowCount : rowGroups) {
        int firstCol = fixedCols;
        for (uint16_t colCount : colGroups) {
            std::vector<int> columns, rows;
            for (int c = 0; c < fixedCols; ++c)
                columns.push_back(c);
            for (int c = firstCol; c < firstCol + colCount; ++c)
                columns.push_back(c);
            for (int r = 0; r < fixedRows; ++r)
                rows.push_back(r);
            for (int r = firstRow; r < firstRow + rowCount; ++r)
                rows.push_back(r);

            for (int fit = 0; fit < kRefits && !stopped(); ++fit) {
                int64_t width = 0, height = 0;
                for (int c : columns)
                    width += sheet->Grid()->ColumnWidth(c);
                for (int r : rows)
                    height += sheet->Grid()->RowHeight(r);
                if (k.left + width <= k.right && k.top + height <= k.bottom)
                    break;
                const double s = std::min(double(k.Height()) / double(std::max<int64_t>(height, 1)),
                                          double(k.Width()) / double(std::max<int64_t>(width, 1)));
                // A height of 0 would mean "no print size" to the sheet: the screen's font.
                f = std::max(int(std::trunc(std::abs(double(f)) * s)), 1);
                sheet.reset();
                sheet = BuildSheet(host, reference, f);
                ++record.rebuilds;
            }
            if (stopped() || !StartPage())
                break;
            DrawFrame(*painter_, *sheet, frame);
            DrawBlock(*painter_, *sheet, columns, rows, k);
            pageStarted_ = true;
            ++pagesPrinted_;
            ++record.pages;
            pages_.push_back({reference, columns, rows, k, f});
            if (pageCallback_)
                pageCallback_(pageContext_, pagesPrinted_);
            firstCol += colCount;
        }
        if (stopped())
            break;
        firstRow += rowCount;
    }
    record.fontHeight = f;
    sheets_.push_back(record);
    return record.pages;
}

void cuiPrintEngine::DrawFrame(QPainter& painter, const cuiSheet& sheet,
                               const cuiPageFrame& frame) {
    const cuiPrintRect& p = pageRect_;
    QFont font = sheet.TitleFont() ? ToQFont(*sheet.TitleFont()) : QFont();
    font.setPixelSize(std::max(frame.h, 1));
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    // The lines' descenders would run into the bars (the text's line is taller than h): the font
    // is made just small enough that a line stays clear of them.
    const int room = frame.h + frame.a - 1;
    const int line = QFontMetrics(font, painter.device()).height();
    if (line > room)
        font.setPixelSize(std::max(frame.h * room / line, 1));
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    const QFontMetrics metrics(font, painter.device());
    const QString rev = Local(dictionary_.Text("GI_Sys_AppTitleRev"));
    const QString maker = Local(dictionary_.Text("GI_Sys_Maker"));
    const int revLeft = p.right - 1 - metrics.horizontalAdvance(rev);
    // A long title stops short of the revision text instead of running into it.
    const QString title = metrics.elidedText(Local(sheet.GetTitle()), Qt::ElideRight,
                                             std::max(revLeft - p.left - frame.h, 0));
    painter.drawText(p.left, p.top + metrics.ascent(), title);
    painter.drawText(revLeft, p.top + metrics.ascent(), rev);
    painter.fillRect(QRect(p.left, frame.topBar, p.Width(), frame.a), Qt::black);
    const int makerTop = p.bottom - frame.h - 1;
    painter.drawText(p.right - 1 - metrics.horizontalAdvance(maker), makerTop + metrics.ascent(),
                     maker);
    painter.fillRect(QRect(p.left, frame.bottomBar - frame.a, p.Width(), frame.a), Qt::black);
    painter.restore();
}

void cuiPrintEngine::DrawBlock(QPainter& painter, cuiSheet& sheet, const std::vector<int>& columns,
                               const std::vector<int>& rows, const cuiPrintRect& content) {
    const cuiGrid& grid = *sheet.Grid();
    // Each cell draws within its own rectangle, as on screen: a heading spread over "+" cells is
    // drawn by each of them in part (not once per cell over the whole span), and a part that a
    // page boundary cuts off never lands on the fixed columns or in the margins.
    int y = content.top;
    for (int r : rows) {
        const int h = grid.RowHeight(r);
        int x = content.left;
        for (int c : columns) {
            const int w = grid.ColumnWidth(c);
            const QRect cell(x, y, w, h);
            painter.save();
            painter.setClipRect(cell);
            sheet.DrawCell(painter, c, r, cell);
            painter.restore();
            x += w;
        }
        y += h;
    }
}

void cuiPrintEngine::StartAll(const std::string& treeBase) {
    cmcTreeBody tree;
    tree.Read(dictionary_, treeBase);
    std::vector<std::string> nodes;
    for (const cmcTreeBody::Node& node : tree.Nodes())
        nodes.push_back(node.SheetReference());
    StartAll(std::move(nodes));
}

void cuiPrintEngine::StartAll(std::vector<std::string> nodeReferences) {
    nodes_ = std::move(nodeReferences);
    nextNode_ = 0;
    allActive_ = true;
}

void cuiPrintEngine::PrintStep() {
    if (!allActive_ || busy_)
        return;
    busy_ = true;
    if (nextNode_ == 0)
        BeginDocument();
    // A node without a sheet (a folder) has nothing to print.
    if (nextNode_ < NodeCount() && !nodes_[size_t(nextNode_)].empty())
        PrintSheet(nodes_[size_t(nextNode_)]);
    ++nextNode_;
    if (nextNode_ >= NodeCount()) {
        EndDocument();
        allActive_ = false;
    }
    busy_ = false;
}
