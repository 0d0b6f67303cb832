// What the GUI controller opens beyond its own window: the choice lists, the bit editor, the
// clone information window, printing, the Edit menu's undo and redo, and the recovery of an
// earlier run's unsaved changes.
#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QUndoStack>

#include "app/TForm1.h"
#include "app/cuiAppText.h"
#include "app/cuiCompareWindow.h"
#include "app/cuiDebugCompare.h"
#include "app/cuiMain.h"
#include "app/cuiPrinting.h"
#include "cells/cmcCellNames.h"
#include "events/cmcEvMan.h"
#include "platform/cmcHost.h"
#include "platform/cmcPath.h"
#include "profile/FileCommands.h"
#include "session/indRecovery.h"
#include "text/cmcGTex.h"
#include "text/cmcTextUtil.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/chrome/cuiTree.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiImageCompare.h"
#include "ui/table/cuiSheetTable.h"
#include "ui/windows/cuiDebugWin.h"
#include "ui/windows/cuiEeDebugWin.h"
#include "ui/windows/cuiFBitsR.h"
#include "ui/windows/cuiFlector.h"
#include "ui/windows/cuiInformation.h"

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
    QAction* before = at + 1 < items.size() ? items[at + 1] : nullptr;
    // One preview of the open sheet and one of every sheet, as there are two print items.
    previewItem_ = new QAction(cuiLocalText(Dictionary().Line("GI_Menu_File_Preview", 0)), form_);
    previewAllItem_ =
        new QAction(cuiLocalText(Dictionary().Line("GI_Menu_File_Preview", 1)), form_);
    file->insertAction(before, previewItem_);
    file->insertAction(before, previewAllItem_);
    QObject::connect(previewItem_, &QAction::triggered, form_, [this] { Preview(false); });
    QObject::connect(previewAllItem_, &QAction::triggered, form_, [this] { Preview(true); });
    QObject::connect(file, &QMenu::aboutToShow, form_, [this] {
        if (previewItem_)
            previewItem_->setEnabled(CanPrintOpenSheet());
    });
}

void cuiMain::Preview(bool all) {
    if (!form_ || (!all && !CanPrintOpenSheet()))
        return;
    if (!printing_)
        printing_ = std::make_unique<cuiPrinting>(form_, Core(), Dictionary(), &treeImages_);
    if (!printing_->Printing())
        printing_->Preview(all, sheet_ ? sheet_->GetReference() : std::string());
}

void cuiMain::FinishEditing() {
    // An open in-place editor commits its text before a command looks at the image.
    if (cmcEvMan* events = cmcEvMan::Global())
        events->SendEvent(cmcEvKind::FinishEditing);
}

// ---- Sheets as tables, and compare.

namespace {

// The dialogs of export and import, by line: the extension, the filter, the offered name.
constexpr const char* kTableDialogKey = "GI_Sys_Dialog_Table";
enum TableDialogLine { kTableExtension = 0, kTableFilter = 1, kTableName = 2 };
// The messages of export and import, by line.
constexpr const char* kTableTextsKey = "GI_AppMess_Table";
enum TableLine { kTableNotWritten = 0, kTableNotRead = 1, kTableRefused = 2, kTableCounts = 3 };

std::string CloneFilter(cmcGTex& dictionary) {
    return dictionary.Line("GI_Sys_Dialog_FOpen", 1);
}

}  // namespace

void cuiMain::AddTableItems() {
    QAction* anchor = previewAllItem_;
    QMenu* file = anchor != nullptr && !anchor->associatedObjects().isEmpty()
                      ? qobject_cast<QMenu*>(anchor->associatedObjects().first())
                      : nullptr;
    if (file == nullptr)
        return;
    const QList<QAction*> items = file->actions();
    const int at = int(items.indexOf(anchor));
    QAction* before = at + 1 < items.size() ? items[at + 1] : nullptr;
    file->insertSeparator(before);
    exportItem_ = new QAction(cuiLocalText(Dictionary().Line("GI_Menu_File_Table", 0)), form_);
    importItem_ = new QAction(cuiLocalText(Dictionary().Line("GI_Menu_File_Table", 1)), form_);
    compareItem_ = new QAction(cuiLocalText(Dictionary().Line("GI_Menu_File_Table", 2)), form_);
    file->insertAction(before, exportItem_);
    file->insertAction(before, importItem_);
    file->insertAction(before, compareItem_);
    QObject::connect(exportItem_, &QAction::triggered, form_, [this] { ExportSheet(); });
    QObject::connect(importItem_, &QAction::triggered, form_, [this] { ImportSheet(); });
    QObject::connect(compareItem_, &QAction::triggered, form_, [this] { CompareWithFile(); });
    QObject::connect(file, &QMenu::aboutToShow, form_, [this] {
        exportItem_->setEnabled(sheet_ != nullptr);
        importItem_->setEnabled(sheet_ != nullptr);
    });
}

