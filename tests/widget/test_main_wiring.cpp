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
#include "events/cmcEvMan.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/windows/cuiDebugWin.h"
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

// Events 5 and 6 open the free trace window and the memory window, whoever raises them.
TEST_F(MainDebugMenu, EventsFiveAndSixOpenTheTraceAndTheMemoryWindow) {
    Start();
    auto shown = [](auto* probe) {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<decltype(probe)>(w) != nullptr && w->isVisible();
        return n;
    };
    ASSERT_EQ(shown(static_cast<cuiDebugWin*>(nullptr)), 0);
    events_.SendEvent(cmcEvKind::OpenFreeDebug);
    EXPECT_EQ(shown(static_cast<cuiDebugWin*>(nullptr)), 1);
    ASSERT_EQ(shown(static_cast<cuiEeDebugWin*>(nullptr)), 0);
    events_.SendEvent(cmcEvKind::OpenMemoryDebug);
    EXPECT_EQ(shown(static_cast<cuiEeDebugWin*>(nullptr)), 1);
}

// The Edit menu's own items (undo and redo) stay through every rebuild of the mirror: a sheet
// taking and losing the focus used to retire them with their shortcuts, and the "No item" rule
// counted them as mirrored items.
TEST_F(MainWiring, UndoAndRedoSurviveTheMirrorsRebuildAndDoNotCountAsItsItems) {
    SelectNode("User channels");
    Settle();
    ASSERT_NE(main_->Sheet(), nullptr);
    QAction* top = main_->Menu()->FindItemByLabel(CL_Menu_Edit_Top);
    ASSERT_NE(top, nullptr);
    for (int round = 0; round < 3; ++round) {
        main_->Sheet()->SetFocus();
        Settle();
        main_->Tree()->View()->setFocus();
        Settle();
        main_->Menu()->UpdateItems(nullptr);
        Settle();
    }
    ASSERT_NE(main_->UndoItem(), nullptr);
    ASSERT_NE(main_->RedoItem(), nullptr);
    EXPECT_TRUE(top->menu()->actions().contains(main_->UndoItem()));
    EXPECT_TRUE(top->menu()->actions().contains(main_->RedoItem()));
    EXPECT_EQ(main_->Menu()->ItemCount(CL_Menu_Edit_Top), 1);  // "No item" alone is mirrored
    bool noItemShown = false;
    for (QAction* a : top->menu()->actions())
        noItemShown =
            noItemShown || (a->isVisible() && a->text().startsWith(QStringLiteral("No item")));
    EXPECT_TRUE(noItemShown);
}

}  // namespace
