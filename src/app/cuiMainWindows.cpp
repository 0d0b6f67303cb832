// What the GUI controller opens beyond its own window: the choice lists, the bit editor, the
// clone information window, printing, the Edit menu's undo and redo, and the recovery of an
// earlier run's unsaved changes.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QUndoStack>

#include "app/TForm1.h"
#include "app/cuiMain.h"
#include "app/cuiPrinting.h"
#include "cells/cmcCellNames.h"
#include "platform/cmcHost.h"
#include "session/indRecovery.h"
#include "text/cmcGTex.h"
#include "ui/cuiFBitsR.h"
#include "ui/cuiFlector.h"
#include "ui/cuiInformation.h"
#include "ui/cuiMenu.h"
#include "ui/cuiSheet.h"

void cuiMain::OpenChoiceList(const cmcCellCapsule& opener, int itemLabel, int currentValue,
                             cmcGTex& dictionary, const std::string& listKey) {
    cuiOpenChoiceList(Core(), form_, opener, itemLabel, currentValue, dictionary, listKey,
                      &treeImages_);
}

void cuiMain::OpenBitEditor(const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                            int firstBit, int lastBit, int headerStyle, int markStyle,
                            const std::string& sheetName) {
    cuiOpenBitEditor(Core(), form_, opener, dictionary, value, firstBit, lastBit, headerStyle,
                     markStyle, sheetName, &treeImages_);
}

void cuiMain::ShowCloneInformation() {
    if (!form_)
        return;
    // One window at a time: a new identification replaces what the last one showed.
    delete infoWindow_.data();
    infoWindow_ = cuiInformation::Show(Core(), form_, Dictionary().Text("GI_Sys_AppTitle"),
                                       Dictionary(), "GI_Sheet_CloneInfo", &treeImages_);
}

void cuiMain::Print(bool all) {
    if (!form_)
        return;
    if (!printing_)
        printing_ = std::make_unique<cuiPrinting>(form_, Core(), Dictionary(), &treeImages_);
    if (printing_->Printing())
        return;
    printing_->Print(all, sheet_ ? sheet_->GetReference() : std::string());
}

void cuiMain::AddPreviewItem() {
    // Technicians check the pages before they spend paper: a preview beside the print items.
    QAction* all = menu_ ? menu_->FindItemByLabel(CL_Menu_File_Print_All) : nullptr;
    QMenu* file = nullptr;
    if (all != nullptr)
        for (QObject* o : all->associatedObjects())
            if ((file = qobject_cast<QMenu*>(o)) != nullptr)
                break;
    if (file == nullptr)
        return;
    const QList<QAction*> items = file->actions();
    const int at = int(items.indexOf(all));
    previewItem_ = new QAction(QStringLiteral("Print pre&view..."), form_);
    file->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, previewItem_);
    QObject::connect(previewItem_, &QAction::triggered, form_, [this] {
        if (!printing_)
            printing_ = std::make_unique<cuiPrinting>(form_, Core(), Dictionary(), &treeImages_);
        if (!printing_->Printing())
            printing_->Preview(!sheet_, sheet_ ? sheet_->GetReference() : std::string());
    });
}

// ---- Undo and redo.

void cuiMain::AddUndoItems() {
    // The window keeps the shortcuts even when the Edit menu is not built: an in-place editor
    // still takes Ctrl+Z for its own text first.
    undoItem_ = new QAction(form_);
    redoItem_ = new QAction(form_);
    undoItem_->setShortcuts(QKeySequence::Undo);
    redoItem_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    form_->addAction(undoItem_);
    form_->addAction(redoItem_);
    PlaceUndoItems();
    QObject::connect(undoItem_, &QAction::triggered, form_, [this] { session_.Undo(); });
    QObject::connect(redoItem_, &QAction::triggered, form_, [this] { session_.Redo(); });
    if (QUndoStack* stack = session_.UndoStack()) {
        QObject::connect(stack, &QUndoStack::indexChanged, form_, [this] { UpdateUndoItems(); });
        QObject::connect(stack, &QUndoStack::cleanChanged, form_, [this] { UpdateUndoItems(); });
    }
    UpdateUndoItems();
}

void cuiMain::PlaceUndoItems() {
    // The Edit menu is rebuilt whenever it mirrors another sheet's pop-up: the two items go back
    // to its top each time they are missing.
    QAction* top = menu_ ? menu_->FindItemByLabel(CL_Menu_Edit_Top) : nullptr;
    QMenu* edit = top != nullptr ? top->menu() : nullptr;
    if (edit == nullptr || !undoItem_ || edit->actions().contains(undoItem_))
        return;
    QAction* first = edit->actions().isEmpty() ? nullptr : edit->actions().first();
    edit->insertAction(first, undoItem_);
    edit->insertAction(first, redoItem_);
    if (first != nullptr)
        edit->insertSeparator(first);
    UpdateUndoItems();
}

void cuiMain::UpdateUndoItems() {
    if (undoItem_) {
        const std::string text = session_.UndoText();
        undoItem_->setText(text.empty() ? QStringLiteral("&Undo") : QString::fromLocal8Bit(text));
        undoItem_->setEnabled(session_.CanUndo());
    }
    if (redoItem_) {
        const std::string text = session_.RedoText();
        redoItem_->setText(text.empty() ? QStringLiteral("&Redo") : QString::fromLocal8Bit(text));
        redoItem_->setEnabled(session_.CanRedo());
    }
}

// ---- Recovery and backups.

void cuiMain::StartRecovery() {
    const std::string dir = indRecovery::StandardDirectory();
    if (!session_.EnableRecovery(dir))
        return;
    session_.SetBackupDirectory(dir + "/Backups");
    if (!session_.HasEarlierRecovery())
        return;
    // An earlier run ended with unsaved changes (a crash or a power cut): offer them back.
    const HostAnswer answer = cmcHost::Instance().MessageBox(
        Dictionary().Text("GI_Sys_AppTitle"),
        "The program ended last time with unsaved changes, which were kept.\n\n"
        "Yes: restore them (then save them to a file). No: discard them.",
        HostIcon::Question, HostButtons::YesNo);
    if (answer == HostAnswer::Yes)
        session_.RestoreRecovery();
    else
        session_.DiscardRecovery();
}