bool cuiMain::ExportSheet() {
    FinishEditing();
    if (!sheet_)
        return false;
    HostFileDialog dialog;
    dialog.defaultExtension = Dictionary().Line(kTableDialogKey, kTableExtension);
    dialog.filter = Dictionary().Line(kTableDialogKey, kTableFilter);
    dialog.initialDir = session_.LastDirectory();
    dialog.presetName = Dictionary().Line(kTableDialogKey, kTableName);
    std::string path;
    if (!cmcHost::Instance().AskSaveFileName(dialog, &path))
        return false;
    cuiSheetTable table(Core(), sheet_->GetReference(), &treeImages_);
    const std::string csv = table.ExportCsv();
    QSaveFile out(QString::fromLocal8Bit(path.c_str()));
    const bool written = out.open(QIODevice::WriteOnly) &&
                         out.write(csv.data(), qint64(csv.size())) == qint64(csv.size()) &&
                         out.commit();
    if (!written)
        cmcHost::Instance().MessageBox(
            Dictionary().Text("GI_Sys_AppTitle"),
            FillPlaceholders(Dictionary().Line(kTableTextsKey, kTableNotWritten), {path}),
            HostIcon::Error, HostButtons::Ok);
    else
        session_.Announce(indSession::kDoneExport,
                          {sheet_->GetTitle(), cmcPathFileName(path),
                           std::to_string(table.Rows() - table.HeaderRows())});
    return written;
}

bool cuiMain::ImportSheet() {
    FinishEditing();
    if (!sheet_)
        return false;
    HostFileDialog dialog;
    dialog.defaultExtension = Dictionary().Line(kTableDialogKey, kTableExtension);
    dialog.filter = Dictionary().Line(kTableDialogKey, kTableFilter);
    dialog.initialDir = session_.LastDirectory();
    std::string path;
    if (!cmcHost::Instance().AskOpenFileName(dialog, &path))
        return false;
    QFile in(QString::fromLocal8Bit(path.c_str()));
    if (!in.open(QIODevice::ReadOnly) || in.size() > qint64(cuiSheetTable::kMaxFileBytes)) {
        cmcHost::Instance().MessageBox(
            Dictionary().Text("GI_Sys_AppTitle"),
            FillPlaceholders(Dictionary().Line(kTableTextsKey, kTableNotRead), {path}),
            HostIcon::Error, HostButtons::Ok);
        return false;
    }
    const QByteArray bytes = in.readAll();
    const std::string reference = sheet_->GetReference();
    cuiTableImport result;
    {
        cuiSheetTable table(Core(), reference, &treeImages_);
        // Whatever a behaviour took goes in; what it refused stays as it was and is listed.
        result = table.ImportCsv(std::string_view(bytes.constData(), size_t(bytes.size())),
                                 cuiSheetTable::Apply::kWhatWasTaken);
    }
    std::string report;
    const std::string taken = std::to_string(result.taken);
    const std::string refused = std::to_string(result.issues.size());
    if (result.fileRefused) {
        report =
            FillPlaceholders(Dictionary().Line(kTableTextsKey, kTableRefused), {result.fileError});
    } else {
        report =
            FillPlaceholders(Dictionary().Line(kTableTextsKey, kTableCounts), {taken, refused});
        for (size_t i = 0; i < result.issues.size() && i < 20; ++i)
            report += "\n" + result.issues[i].Describe();
        if (result.issues.size() > 20)
            report += "\n...";
    }
    cmcHost::Instance().MessageBox(Dictionary().Text("GI_Sys_AppTitle"), report,
                                   result.Complete() ? HostIcon::Information : HostIcon::Warning,
                                   HostButtons::Ok);
    if (result.applied)
        CloseSheet();  // rebuilt on the new contents by the periodic task
    if (!result.fileRefused)
        session_.Announce(indSession::kDoneImport, {cmcPathFileName(path), taken, refused});
    return result.applied;
}

namespace {

void OpenDifference(void* self, const cuiImageDifference& difference) {
    static_cast<cuiMain*>(self)->ShowCell(difference.reference, difference.col, difference.row);
}

}  // namespace

