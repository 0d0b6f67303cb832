// The sheets of the main window: the tree opens them, the periodic task reopens the closed one,
// each comes back where the technician left it, the font size rebuilds it, the Edit menu mirrors
// its current cell, and the tree's marks follow the warning check 250 ms after the last edit.
#include <gtest/gtest.h>

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include "MainWindowFixture.h"
#include "cells/cmcCellNames.h"
#include "memory/datCh.h"
#include "platform/cmcClock.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"

namespace {

class MainSheets : public MainWindowTest {
protected:
    void SetUp() override { Start(); }
    void PressDown(int times) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(main_->Sheet()->Grid(), Qt::Key_Down);
    }
    // A user channel whose receive frequency no band allows: an error of the user channel sheet.
    void BreakUserChannel(int n) {
        datCh ch(main_->Session().WorkingImage());
        ch.Load(datCh::kUserCh, n);
        ch.flags = datCh::kUsed;
        ch.rxFreq = 40000000;
        ch.Save();
        main_->Session().CheckModified();
        main_->Session().ScheduleWarningCheck();
    }
};

TEST_F(MainSheets, SelectingATreeNodeOpensItsSheetInTheRightPanel) {
    SelectNode("User channels");
    ASSERT_NE(main_->Sheet(), nullptr);
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_UserCh");
    EXPECT_EQ(main_->Sheet()->Widget()->parentWidget(), main_->RightPanel());
    EXPECT_TRUE(main_->Sheet()->Grid()->isVisible());
    SelectNode("Common settings");
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_Common");
    EXPECT_EQ(main_->Sheet()->GetReference(), "[St_Common]GI_Sheet_Common");
    // A folder opens no sheet: the last one stays.
    SelectNode("DSC");
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_Common");
}

TEST_F(MainSheets, EveryNodeOfTheTreeOpensItsSheet) {
    int sheets = 0;
    std::vector<QTreeWidgetItem*> pending{main_->Tree()->FirstNode()};
    while (!pending.empty()) {
        QTreeWidgetItem* node = pending.back();
        pending.pop_back();
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
        const cmcCellObj* cell = cuiTree::CellOf(node);
        if (cell == nullptr || cell->label != CallSheet)
            continue;
        main_->Tree()->SelectNode(node);
        main_->Tree()->SettleNow();
        ASSERT_NE(main_->Sheet(), nullptr) << node->text(0).toStdString();
        EXPECT_EQ(main_->Sheet()->GetReference(), *cell->argText);
        EXPECT_GT(main_->Sheet()->RowCount(), 0);
        ++sheets;
    }
    EXPECT_EQ(sheets, 15);
}

TEST_F(MainSheets, WithoutASheetThePanelSaysWhatToDo) {
    main_->RunPeriodicTask();  // the root is selected: it names no sheet
    EXPECT_EQ(main_->Sheet(), nullptr);
    ASSERT_NE(main_->NoSheetHint(), nullptr);
    EXPECT_TRUE(main_->NoSheetHint()->isVisible());
    EXPECT_EQ(main_->NoSheetHint()->text().toStdString(),
              cmcGTex::Main()->Text("GI_Form_Main_NoSheet"));
    SelectNode("Band edges");
    EXPECT_FALSE(main_->NoSheetHint()->isVisible());
    main_->CloseSheet();
    main_->RunPeriodicTask();  // reopened at once: the hint does not come back in between
    EXPECT_FALSE(main_->NoSheetHint()->isVisible());
}

TEST_F(MainSheets, AClosedSheetIsReopenedByThePeriodicTask) {
    SelectNode("ITU channels");
    main_->CloseSheet();
    EXPECT_EQ(main_->Sheet(), nullptr);
    main_->RunPeriodicTask();
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_ItuCh");
}

TEST_F(MainSheets, ASheetComesBackWithItsCursorAndTheHistoryHoldsEachSheetOnce) {
    SelectNode("User channels");
    main_->Sheet()->SetFocus();
    PressDown(7);
    const cuiCursorMemory left = main_->Sheet()->CursorMemory();
    EXPECT_GT(left.row, 7);
    SelectNode("ITU channels");
    PressDown(2);
    SelectNode("User channels");
    const cuiCursorMemory back = main_->Sheet()->CursorMemory();
    EXPECT_EQ(back.row, left.row);
    EXPECT_EQ(back.col, left.col);
    EXPECT_EQ(back.topRow, left.topRow);
    SelectNode("ITU channels");
    const auto& entries = main_->History().Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].base, "GI_Sheet_UserCh");  // most recent first
    EXPECT_EQ(entries[1].base, "GI_Sheet_ItuCh");
}

TEST_F(MainSheets, TheFocusStaysWhereItWasWhenTheSheetChanges) {
    SelectNode("User channels");
    main_->Tree()->View()->setFocus();
    SelectNode("ITU channels");
    EXPECT_TRUE(main_->Tree()->View()->hasFocus());
    main_->Sheet()->SetFocus();
    main_->CloseSheet();
    main_->RunPeriodicTask();
    EXPECT_TRUE(main_->Sheet()->Grid()->hasFocus());
}

