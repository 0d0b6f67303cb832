// Cursor movement over selectable cells, and the range and line selections.
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>

#include "events/cmcEvMan.h"
#include "ui/sheet/cuiSheet.h"

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

int Wrap(int v, int n) {
    return ((v % n) + n) % n;
}

}  // namespace

bool cuiSheet::StraightSearch(int& col, int& row, int sx, int sy, bool wrap) const {
    const int startCol = col, startRow = row;
    int c = col, r = row;
    for (;;) {
        c += sx;
        r += sy;
        if (wrap) {
            c = Wrap(c, colCount_);
            r = Wrap(r, rowCount_);
            if (c == startCol && r == startRow)
                return false;
        } else if (c < 0 || r < 0 || c >= colCount_ || r >= rowCount_) {
            return false;
        }
        if (Selectable(c, r)) {
            col = c;
            row = r;
            return true;
        }
    }
}

// From (col, row) line by line in the direction: the first line that holds a selectable cell,
// and in it the cell nearest to the start (on equal distance the leftmost or topmost).
bool cuiSheet::LineSearch(int& col, int& row, int sx, int sy) const {
    if (sy != 0) {
        for (int r = row + sy; r >= 0 && r < rowCount_; r += sy) {
            for (int d = 0; d < colCount_ + std::abs(col); ++d) {
                if (Selectable(col - d, r)) {
                    col -= d;
                    row = r;
                    return true;
                }
                if (d > 0 && Selectable(col + d, r)) {
                    col += d;
                    row = r;
                    return true;
                }
            }
        }
        return false;
    }
    for (int c = col + sx; c >= 0 && c < colCount_; c += sx) {
        for (int d = 0; d < rowCount_ + std::abs(row); ++d) {
            if (Selectable(c, row - d)) {
                row -= d;
                col = c;
                return true;
            }
            if (d > 0 && Selectable(c, row + d)) {
                row += d;
                col = c;
                return true;
            }
        }
    }
    return false;
}

// The arrow keys skip cells the cursor may not stop on, jump across empty stretches to the nearest
// selectable cell of the next line, and stay put at the border.
void cuiSheet::MoveBy(int dx, int dy) {
    const int sx = Sign(dx);
    int sy = Sign(dy);
    if (sx != 0) {
        sy = 0;
        dy = 0;
    }
    const bool wrap =
        std::abs(dx) <= 1 && std::abs(dy) <= 1 && ChoiceListMode() && !grid_->ScrollBarsEnabled();
    int c = CursorCol(), r = CursorRow();
    const int steps = sx != 0 ? std::abs(dx) : std::abs(dy);
    for (int i = 0; i < steps; ++i) {
        int nc = c, nr = r;
        if (StraightSearch(nc, nr, sx, sy, wrap)) {
            c = nc;
            r = nr;
        } else if (!ChoiceListMode()) {
            int lc = sx != 0 ? c : navCol_;
            int lr = sx != 0 ? navRow_ : r;
            if (LineSearch(lc, lr, sx, sy)) {
                c = lc;
                r = lr;
            }
        }
        navCol_ = c;
        navRow_ = r;
    }
    MoveInternal(c, r);
    // Back at the first selectable column or row, show the headings' neighbours too.
    if (c <= firstSelCol_)
        grid_->SetTopLeft(grid_->FixedColumns(), grid_->TopRow());
    if (r <= firstSelRow_)
        grid_->SetTopLeft(grid_->LeftCol(), grid_->FixedRows());
}

void cuiSheet::MoveTo(int col, int row) {
    if (col == CursorCol() && row == CursorRow())
        return;
    UpdateSelection(col, row);
    grid_->MoveCursor(col, row);
    RefreshPopup(CursorCol(), CursorRow(), false);
}

void cuiSheet::MoveInternal(int col, int row) {
    if (col == CursorCol() && row == CursorRow())
        return;
    UpdateSelection(col, row);
    stateBits_ |= kStateInternalMove;
    const bool moved = grid_->MoveCursor(col, row);
    stateBits_ &= uint8_t(~kStateInternalMove);
    if (moved)
        PostCurrentCell(col, row);
    RefreshPopup(CursorCol(), CursorRow(), false);
}

void cuiSheet::MoveToMatch(int category, int label, int argument) {
    int foundCol = -1, foundRow = -1;
    for (int r = 0; r < rowCount_; ++r) {
        for (int c = 0; c < colCount_; ++c) {
            const cmcCellObj& cell = CellAt(c, r);
            if ((cell.state & cmcCellObj::kSelectable) && cell.category == category &&
                cell.label == label && cell.argument == argument) {
                foundCol = c;
                foundRow = r;
                break;
            }
        }
    }
    if (foundCol >= 0)
        MoveTo(foundCol, foundRow);
}

bool cuiSheet::SelectAtMouse(int x, int y, bool onlyTest) {
    int c = 0, r = 0;
    if (!grid_->CellAt(QPoint(x, y), &c, &r))
        return false;
    if (!ResolveLeft(c, r))
        return false;
    if (!onlyTest)
        MoveInternal(c, r);
    return true;
}

