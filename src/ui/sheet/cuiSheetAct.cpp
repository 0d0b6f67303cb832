// The one road from user input to cell behaviour: Act, and the grid's keys, mouse and cursor
// decisions that lead to it.
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>

#include "events/cmcEvMan.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetPopup.h"

namespace {

// A behaviour that asks for its action again forever would hang the program; no real action
// needs more passes than this.
constexpr int kMaxRepeatPasses = 10000;
constexpr int kFirstRepeatDelayMs = 30;
constexpr int kRepeatDelayStepMs = 6;
// Codes handed to the behaviour when the cursor cannot move further.
constexpr int kKeyLeftEdge = 0x2500;
constexpr int kKeyRightEdge = 0x2700;
constexpr int kPageRows = 10;

}  // namespace

void cuiSheet::ClearStatus() {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEventText(cmcEvKind::StatusMessage, kStatusTextNormal,
                              int32_t(kStatusBackNormal), "");
}

void cuiSheet::FillCapsule(int col, int row, cmcCellCapsule& capsule) {
    capsule.Reset();
    capsule.ownerControl = grid_;
    capsule.grid = grid_;
    capsule.cell = &CellAt(col, row);
    const QRect r = grid_->CellRect(col, row);
    cellRect_ = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    capsule.cellRect = &cellRect_;
    capsule.imageList = images_;
    capsule.parent = ownerCapsule_.get();
    capsule.redraw = &cuiSheet::RedrawCallback;
    capsule.redrawData = this;
    capsule.reopenEditor = &cuiSheet::ReopenCallback;
    capsule.reopenData = this;
    if (col == CursorCol() && row == CursorRow())
        capsule.markBits |= kMarkCurrent;
    if (printer_)
        capsule.markBits |= kMarkPrinting;
    capsule.sheet = this;
    if (RangePresent()) {
        capsule.rangeFlags |= kRangeSelected;
        const int first = grid_->FixedColumns();
        const int a = CellAt(first, std::clamp(anchorRow_, 0, rowCount_ - 1)).argument;
        const int b = CellAt(first, CursorRow()).argument;
        capsule.rangeLow = std::min(a, b);
        capsule.rangeHigh = std::max(a, b);
    }
}

void cuiSheet::Act(int col, int row, int key, int command, const std::string* text) {
    cmcCellCapsule capsule;
    int delay = kFirstRepeatDelayMs;
    for (int pass = 0; pass < kMaxRepeatPasses; ++pass) {
        FillCapsule(col, row, capsule);
        capsule.key = key;
        capsule.command = command;
        if (text && pass == 0) {
            capsule.inputKind = kInputText;
            capsule.key = 0;
            capsule.inputText = *text;
        }
        if (ChoiceListMode()) {
            if (key == kKeyEnter || key == kKeyDoubleClick) {
                capsule.key = 0;
                ChoiceReply(capsule);
            }
            break;
        }
        const int code = behaviour_(behaviourContext_, capsule, true);
        if (capsule.moveRequest) {
            MoveToMatch(capsule.moveCategory, capsule.moveLabel, capsule.moveArgument);
            col = CursorCol();
            row = CursorRow();
        }
        if (code == kActDone) {
            ClearRange();
        } else if (code == kActEdit) {
            OpenEditor(col, row);
            if (EditorShowing()) {
                editor_->setPlainText(QString::fromLocal8Bit(capsule.outputText.c_str()));
                const int length = int(editor_->toPlainText().size());
                QTextCursor cursor = editor_->textCursor();
                const int start = std::clamp(capsule.selStart, 0, length);
                cursor.setPosition(start);
                cursor.setPosition(std::clamp(start + capsule.selLength, 0, length),
                                   QTextCursor::KeepAnchor);
                editor_->setTextCursor(cursor);
            }
        }
        if (capsule.repeatKey == 0)
            break;
        key = capsule.repeatKey;
        // Show each step before the next one; the waits shorten, then stop.
        if (delay > 0) {
            grid_->viewport()->repaint();
            wait_(waitContext_, delay);
            delay -= kRepeatDelayStepMs;
        }
    }

    if (multiMode_ == kSelectNone || !(capsule.rangeFlags & kRangeReselect)) {
        ClearRange();
        UpdateSelection(CursorCol(), CursorRow());
    } else {
        // The behaviour moved or kept a range of rows: select it again by its arguments.
        const cmcCellObj& x = CellAt(col, row);
        const int low = capsule.rangeLow, high = capsule.rangeHigh;
        const int far = x.argument == low ? high : low;
        const int label = x.label;
        ClearRange();
        for (int r = 0; r < rowCount_; ++r) {
            for (int c = 0; c < colCount_; ++c) {
                const cmcCellObj& cell = CellAt(c, r);
                if (cell.label != label || cell.argument < low || cell.argument > high)
                    continue;
                SetSelected(c, r, true);
                if (cell.argument == far)
                    anchorRow_ = r;
            }
        }
        stateBits_ |= kStateRange;
        UpdateLineMarks();
    }
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::UpdateCommandStates);
}

// A choice list hands the chosen entry to the cell that opened it, and closes.
void cuiSheet::ChoiceReply(cmcCellCapsule& chosen) {
    if (!ownerCapsule_)
        return;
    cmcCellCapsule reply(*ownerCapsule_);
    reply.parent = &chosen;
    reply.inputKind = kInputChoice;
    behaviour_(behaviourContext_, reply, true);
    if (parent_ && parent_->window())
        parent_->window()->hide();
}

