// The GUI controller's find: Edit > Find... (Ctrl+F) opens the find window, F3 and Shift+F3 go
// to the next and the previous cell whose shown text matches, from the cursor on, wrapping
// around the tree's sheets; each match opens its sheet (through the tree, so its node is
// selected and its history kept) with the cursor on the cell and the focus in the grid.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "app/TForm1.h"
#include "app/cuiAppText.h"
#include "app/cuiFindWindow.h"
#include "app/cuiMain.h"
#include "cells/cmcCellNames.h"
#include "cells/cmcCellObj.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiSheetTable.h"

namespace {

// Where a cell is in the order the find goes: sheet in tree order, row, column.
struct Place {
    int sheet = -1;
    int row = -1;
    int col = -1;
    bool operator<(const Place& o) const {
        if (sheet != o.sheet)
            return sheet < o.sheet;
        if (row != o.row)
            return row < o.row;
        return col < o.col;
    }
};

int SheetIndex(const std::vector<cuiTreeSheet>& sheets, const std::string& reference) {
    for (std::size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].reference == reference)
            return int(i);
    return -1;
}

}  // namespace

void cuiMain::AddFindItems() {
    cmcGTex& texts = Dictionary();
    findItem_ = new QAction(cuiLocalText(texts.Line("GI_Menu_Edit_Find", 0)), form_);
    findNextItem_ = new QAction(cuiLocalText(texts.Line("GI_Menu_Edit_Find", 1)), form_);
    findPreviousItem_ = new QAction(cuiLocalText(texts.Line("GI_Menu_Edit_Find", 2)), form_);
    findItem_->setObjectName(QStringLiteral("find"));
    findNextItem_->setObjectName(QStringLiteral("findNext"));
    findPreviousItem_->setObjectName(QStringLiteral("findPrevious"));
    findItem_->setShortcuts(QKeySequence::Find);
    findNextItem_->setShortcut(QKeySequence(Qt::Key_F3));
    findPreviousItem_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    // The window keeps the shortcuts whatever the Edit menu holds at the moment.
    for (QAction* item : {findItem_.data(), findNextItem_.data(), findPreviousItem_.data()})
        form_->addAction(item);
    QObject::connect(findItem_, &QAction::triggered, form_, [this] { OpenFind(); });
    QObject::connect(findNextItem_, &QAction::triggered, form_, [this] { FindStep(true); });
    QObject::connect(findPreviousItem_, &QAction::triggered, form_, [this] { FindStep(false); });
    PlaceFindItems();
}

void cuiMain::PlaceFindItems() {
    // Like undo and redo: the Edit menu is rebuilt whenever it mirrors another pop-up, and the
    // items go back to its end whenever they are missing.
    QAction* top = menu_ ? menu_->FindItemByLabel(CL_Menu_Edit_Top) : nullptr;
    QMenu* edit = top != nullptr ? top->menu() : nullptr;
    if (edit == nullptr || !findItem_ || edit->actions().contains(findItem_))
        return;
    if (!edit->actions().isEmpty())
        edit->addSeparator();
    edit->addAction(findItem_);
    edit->addAction(findNextItem_);
    edit->addAction(findPreviousItem_);
    if (sortItem_) {
        edit->addSeparator();
        edit->addAction(sortItem_);
    }
}

cuiFindWindow* cuiMain::FindWindow() const {
    return findWindow_.data();
}

void cuiMain::OpenFind() {
    if (!form_)
        return;
    if (!findWindow_) {
        findWindow_ = new cuiFindWindow(form_, Dictionary());
        findWindow_->SetCallbacks(
            [](void* self, cuiFindWindow::Step step) {
                static_cast<cuiMain*>(self)->FindStep(step == cuiFindWindow::Step::Next);
            },
            [](void* self) { static_cast<cuiMain*>(self)->ListMatches(); },
            [](void* self, const cuiFindMatch& match) {
                static_cast<cuiMain*>(self)->GoToMatch(match);
            },
            this);
    }
    findWindow_->Raise();
}

std::vector<cuiFindMatch> cuiMain::FindMatches() {
    // An edit typed but not committed belongs to the image the find searches.
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::FinishEditing);
    const cuiFindQuery query(findWindow_->Text(), findWindow_->Options());
    std::string scope;
    if (!findWindow_->AllSheets())
        scope = sheet_ ? sheet_->GetReference() : std::string("-");
    return cuiFindInSheets(Core(), query, scope);
}

void cuiMain::ListMatches() {
    if (!findWindow_ || findWindow_->Text().empty())
        return;
    const std::vector<cuiFindMatch> matches = FindMatches();
    findWindow_->ShowMatches(matches);
    if (matches.empty())
        cuiShowStatus(FormatText(Dictionary().Text("GI_Find_NotFound"), {findWindow_->Text()}),
                      true);
}

void cuiMain::FindStep(bool forward) {
    if (!findWindow_ || findWindow_->Text().empty()) {
        OpenFind();  // nothing to find yet: ask for it
        return;
    }
    const std::vector<cuiFindMatch> matches = FindMatches();
    if (matches.empty()) {
        cuiShowStatus(FormatText(Dictionary().Text("GI_Find_NotFound"), {findWindow_->Text()}),
                      true);
        return;
    }
    const std::vector<cuiTreeSheet> sheets = cuiTreeSheets(Dictionary());
    Place cursor;
    if (sheet_) {
        cursor.sheet = SheetIndex(sheets, sheet_->GetReference());
        cursor.row = sheet_->CursorRow();
        cursor.col = sheet_->CursorCol();
    }
    auto placeOf = [&](const cuiFindMatch& m) {
        return Place{SheetIndex(sheets, m.reference), m.row, m.col};
    };
    int found = -1;
    bool wrapped = false;
    if (forward) {
        for (std::size_t i = 0; i < matches.size() && found < 0; ++i)
            if (cursor < placeOf(matches[i]))
                found = int(i);
        if (found < 0) {
            found = 0;
            wrapped = true;
        }
    } else {
        for (std::size_t i = matches.size(); i-- > 0 && found < 0;)
            if (placeOf(matches[i]) < cursor)
                found = int(i);
        if (found < 0) {
            found = int(matches.size()) - 1;
            wrapped = true;
        }
    }
    GoToMatch(matches[std::size_t(found)]);
    std::string text = FormatText(Dictionary().Text("GI_Find_Match"),
                                  {std::to_string(found + 1), std::to_string(matches.size())});
    if (wrapped)
        text = Dictionary().Line("GI_Find_Wrapped", forward ? 0 : 1) + " " + text;
    cuiShowStatus(text, false);
}

void cuiMain::GoToMatch(const cuiFindMatch& match) {
    if (!sheet_ || sheet_->GetReference() != match.reference) {
        // Through the tree, as a click on the sheet's node: it is selected and the sheet opens
        // with its history.
        if (tree_ && tree_->View())
            for (QTreeWidgetItemIterator it(tree_->View()); *it; ++it) {
                const cmcCellObj* cell = cuiTree::CellOf(*it);
                if (cell != nullptr && cell->argText && *cell->argText == match.reference) {
                    tree_->SelectNode(*it);
                    tree_->SettleNow();
                    break;
                }
            }
        if (!sheet_ || sheet_->GetReference() != match.reference)
            OpenSheet(match.reference);
    }
    if (!sheet_)
        return;
    sheet_->MoveTo(match.col, match.row);
    if (form_)
        form_->activateWindow();
    sheet_->SetFocus();
}
