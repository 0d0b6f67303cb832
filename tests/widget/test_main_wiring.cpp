// What the main window opens for the core: the Edit menu's undo and redo over the session's
// history, the choice list beside a cell, and the clone information window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <QFile>

#include "MainWindowFixture.h"
#include "app/cuiCompareWindow.h"
#include "cells/cmcCellCapsule.h"
#include "cells/cmcCellNames.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/windows/cuiEeDebugWin.h"
#include "ui/windows/cuiFlector.h"

namespace {

class MainWiring : public MainWindowTest {
protected:
    void SetUp() override { Start(); }
};

TEST_F(MainWiring, TheEditMenuUndoesAndRedoesTheSessionsSteps) {
    QAction* undo = main_->UndoItem();
    QAction* redo = main_->RedoItem();
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(undo->shortcuts().contains(QKeySequence(QKeySequence::Undo)));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    // The items are in the Edit menu, whatever it mirrors by then.
    Settle();
    main_->RunPeriodicTask();
    QAction* top = main_->Menu()->FindItemByLabel(CL_Menu_Edit_Top);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(top->menu(), nullptr);
    EXPECT_TRUE(top->menu()->actions().contains(undo));
    EXPECT_TRUE(top->menu()->actions().contains(redo));

    Edit("CHANGED");  // reported as an edit is: one step
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text().toStdString(), main_->Session().UndoText());
    undo->trigger();
    EXPECT_NE(WorkingComment(), "CHANGED");
    EXPECT_FALSE(main_->Session().IsModified());
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(WorkingComment(), "CHANGED");
    EXPECT_TRUE(main_->Session().IsModified());
}

TEST_F(MainWiring, TheFileMenuOffersAPrintPreviewAfterThePrintItems) {
    QAction* preview = main_->PreviewItem();
    ASSERT_NE(preview, nullptr);
    QAction* all = main_->Menu()->FindItemByLabel(CL_Menu_File_Print_All);
    ASSERT_NE(all, nullptr);
    bool follows = false;
    for (QObject* o : all->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            const QList<QAction*> items = menu->actions();
            follows = items.indexOf(preview) == items.indexOf(all) + 1;
        }
    }
    EXPECT_TRUE(follows);
    EXPECT_EQ(preview->text(), QStringLiteral("Print pre&view..."));
}

TEST_F(MainWiring, TheOpenSheetExportsAsATableAndImportsItBackUnchanged) {
    SelectNode("User channels");
    Settle();
    ASSERT_NE(main_->Sheet(), nullptr);
    const std::string csv = Path("user.csv");
    host_->QueueFileName(csv);
    ASSERT_TRUE(main_->ExportSheet());
    QFile file(QString::fromStdString(csv));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray table = file.readAll();
    EXPECT_TRUE(table.contains("2182.0")) << table.left(200).toStdString();

    cmcEeprom before;
    before.CopyFrom(main_->Session().WorkingImage());
    host_->QueueFileName(csv);
    main_->ImportSheet();
    EXPECT_TRUE(main_->Session().WorkingImage().IsEqual(before));
    ASSERT_FALSE(host_->Messages().empty());
    EXPECT_EQ(host_->Messages().back().icon, HostIcon::Information)
        << host_->Messages().back().text;
}

TEST_F(MainWiring, CompareWithAFileListsTheCellsThatDiffer) {
    const std::string other = MakeFile("other.t590", "OTHER SHIP");
    host_->QueueFileName(other);
    ASSERT_TRUE(main_->CompareWithFile());
    cuiCompareWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* c = qobject_cast<cuiCompareWindow*>(w))
            window = c;
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Comparison().Equal());
    window->close();
}

TEST_F(MainWiring, AChoiceCellOpensItsListBesideTheCell) {
    cmcCellObj cell;
    cell.category = CT_UserCh;
    cell.label = CL_UCh_Mode;
    cell.argument = 1;
    cmcCellCapsule opener;
    opener.cell = &cell;
    main_->OpenChoiceList(opener, CL_Sel_Mode_U, 0, main_->Session().Dictionary(),
                          "GI_Sheet_Sel_Mode1_R");
    QCoreApplication::processEvents();
    bool shown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown = shown || (w->isVisible() && qobject_cast<cuiFlector*>(w) != nullptr);
    EXPECT_TRUE(shown);
}

}  // namespace

namespace {

class MainDebugMenu : public MainWindowTest {};

TEST_F(MainDebugMenu, OnlyExpertModeHasTheDebugMenuWithTheMemoryWindow) {
    Start();
    EXPECT_EQ(main_->DebugMenu(), nullptr);
    form_.reset();
    main_.reset();
    Start({"/expert"});
    QMenu* debug = main_->DebugMenu();
    ASSERT_NE(debug, nullptr);
    ASSERT_EQ(debug->actions().size(), 3);
    debug->actions()[0]->trigger();
    bool memory = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        memory = memory || (qobject_cast<cuiEeDebugWin*>(w) != nullptr && w->isVisible());
    EXPECT_TRUE(memory);
}

}  // namespace
