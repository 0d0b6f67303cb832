// Construction of a sheet: the style keys, the directives and loops of the cells section, the
// cells, and the widths and heights that follow from them.
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "cells/cmcCellFont.h"
#include "cells/cmcCellParser.h"
#include "cells/cmcCellScan.h"
#include "cells/cuiMainCore.h"
#include "platform/cmcHost.h"
#include "text/cmcGTex.h"
#include "text/cmcTextExtent.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetPopup.h"

namespace {

// The value of a style key: the text after the first "=", or none.
std::optional<std::string> ValueAfter(const std::string& group, char separator) {
    const std::size_t at = group.find(separator);
    if (at == std::string::npos)
        return std::nullopt;
    return group.substr(at + 1);
}

bool Begins(const std::string& text, const char* prefix) {
    return cellscan::StartsWith(text, prefix);
}

}  // namespace

void cuiSheet::Build() {
    if (behaviour_ == nullptr) {
        behaviour_ = &cuiSheet::DefaultBehaviour;
        behaviourContext_ = &activeCell_;
    }
    building_ = 1;
    BuildWindow();
    if (remembered_.col >= colCount_ || remembered_.row >= rowCount_ || remembered_.col < 0 ||
        remembered_.row < 0) {
        remembered_.col = -1;
        remembered_.row = -1;
    }
    if (remembered_.col < 0) {
        if (targetLabel_ != 0) {
            bool found = false;
            for (int r = 0; r < rowCount_ && !found; ++r) {
                for (int c = 0; c < colCount_ && !found; ++c) {
                    const cmcCellObj& cell = CellAt(c, r);
                    if ((cell.state & cmcCellObj::kSelectable) && cell.label == targetLabel_ &&
                        cell.argument == targetArgument_) {
                        MoveInternal(c, r);
                        found = true;
                    }
                }
            }
        }
    } else if (Selectable(remembered_.col, remembered_.row)) {
        grid_->SetTopLeft(remembered_.leftCol, remembered_.topRow);
        MoveInternal(remembered_.col, remembered_.row);
    }
    if (!Selectable(CursorCol(), CursorRow()))
        grid_->setEnabled(false);
    building_ = 0;
    grid_->viewport()->update();
    RefreshPopup(CursorCol(), CursorRow(), false);
}

