// What the sheet answers from the rest of the program (events 12-18 and 21), repaint requests by
// criteria, the popup menu of the current cell and the focus.
#include <QMenu>
#include <algorithm>

#include "events/cmcEvMan.h"
#include "ui/sheet/cuiCurrentCell.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetPopup.h"

namespace {

constexpr int kEditMenuLabel = CL_Menu_Edit_Top;

void Send(cmcEvKind kind, uintptr_t first = 0, int32_t second = 0) {
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(kind, first, second);
}

}  // namespace

void cuiSheet::OnEvent(void* self, const cmcEvent& event) {
    static_cast<cuiSheet*>(self)->HandleEvent(event);
}

void cuiSheet::RedrawCallback(void* self, cmcCellCapsule& capsule, int criteria) {
    static_cast<cuiSheet*>(self)->InvalidateMatching(capsule, criteria);
}

void cuiSheet::HandleEvent(const cmcEvent& event) {
    if (!grid_ || cells_.empty())
        return;
    if (event.kind == cmcEvKind::CurrentCellQuery) {
        if (popupMenu_ && event.first == cmcEvArg(popupMenu_)) {
            // In the form every menu reads (cuiCurrentCell.h), the argument text included.
            const std::vector<uint8_t> data =
                cuiEncodeCurrentCell(CellAt(CursorCol(), CursorRow()));
            if (cmcEvMan* events = cmcEvMan::Global())
                events->ReplyEvent(0, 0, data.data(), int32_t(data.size()));
        }
        return;
    }
    if (event.kind == cmcEvKind::FinishEditing) {
        CommitEditor();
        return;
    }
    cmcCellObj probeCell;
    probeCell.category = 0;
    probeCell.label = 0;
    probeCell.argument = -1;
    int criteria = 0;
    switch (event.kind) {
        case cmcEvKind::RepaintAll:
            criteria = kMatchLabelled;
            break;
        case cmcEvKind::RepaintCategory:
            probeCell.category = event.second;
            criteria = kMatchCategory;
            break;
        case cmcEvKind::RepaintLabel:
            probeCell.label = event.second;
            criteria = kMatchLabel;
            break;
        case cmcEvKind::RepaintArgument:
            probeCell.argument = event.second;
            criteria = kMatchArgument;
            break;
        case cmcEvKind::RepaintArgumentAtMost:
            probeCell.argument = event.second;
            criteria = kMatchArgumentAtMost;
            break;
        case cmcEvKind::RepaintArgumentAtLeast:
            probeCell.argument = event.second;
            criteria = kMatchArgumentAtLeast;
            break;
        default:
            return;
    }
    cmcCellCapsule probe;
    probe.cell = &probeCell;
    InvalidateMatching(probe, criteria);
}

// Repaints each cell of the visible part of the grid (the fixed rows and columns included) that
// matches the probe's cell by one of the criteria bits.
void cuiSheet::InvalidateMatching(const cmcCellCapsule& probe, int criteria) {
    if (!grid_ || cells_.empty() || probe.cell == nullptr)
        return;
    const cmcCellObj& p = *probe.cell;
    const int lastRow = std::min(rowCount_, grid_->TopRow() + grid_->VisibleRowCount() + 1);
    const int lastCol = std::min(colCount_, grid_->LeftCol() + grid_->VisibleColumnCount() + 1);
    const bool probeHasCategory = p.category != CT_None;
    for (int r = 0; r < lastRow; ++r) {
        if (r >= grid_->FixedRows() && r < grid_->TopRow())
            continue;  // scrolled out of view
        for (int c = 0; c < lastCol; ++c) {
            if (c >= grid_->FixedColumns() && c < grid_->LeftCol())
                continue;
            const cmcCellObj& x = CellAt(c, r);
            const bool labelled = x.label != CL_None;
            const bool repaint = ((criteria & kMatchCategory) && x.category == p.category) ||
                                 ((criteria & kMatchLabel) && x.label == p.label) ||
                                 ((criteria & kMatchLabelArgument) && x.label == p.label &&
                                  x.argument == p.argument) ||
                                 ((criteria & kMatchArgument) && x.argument == p.argument &&
                                  labelled && probeHasCategory) ||
                                 ((criteria & kMatchNearArgument) && x.category == p.category &&
                                  labelled && std::abs(x.argument - p.argument) <= 1) ||
                                 ((criteria & kMatchLabelled) && labelled) ||
                                 ((criteria & kMatchArgumentAtLeast) && x.argument >= p.argument &&
                                  labelled && probeHasCategory) ||
                                 ((criteria & kMatchArgumentAtMost) && x.argument <= p.argument &&
                                  labelled && probeHasCategory);
            if (repaint)
                RepaintCell(c, r);
        }
    }
}

void cuiSheet::DestroyPopupBuilder() {
    if (!popupBuilder_)
        return;
    // The builder may be in the middle of a click of its own: it goes when the click is over.
    popupBuilder_->Detach();
    popupBuilder_->deleteLater();
    popupBuilder_ = nullptr;
}

void cuiSheet::RefreshPopup(int col, int row, bool force) {
    const bool onScreen = printer_ == nullptr && grid_ && grid_->hasFocus();
    const bool otherCell = col != popupCol_ || row != popupRow_;
    if (!onScreen || (!otherCell && !force) || cells_.empty()) {
        Send(cmcEvKind::UpdateCommandStates);
        return;
    }
    popupCol_ = col;
    popupRow_ = row;
    const std::string* key = CellAt(col, row).PopupMenuKey();
    if (!force && ((key && *key == popupKey_ && popupBuilder_) || (!key && popupKey_.empty()))) {
        Send(cmcEvKind::UpdateCommandStates);
        return;
    }
    popupKey_ = key ? *key : std::string();
    DestroyPopupBuilder();
    Send(cmcEvKind::DropMirroredMenu, 0, kEditMenuLabel);
    if (key) {
        popupBuilder_ = new cuiSheetPopup(core_, popupMenu_, dictionary_, popupKey_,
                                          &cuiSheet::PopupClick, this);
        popupBuilder_->Build();
        if (cmcEvMan* events = cmcEvMan::Global())
            events->SendEventText(cmcEvKind::MirrorPopupMenu, cmcEvArg(popupBuilder_.data()),
                                  kEditMenuLabel, popupKey_.c_str());
    }
    Send(cmcEvKind::UpdateCommandStates);
}

namespace {

// A popup menu, or the menu bar opened from the keyboard (Alt+E), takes the focus only while it
// shows and gives it back: as far as the sheet is concerned it never left, so the Edit menu keeps
// mirroring the current cell's commands however it is opened.
bool MenuFocus(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}

}  // namespace

void cuiSheet::GridFocusGained(Qt::FocusReason reason) {
    if (MenuFocus(reason))
        return;
    RefreshPopup(CursorCol(), CursorRow(), true);
    InvalidateMarked();
}

void cuiSheet::GridFocusLost(Qt::FocusReason reason) {
    if (MenuFocus(reason))
        return;
    DestroyPopupBuilder();
    popupKey_.clear();
    popupCol_ = popupRow_ = -1;
    Send(cmcEvKind::DropMirroredMenu, 0, kEditMenuLabel);
    Send(cmcEvKind::UpdateCommandStates);
    InvalidateMarked();
}
