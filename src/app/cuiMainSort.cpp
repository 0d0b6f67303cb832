// The GUI controller's Edit > Sort rows... (offered in the pop-up menu of a sheet's rows too):
// the open sheet's rows (or the selected ones) put in order by the cursor's column, ascending or
// descending as asked, as one undo step.
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/TForm1.h"
#include "app/cuiAppText.h"
#include "app/cuiMain.h"
#include "cells/cmcCellNames.h"
#include "events/cmcEvMan.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetPopup.h"
#include "ui/table/cuiSheetTable.h"
#include "ui/table/cuiSortRows.h"
#include "ui/windows/cuiPlacement.h"

void cuiMain::AddSortItem() {
    sortItem_ = new QAction(cuiLocalText(Dictionary().Line("GI_Sort_Dialog", 0)), form_);
    sortItem_->setObjectName(QStringLiteral("sortRows"));
    form_->addAction(sortItem_);
    QObject::connect(sortItem_, &QAction::triggered, form_, [this] { SortRows(); });
}

void cuiMain::OfferSortInPopup() {
    QMenu* popup = sheet_ ? sheet_->PopupMenu() : nullptr;
    if (popup == nullptr || !sortItem_)
        return;
    // After the sheet's own handler, which has brought the pop-up's items up to date.
    QObject::connect(popup, &QMenu::aboutToShow, popup, [this, popup] { PlaceSortInPopup(popup); });
}

void cuiMain::PlaceSortInPopup(QMenu* popup) {
    if (!popupSortItem_) {
        popupSortSeparator_ = new QAction(form_);
        popupSortSeparator_->setSeparator(true);
        popupSortItem_ = new QAction(sortItem_->text(), form_);
        popupSortItem_->setObjectName(QStringLiteral("popupSortRows"));
        QObject::connect(popupSortItem_, &QAction::triggered, form_, [this] { SortRows(); });
    }
    popup->removeAction(popupSortSeparator_);
    popup->removeAction(popupSortItem_);
    // A sort moves records as Move up and Move down do: it is offered where they are, at the
    // end of the pop-up (whose own items are rebuilt as the cursor goes), as the Edit menu's
    // item is: in its state, doing what it does.
    const cuiSheetPopup* builder = sheet_ ? sheet_->PopupBuilder() : nullptr;
    bool rows = false;
    for (int i = 0; builder != nullptr && i < builder->ItemCount() && !rows; ++i)
        rows =
            builder->ItemCell(i).label == CL_PMenu_CarryUp && builder->ItemAction(i)->isVisible();
    if (!rows)
        return;
    popupSortItem_->setEnabled(sortItem_->isEnabled());
    popup->addAction(popupSortSeparator_);
    popup->addAction(popupSortItem_);
}

int cuiMain::AskSortDirection(const std::string& column) {
    cuiFocusBack focus;  // the keyboard goes back to the sheet when the question goes
    cmcGTex& texts = Dictionary();
    QDialog dialog(form_);
    dialog.setObjectName(QStringLiteral("sortDialog"));
    dialog.setWindowTitle(cuiLocalText(texts.Line("GI_Sort_Dialog", 1)));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(cuiLocalText(FormatText(texts.Line("GI_Sort_Dialog", 2), {column}))));
    auto* ascending = new QRadioButton(cuiLocalText(texts.Line("GI_Sort_Dialog", 3)), &dialog);
    auto* descending = new QRadioButton(cuiLocalText(texts.Line("GI_Sort_Dialog", 4)), &dialog);
    ascending->setObjectName(QStringLiteral("ascending"));
    descending->setObjectName(QStringLiteral("descending"));
    ascending->setChecked(true);
    layout->addWidget(ascending);
    layout->addWidget(descending);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(cuiLocalText(texts.Line("GI_Sort_Dialog", 5)));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(cuiLocalText(texts.Line("GI_Sort_Dialog", 6)));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return kSortCancelled;
    return descending->isChecked() ? kSortDescending : kSortAscending;
}

bool cuiMain::SortRows() {
    cmcGTex& texts = Dictionary();
    if (!sheet_) {
        cuiShowStatus(texts.Line("GI_Sort_Messages", 0), true);
        return false;
    }
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::FinishEditing);
    const std::string reference = sheet_->GetReference();
    const int col = sheet_->CursorCol();
    // A multi-row selection sorts only its rows.
    int first = -1, last = -1;
    if (sheet_->RangePresent())
        for (int r = 0; r < sheet_->RowCount(); ++r)
            if (sheet_->IsHighlighted(col, r)) {
                first = first < 0 ? r : first;
                last = r;
            }
    std::string column;
    {
        cuiSheetTable table(Core(), reference);
        column = table.ColumnCaption(col);
    }
    const int direction = AskSortDirection(column);
    if (direction == kSortCancelled)
        return false;
    const cuiSortResult result =
        cuiSortRows(Core(), reference, col, direction == kSortDescending, first, last);
    if (result.outcome != cuiSortResult::kSorted) {
        cuiShowStatus(
            texts.Line("GI_Sort_Messages", result.outcome == cuiSortResult::kNoColumn ? 2 : 1),
            true);
        return false;
    }
    std::string caption = reference;
    for (const cuiTreeSheet& s : cuiTreeSheets(texts))
        if (s.reference == reference)
            caption = s.caption;
    if (result.moved) {
        session_.CommitChange(indSession::UndoStep::Sort, caption);
        if (sheet_)
            sheet_->Repaint();
    }
    std::string text = FormatText(texts.Line("GI_Sort_Messages", 3), {std::to_string(result.rows)});
    if (result.refused > 0)
        text +=
            " " + FormatText(texts.Line("GI_Sort_Messages", 4), {std::to_string(result.refused)});
    cuiShowStatus(text, result.refused > 0);
    return result.moved;
}