bool cuiSheet::ResolveLeft(int& col, int row) {
    for (int c = col; c >= 0 && c < colCount_; --c) {
        const cmcCellObj& cell = CellAt(c, row);
        if (cell.state & cmcCellObj::kSelectable) {
            col = c;
            return true;
        }
        if (!(cell.state & cmcCellObj::kAttached))
            return false;
    }
    return false;
}

bool cuiSheet::IsHighlighted(int col, int row) {
    const clsSheetCellId& slot = CellIdAt(col, row);
    if (slot.multiSelectable && (slot.selected || slot.lineMarked))
        return true;
    return col == CursorCol() && row == CursorRow();
}

void cuiSheet::UpdateSelection(int col, int row) {
    const int oc = CursorCol(), orow = CursorRow();
    const bool shift = (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) ||
                       (stateBits_ & kStateMouseHeld);
    const bool moving = col != oc || row != orow;
    const bool extendable = ((multiMode_ != kSelectNone && moving) || RangePresent()) &&
                            CellIdAt(oc, orow).multiSelectable &&
                            CellIdAt(col, row).multiSelectable;
    if (!extendable || !shift || anchorCol_ < 0) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    if (shift && extendable) {
        const int left = std::min({anchorCol_, oc, col}), right = std::max({anchorCol_, oc, col});
        const int top = std::min({anchorRow_, orow, row}),
                  bottom = std::max({anchorRow_, orow, row});
        const int c0 = std::min(anchorCol_, col), c1 = std::max(anchorCol_, col);
        const int r0 = std::min(anchorRow_, row), r1 = std::max(anchorRow_, row);
        for (int r = top; r <= bottom; ++r)
            for (int c = left; c <= right; ++c)
                SetSelected(c, r, c >= c0 && c <= c1 && r >= r0 && r <= r1);
        stateBits_ |= kStateRange;
    } else if (!RangePresent()) {
        SetSelected(oc, orow, false);
        SetLineMark(oc, orow, false);
    } else {
        ClearRange();
    }
    SetSelected(col, row, true);
    UpdateLineMarks();
}

void cuiSheet::SetSelected(int col, int row, bool on) {
    clsSheetCellId& slot = CellIdAt(col, row);
    if (!(slot.cell.state & cmcCellObj::kSelectable) || slot.selected == on)
        return;
    slot.selected = on;
    RepaintCell(col, row);
}

void cuiSheet::SetLineMark(int col, int row, bool on) {
    clsSheetCellId& slot = CellIdAt(col, row);
    if (slot.lineMarked == on)
        return;
    slot.lineMarked = on;
    RepaintCell(col, row);
}

void cuiSheet::UpdateLineMarks() {
    if (!RangePresent() || multiMode_ != kSelectLine)
        return;
    const int fixed = grid_->FixedColumns();
    for (int r = 0; r < rowCount_; ++r) {
        bool any = false;
        for (int c = 0; c < colCount_ && !any; ++c)
            any = CellIdAt(c, r).selected;
        for (int c = 0; c < colCount_; ++c)
            SetLineMark(c, r, any && c >= fixed);
    }
}

void cuiSheet::ClearRange() {
    if (!RangePresent())
        return;
    for (int r = 0; r < rowCount_; ++r)
        for (int c = 0; c < colCount_; ++c)
            SetSelected(c, r, false);
    UpdateLineMarks();
    stateBits_ &= uint8_t(~kStateRange);
}

void cuiSheet::InvalidateMarked() {
    for (int r = 0; r < rowCount_; ++r) {
        for (int c = 0; c < colCount_; ++c) {
            const clsSheetCellId& slot = CellIdAt(c, r);
            if (slot.multiSelectable && (slot.selected || slot.lineMarked))
                RepaintCell(c, r);
        }
    }
}

void cuiSheet::RepaintCell(int col, int row) {
    if (!grid_ || col < 0 || row < 0 || col >= colCount_ || row >= rowCount_)
        return;
    grid_->InvalidateCellRect(col, row);
    // Cells that draw as part of this one: "T" cells follow its highlight, "+" cells its text.
    for (int c = col + 1; c < colCount_; ++c) {
        const cmcCellObj& next = CellAt(c, row);
        if (!(next.state & cmcCellObj::kAttached) && !(next.layout & cmcCellObj::kJoinLeft))
            break;
        grid_->InvalidateCellRect(c, row);
    }
}

bool cuiSheet::GridRepaintCell(int col, int row) {
    RepaintCell(col, row);
    return true;
}

void cuiSheet::PostCurrentCell(int col, int row) {
    cmcEvMan* events = cmcEvMan::Global();
    if (!events)
        return;
    const cmcCellObj& cell = CellAt(col, row);
    const int32_t data[3] = {cell.category, cell.label, cell.argument};
    events->PostEventData(cmcEvKind::CurrentCellChanged, data, int32_t(sizeof data));
}