TEST_F(MainSheets, AnotherFontSizeRebuildsTheSheetWhereItWas) {
    SelectNode("User channels");
    main_->Sheet()->SetFocus();
    PressDown(4);
    const int row = main_->Sheet()->CursorRow();
    const int height = main_->Sheet()->Grid()->RowHeight(1);
    Choose(CL_Menu_View_FontSize, 150);
    EXPECT_EQ(Environ().fontSizePercentage, 150);
    EXPECT_EQ(main_->Sheet(), nullptr);
    main_->RunPeriodicTask();
    ASSERT_NE(main_->Sheet(), nullptr);
    EXPECT_EQ(main_->Sheet()->CursorRow(), row);
    EXPECT_GT(main_->Sheet()->Grid()->RowHeight(1), height);
    main_->Menu()->UpdateItems(nullptr);
    EXPECT_TRUE(MenuItem(CL_Menu_View_FontSize, 150)->isChecked());
    EXPECT_FALSE(MenuItem(CL_Menu_View_FontSize, 100)->isChecked());
}

TEST_F(MainSheets, TheEditMenuMirrorsTheCurrentCellsPopup) {
    Settle();
    QAction* edit = MenuItem(CL_Menu_Edit_Top);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(edit->menu(), nullptr);
    // Without a sheet: the single disabled "No item" (below the program's undo and redo items
    // and their separator).
    main_->Menu()->UpdateItems(nullptr);
    Settle();
    QList<QAction*> mirrored = edit->menu()->actions();
    mirrored.removeAll(main_->UndoItem());
    mirrored.removeAll(main_->RedoItem());
    for (QAction* own :
         {main_->FindItem(), main_->FindNextItem(), main_->FindPreviousItem(), main_->SortItem()})
        mirrored.removeAll(own);
    mirrored.erase(std::remove_if(mirrored.begin(), mirrored.end(),
                                  [](QAction* a) { return a->isSeparator(); }),
                   mirrored.end());
    ASSERT_EQ(mirrored.size(), 1);
    EXPECT_FALSE(mirrored[0]->isEnabled());

    SelectNode("User channels");
    main_->Sheet()->SetFocus();
    PressDown(1);
    Settle();
    QStringList captions;
    for (QAction* a : edit->menu()->actions())
        captions << a->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("&Copy"))) << captions.join(',').toStdString();
    EXPECT_TRUE(captions.contains(QStringLiteral("&Insert")));

    // Their states are those of the sheet's current row: a user channel allows row edits, and
    // there is nothing to paste yet.
    auto item = [edit](const char* caption) -> QAction* {
        for (QAction* a : edit->menu()->actions())
            if (a->text() == QLatin1String(caption))
                return a;
        return nullptr;
    };
    ASSERT_TRUE(item("&Insert") && item("&Paste") && item("&Copy"));
    EXPECT_TRUE(item("&Insert")->isEnabled());
    EXPECT_TRUE(item("&Delete")->isEnabled());
    EXPECT_FALSE(item("&Paste")->isEnabled());

    // They run the popup's commands on the sheet's current row.
    EXPECT_FALSE(main_->Session().Clipboard().CanPaste(datCh::kUserCh));
    item("&Copy")->trigger();
    EXPECT_TRUE(main_->Session().Clipboard().CanPaste(datCh::kUserCh));
    main_->Menu()->UpdateItems(nullptr);
    EXPECT_TRUE(item("&Paste")->isEnabled());
}

TEST_F(MainSheets, TheTreeMarksFollowTheCheck250MillisecondsAfterTheLastEdit) {
    cmcClock::SetManual(100000);
    QTreeWidgetItem* userChannels = Node("User channels");
    QTreeWidgetItem* channels = Node("Channels");
    ASSERT_TRUE(userChannels && channels);
    channels->setExpanded(false);
    EXPECT_EQ(cuiTree::MarkOf(userChannels), cuiTree::kNoMark);

    BreakUserChannel(1);
    cmcClock::Advance(200);
    main_->RunPeriodicTask();
    EXPECT_EQ(cuiTree::MarkOf(userChannels), cuiTree::kNoMark);
    BreakUserChannel(2);  // a further edit postpones the check
    cmcClock::Advance(200);
    main_->RunPeriodicTask();
    EXPECT_EQ(cuiTree::MarkOf(userChannels), cuiTree::kNoMark);
    cmcClock::Advance(50);
    main_->RunPeriodicTask();
    EXPECT_EQ(cuiTree::MarkOf(userChannels), cuiTree::kMarkError);
    // The collapsed folder carries the mark of the node it hides, until it is opened.
    EXPECT_EQ(cuiTree::MarkOf(channels), cuiTree::kMarkError);
    channels->setExpanded(true);
    EXPECT_EQ(cuiTree::MarkOf(channels), cuiTree::kNoMark);
    EXPECT_EQ(cuiTree::MarkOf(userChannels), cuiTree::kMarkError);
    cmcClock::SetAutomatic();
}

}  // namespace