bool cuiSheet::GridSelectCell(int col, int row) {
    // The sheet placing its own cursor (a rebuild after a read, a restored position) is no act
    // of the technician's: the message of what was just done stays.
    if (stateBits_ & kStateInternalMove) {
        CloseEditor(true);
        return true;
    }
    ClearStatus();
    const clsSheetCellId& slot = CellIdAt(col, row);
    const bool allowed =
        (slot.cell.state & cmcCellObj::kSelectable) && (!RangePresent() || slot.multiSelectable);
    // What follows a move happens only for a move that is allowed: a refused cell never becomes
    // current, so nothing may be announced or selected for it.
    if (allowed) {
        if (col != CursorCol() || row != CursorRow())
            PostCurrentCell(col, row);
        RefreshPopup(col, row, false);
        UpdateSelection(col, row);
    }
    CloseEditor(true);
    return allowed;
}

bool cuiSheet::GridTimedScroll(int directions) {
    const int dx =
        ((directions & cuiGrid::kDirRight) ? 1 : 0) - ((directions & cuiGrid::kDirLeft) ? 1 : 0);
    const int dy =
        ((directions & cuiGrid::kDirDown) ? 1 : 0) - ((directions & cuiGrid::kDirUp) ? 1 : 0);
    MoveBy(dx, dy);
    return true;
}

bool cuiSheet::GridShortcutOverride(QKeyEvent& event) {
    return PopupShortcut(event, false);
}

bool cuiSheet::PopupShortcut(QKeyEvent& event, bool trigger) {
    if (!popupBuilder_ || building_)
        return false;
    popupBuilder_->UpdateItems(&CellAt(CursorCol(), CursorRow()));
    QAction* action = popupBuilder_->ActionForKey(event);
    if (!action)
        return false;
    if (trigger)
        popupBuilder_->Activate(action);
    return true;
}

bool cuiSheet::GridKeyDown(QKeyEvent& event) {
    if (PopupShortcut(event, true))
        return true;
    const int oc = CursorCol(), orow = CursorRow();
    CloseEditor(true);
    ClearStatus();
    const int key = event.key();
    switch (key) {
        case Qt::Key_PageUp:
            MoveBy(0, -kPageRows);
            return true;
        case Qt::Key_PageDown:
            MoveBy(0, kPageRows);
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const bool left = key == Qt::Key_Left;
            MoveBy(left ? -1 : 1, 0);
            if (CursorCol() == oc && CursorRow() == orow)
                Act(oc, orow, left ? kKeyLeftEdge : kKeyRightEdge, 0);
            return true;
        }
        case Qt::Key_Up:
        case Qt::Key_Down:
            // Ctrl with the vertical arrows is the row commands', never a move.
            if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
                MoveBy(0, key == Qt::Key_Up ? -1 : 1);
            return true;
        default:
            break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        // The platform's function key codes start at 0x70.
        Act(oc, orow, (0x70 + (key - Qt::Key_F1)) * 256, 0);
        return true;
    }
    return false;
}

void cuiSheet::GridKeyPress(int character) {
    Act(CursorCol(), CursorRow(), character, 0);
}

void cuiSheet::GridKeyUp(QKeyEvent&) {
    autoPopup_ = true;
}

void cuiSheet::GridMouseDown(QMouseEvent& event) {
    autoPopup_ = false;
    const QPoint p = event.position().toPoint();
    if (event.button() == Qt::RightButton) {
        if (RangePresent() || SelectAtMouse(p.x(), p.y(), false))
            OpenPopupAt(event.globalPosition().toPoint());
        return;
    }
    stateBits_ |= kStateMouseHeld;
}

void cuiSheet::GridMouseUp(QMouseEvent& event) {
    autoPopup_ = false;
    stateBits_ &= uint8_t(~kStateMouseHeld);
    if (ChoiceListMode() && event.button() == Qt::LeftButton)
        GridDoubleClick(event);
}

void cuiSheet::GridDoubleClick(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton)
        return;
    int c = 0, r = 0;
    if (!grid_->CellAt(event.position().toPoint(), &c, &r) || !ResolveLeft(c, r))
        return;
    if (c == CursorCol() && r == CursorRow())
        Act(c, r, kKeyDoubleClick, 0);
}

void cuiSheet::GridMouseMove(QMouseEvent& event) {
    if (!ChoiceListMode())
        return;
    const QPoint p = event.position().toPoint();
    int c = 0, r = 0;
    if (!grid_->CellAt(p, &c, &r))
        return;
    if (lastMouseCol_ >= 0 && (c != lastMouseCol_ || r != lastMouseRow_) && !EditorShowing())
        SelectAtMouse(p.x(), p.y(), false);
    lastMouseCol_ = c;
    lastMouseRow_ = r;
}

void cuiSheet::GridContextMenu(QContextMenuEvent& event) {
    // The keyboard's menu key; a right click has opened the menu already on the button press.
    if (event.reason() != QContextMenuEvent::Keyboard || !autoPopup_)
        return;
    const QRect r = grid_->CellRect(CursorCol(), CursorRow());
    OpenPopupAt(grid_->viewport()->mapToGlobal(r.isEmpty() ? QPoint(0, 0) : r.bottomLeft()));
}

void cuiSheet::OpenPopupAt(const QPoint& globalPos) {
    RefreshPopup(CursorCol(), CursorRow(), false);
    if (!popupBuilder_)
        return;
    popupBuilder_->UpdateItems(&CellAt(CursorCol(), CursorRow()));
    popupMenu_->popup(globalPos);
}

void cuiSheet::OnPopupAboutToShow() {
    RefreshPopup(CursorCol(), CursorRow(), false);
    if (popupBuilder_)
        popupBuilder_->UpdateItems(&CellAt(CursorCol(), CursorRow()));
}

void cuiSheet::PopupClick(void* self, const cmcCellObj& item) {
    auto* sheet = static_cast<cuiSheet*>(self);
    const int label = item.label;
    sheet->Act(sheet->CursorCol(), sheet->CursorRow(), 0, label);
}