bool cuiMain::CompareWithFile() {
    FinishEditing();
    HostFileDialog dialog;
    dialog.defaultExtension = Dictionary().Line("GI_Sys_Dialog_FOpen", 0);
    dialog.filter = CloneFilter(Dictionary());
    dialog.initialDir = session_.LastDirectory();
    std::string path;
    if (!cmcHost::Instance().AskOpenFileName(dialog, &path))
        return false;
    cmcEeprom other;
    if (session_.ReadImageFile(path, other) != 0)
        return false;  // the reader has said why
    const cuiImageComparison comparison = cuiCompareImages(Core(), session_.WorkingImage(), other);
    auto* window = new cuiCompareWindow(
        form_, comparison,
        Dictionary().Line(cuiCompareWindow::kTextsKey, cuiCompareWindow::kOwnImageLine),
        cmcPathFileName(path));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->SetOpenCellCallback(&OpenDifference, this);
    window->show();
    if (comparison.differences.empty())
        session_.Announce(indSession::kDoneCompareSame, {cmcPathFileName(path)});
    else
        session_.Announce(indSession::kDoneCompare,
                          {cmcPathFileName(path), std::to_string(comparison.differences.size())});
    return true;
}

void cuiMain::ShowCell(const std::string& reference, int col, int row) {
    if (!form_)
        return;
    // The tree shows which sheet this is; its node opens the sheet as a click on it would.
    if (tree_) {
        if (QTreeWidgetItem* node = tree_->NodeFor(reference)) {
            tree_->SelectNode(node);
            tree_->SettleNow();
        }
    }
    if (!sheet_ || sheet_->GetReference() != reference)
        OpenSheet(reference);
    if (!sheet_)
        return;
    sheet_->MoveTo(col, row);
    form_->raise();
    form_->activateWindow();
    sheet_->SetFocus();
}

// ---- The Debug menu (expert mode).

void cuiMain::AddDebugMenu() {
    if (!form_ || !session_.ExpertMode() || debugMenu_)
        return;
    cmcGTex& texts = Dictionary();
    debugMenu_ = form_->menuBar()->addMenu(cuiLocalText(texts.Line("GI_Menu_Debug", 0)));
    QAction* memory = debugMenu_->addAction(cuiLocalText(texts.Line("GI_Menu_Debug", 1)));
    QAction* compare = debugMenu_->addAction(cuiLocalText(texts.Line("GI_Menu_Debug", 2)));
    QAction* trace = debugMenu_->addAction(cuiLocalText(texts.Line("GI_Menu_Debug", 3)));
    // The items raise the events the debug windows are opened on, as any other view may.
    auto send = [](cmcEvKind kind) {
        if (cmcEvMan* events = cmcEvMan::Global())
            events->SendEvent(kind);
    };
    QObject::connect(memory, &QAction::triggered, form_,
                     [send] { send(cmcEvKind::OpenMemoryDebug); });
    QObject::connect(compare, &QAction::triggered, form_,
                     [send] { send(cmcEvKind::OpenDebugCompare); });
    QObject::connect(trace, &QAction::triggered, form_, [send] { send(cmcEvKind::OpenFreeDebug); });
}

void cuiMain::OpenMemoryWindow() {
    if (!form_)
        return;
    auto* window = new cuiEeDebugWin(Core(), form_, Dictionary().Text("GI_Sys_AppTitle"),
                                     Dictionary(), cuiEeDebugWin::kBaseName, &treeImages_);
    window->show();
}

void cuiMain::OpenTraceWindow() {
    if (!form_)
        return;
    auto* window = new cuiDebugWin(form_);
    window->show();
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
        undoItem_->setText(
            cuiLocalText(text.empty() ? Dictionary().Line("GI_Menu_Edit_Undo", 0) : text));
        undoItem_->setEnabled(session_.CanUndo());
    }
    if (redoItem_) {
        const std::string text = session_.RedoText();
        redoItem_->setText(
            cuiLocalText(text.empty() ? Dictionary().Line("GI_Menu_Edit_Undo", 1) : text));
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
    const HostAnswer answer =
        cmcHost::Instance().MessageBox(Dictionary().Text("GI_Sys_AppTitle"),
                                       ReadTextBlock(Dictionary(), "GI_Mess_Confirm_Recovery"),
                                       HostIcon::Question, HostButtons::YesNo);
    if (answer == HostAnswer::Yes)
        session_.RestoreRecovery();
    else
        session_.DiscardRecovery();
}