void cuiSheet::BuildWindow() {
    ApplyGroups(dictionary_.Text(baseName_ + "_Style"), false);

    // One widget holds the title and the grid and fills the parent; it stays hidden until
    // everything is in place.
    root_ = new QWidget(parent_);
    root_->hide();
    auto* rootLayout = new QVBoxLayout(root_);
    rootLayout->setContentsMargins(0, 0, 0, 0);
    rootLayout->setSpacing(0);
    if (!parent_->layout()) {
        auto* layout = new QVBoxLayout(parent_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    parent_->layout()->addWidget(root_);

    if (title_) {
        constexpr int kBevel = 2;
        titlePanel_ = new QFrame(root_);
        titlePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        titlePanel_->setLineWidth(kBevel);
        auto* titleLayout = new QVBoxLayout(titlePanel_);
        titleLayout->setContentsMargins(kBevel, kBevel, kBevel, kBevel);
        titleLabel_ = new QLabel(titlePanel_);
        titleLabel_->setTextFormat(Qt::PlainText);  // "&" is shown, not taken as a mnemonic
        titleLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        titleLabel_->setIndent(4);
        QPalette pal = titleLabel_->palette();
        if (titleFont_) {
            titleLabel_->setFont(ToQFont(*titleFont_));
            pal.setColor(QPalette::WindowText, ToQColor(titleFont_->color, pal));
        }
        pal.setColor(QPalette::Window, ToQColor(titleColor_, pal));
        titleLabel_->setPalette(pal);
        titleLabel_->setAutoFillBackground(true);
        titleLabel_->setText(QString::fromLocal8Bit(title_->c_str()));
        titleLayout->addWidget(titleLabel_);
        titlePanel_->setFixedHeight(titleLabel_->fontMetrics().height() + kBevel + 8);
        rootLayout->addWidget(titlePanel_);
    }

    gridPanel_ = new QFrame(root_);
    auto* panelLayout = new QVBoxLayout(gridPanel_);
    if (ChoiceListMode()) {
        gridPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
        gridPanel_->setLineWidth(1);
        panelLayout->setContentsMargins(3, 3, 3, 3);  // the bevel and a border of two
    } else {
        gridPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        gridPanel_->setLineWidth(2);
        panelLayout->setContentsMargins(2, 2, 2, 2);
    }
    rootLayout->addWidget(gridPanel_, 1);
    grid_ = new cuiGrid(gridPanel_);
    // The sheet's own sizes (FullWidth, FullHeight) decide how large its window is; the minimum
    // a scroll area asks for (room for both bars) would make a short choice list larger.
    grid_->setMinimumSize(1, 1);
    panelLayout->addWidget(grid_);

    BuildCells();

    grid_->SetFixed(std::clamp(fixedCols_, 0, colCount_ - 1),
                    std::clamp(fixedRows_, 0, rowCount_ - 1));
    grid_->SetScrollBarsEnabled(true);

    popupMenu_ = new QMenu(grid_);
    connect(popupMenu_, &QMenu::aboutToShow, this, &cuiSheet::OnPopupAboutToShow);

    // Start in the top-left corner and let the navigation find the nearest selectable cell.
    grid_->SetCursorDirect(0, 0);
    MoveBy(0, 1);
    MoveBy(0, -1);
    MoveBy(1, 0);
    MoveBy(-1, 0);

    grid_->SetClient(this);

    // Sized before it is shown, so that the first view already scrolls to the cursor correctly.
    if (parent_->layout())
        root_->setGeometry(parent_->layout()->contentsRect());
    else
        root_->setGeometry(parent_->rect());
    rootLayout->activate();
    panelLayout->activate();
    root_->show();
    grid_->UpdateLayout();
}

void cuiSheet::ApplyGroups(const std::string& line, bool directives) {
    for (std::size_t open = cellscan::FindAnyOf(line, "("); open != std::string::npos;) {
        const std::size_t close = cellscan::FindAnyOf(line, ")", open + 1);
        if (close == std::string::npos)
            break;
        const std::string group = line.substr(open + 1, close - open - 1);
        if (directives)
            ApplyDirective(group);
        else
            ApplyStyleKey(group);
        open = cellscan::FindAnyOf(line, "(", close + 1);
    }
}

void cuiSheet::ApplyStyleKey(const std::string& group) {
    if (Begins(group, "MultiSelect")) {
        multiMode_ = kSelectNone;
        const auto value = ValueAfter(group, '=');
        if (value && *value == "Cell")
            multiMode_ = kSelectCell;
        else if (value && *value == "Line")
            multiMode_ = kSelectLine;
        return;
    }
    if (group == "NoPrint") {
        modeBits_ |= kModeNoPrint;
        return;
    }
    const auto value = ValueAfter(group, '=');
    if (!value)
        return;
    if (Begins(group, "TitleString")) {
        if (!value->empty())
            title_ = *value;
    } else if (Begins(group, "TitleColor")) {
        if (auto c = ColorByName(*value))
            titleColor_ = *c;
    } else if (Begins(group, "TitleFont")) {
        titleFont_ = std::make_unique<cmcCellFont>();
        ApplyFontFields(*titleFont_, *value);
    } else if (Begins(group, "FixedCols")) {
        fixedCols_ = cellscan::Decimal(*value);
    } else if (Begins(group, "FixedRows")) {
        fixedRows_ = cellscan::Decimal(*value);
    } else if (Begins(group, "PrintFontRatio")) {
        printFontRatio_ = cellscan::Decimal(*value);
    }
}

void cuiSheet::ApplyDirective(const std::string& group) {
    if (Begins(group, "LoopFrom")) {
        const auto value = ValueAfter(group, ' ');
        if (!value || value->empty())
            return;
        loopStart_ = currentLine_;
        loopCount_ = std::max(cellscan::Decimal(*value), 1);
    } else if (Begins(group, "LoopTo")) {
        loopEnd_ = currentLine_;
    } else if (Begins(group, "SelectON")) {
        selectOn_ = 1;
    } else if (Begins(group, "SelectOFF")) {
        selectOn_ = 0;
    }
    // "Only_2182" is honoured by the common-settings sheet only.
}

void cuiSheet::BuildCells() {
    BuildBasicCell();
    ScanRows();
    grid_->SetDimensions(colCount_, rowCount_);
    cells_.clear();
    cells_.resize(size_t(colCount_) * size_t(rowCount_));
    // A column or row that no cell widens stays one pixel wide: that is how spacers are made.
    grid_->SetDefaultSizes(scale_, scale_);
    firstSelCol_ = colCount_;
    firstSelRow_ = rowCount_;
    FillCells();
    FitSpans();
}

// A text drawn across "+" cells (a group heading) must not be cut off by the columns it spans:
// the last column of the span grows to take the rest.
void cuiSheet::FitSpans() {
    QPaintDevice* device = MeasureDevice();
    for (int r = 0; r < rowCount_; ++r) {
        for (int c = 0; c + 1 < colCount_; ++c) {
            const cmcCellObj& owner = CellAt(c, r);
            if ((owner.layout & cmcCellObj::kJoinLeft) || owner.GetText().empty() ||
                !(CellAt(c + 1, r).layout & cmcCellObj::kJoinLeft))
                continue;
            int last = c + 1;
            while (last + 1 < colCount_ && (CellAt(last + 1, r).layout & cmcCellObj::kJoinLeft))
                ++last;
            int have = 0;
            for (int k = c; k <= last; ++k)
                have += grid_->ColumnWidth(k);
            const QFontMetrics metrics(ToQFont(FontOf(owner)), device);
            const int need = TextExtent(metrics, owner.GetText()).width() + 8 * scale_;
            if (need > have)
                grid_->SetColumnWidth(last, grid_->ColumnWidth(last) + need - have);
            c = last;
        }
    }
}

void cuiSheet::BuildBasicCell() {
    std::string text = dictionary_.Text(baseName_ + "_BasicCell");
    char adjust[48];
    if (printFontSize_ != 0) {
        std::snprintf(adjust, sizeof adjust, "{(Font=,,,%d,,,)}", printFontSize_);
    } else {
        const int percent = core_.views.FontSizeSetting();
        std::snprintf(adjust, sizeof adjust, "{(Font=,,,%%%d,,,)}", percent);
    }
    text += adjust;
    if (printer_ && printFontRatio_ != 100) {
        std::snprintf(adjust, sizeof adjust, "{(Font=,,,%%%d,,,)}", printFontRatio_);
        text += adjust;
    }
    basicCell_.parent = nullptr;
    ParseCell(text, basicCell_, nullptr, nullptr);
    grid_->SetBackground(ToQColor(basicCell_.color, grid_->palette()));
    gridPanel_->setFont(ToQFont(FontOf(basicCell_)));
}

void cuiSheet::ScanRows() {
    rowCount_ = 0;
    colCount_ = 0;
    selectOn_ = 1;
    loopStart_ = loopEnd_ = loopCount_ = -1;
    rows_.clear();
    rowCells_.clear();
    lineCells_.clear();
    int appended = 0;  // rows appended since the loop started
    const std::string key = baseName_ + "_Cells";
    auto append = [this](int line) {
        rows_.push_back({line, selectOn_ != 0});
        rowCells_.push_back(line < int(lineCells_.size()) ? lineCells_[size_t(line)] : 0);
        ++rowCount_;
    };
    for (int line = 0;; ++line) {
        currentLine_ = line;
        const std::string text = dictionary_.Line(key, line);
        if (!text.empty() && text[0] == '#')
            break;
        if (int(lineCells_.size()) <= line)
            lineCells_.resize(size_t(line) + 1, 0);
        if (skipCount_ > 0) {
            --skipCount_;
            continue;
        }
        if (!text.empty() && text[0] == ':') {
            ApplyGroups(text.substr(1), true);
            if (loopStart_ >= 0 && loopEnd_ >= 0 && loopCount_ > 0) {
                for (int k = 0; k < loopCount_ - 1; ++k)
                    for (int i = 0; i < appended; ++i)
                        append(loopStart_ + 1 + i);
                loopStart_ = loopEnd_ = loopCount_ = -1;
                appended = 0;
            }
            continue;
        }
        int count = 0;
        cmcCellObj scratch;
        for (std::string_view rest = text; !rest.empty(); ++count)
            rest = ParseCell(rest, scratch, nullptr, nullptr, true);
        lineCells_[size_t(line)] = count;
        colCount_ = std::max(colCount_, count);
        append(line);
        appended = loopStart_ >= 0 ? appended + 1 : 0;
    }
    if (colCount_ == 0 || rowCount_ == 0)
        FatalError("Illegal Cell assign");
}

void cuiSheet::FillCells() {
    const std::string key = baseName_ + "_Cells";
    QPaintDevice* device = MeasureDevice();
    for (int r = 0; r < rowCount_; ++r) {
        BeforeRow(r);
        const int line = rows_[size_t(r)].line;
        int handled = 0;
        if (r > 0 && line == rows_[size_t(r - 1)].line) {
            // A row repeated by a one-line loop body: a copy of the row above, one further on.
            handled = rowCells_[size_t(r - 1)];
            for (int c = 0; c < handled; ++c) {
                BeforeCell(c, r);
                cmcCellObj& cell = CellAt(c, r);
                cell.CopyFrom(CellAt(c, r - 1));
                ++cell.argument;
            }
            grid_->SetRowHeight(r, grid_->RowHeight(r - 1));
        } else {
            const std::string text = dictionary_.Line(key, line);
            std::string_view rest = text;
            for (int c = 0; !rest.empty() && c < colCount_; ++c, ++handled) {
                BeforeCell(c, r);
                cmcCellObj& cell = CellAt(c, r);
                rest = ParseCell(rest, cell, counters_.data(), &basicCell_);
                if (cell.layout & (cmcCellObj::kWiden | cmcCellObj::kHeighten)) {
                    const QFontMetrics metrics(ToQFont(FontOf(cell)), device);
                    const QSize extent = TextExtent(metrics, cell.GetText());
                    if (cell.layout & cmcCellObj::kWiden)
                        grid_->SetColumnWidth(
                            c, std::max(grid_->ColumnWidth(c), extent.width() + 8 * scale_));
                    if (cell.layout & cmcCellObj::kHeighten)
                        grid_->SetRowHeight(
                            r, std::max(grid_->RowHeight(r), extent.height() + 2 * scale_));
                }
            }
        }
        rowCells_[size_t(r)] = handled;
        const bool multi = multiMode_ != kSelectNone && rows_[size_t(r)].selectable;
        for (int c = 0; c < handled; ++c) {
            clsSheetCellId& slot = CellIdAt(c, r);
            if (slot.cell.state & cmcCellObj::kSelectable) {
                firstSelCol_ = std::min(firstSelCol_, c);
                firstSelRow_ = std::min(firstSelRow_, r);
            }
            slot.multiSelectable = multi;
        }
    }
}

QPaintDevice* cuiSheet::MeasureDevice() const {
    if (printer_)
        return printer_;
    return grid_->viewport();
}
