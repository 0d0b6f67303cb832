// Journeys of finding and sorting: Ctrl+F finds a frequency on another sheet, F3 and Shift+F3 go
// on and back; Edit › Sort rows... puts channels in order and Ctrl+Z gives the order back, and
// the rows' pop-up menu sorts the same way; the Clone menu's Verify after write is a check item
// that stays as chosen.
#include <QLabel>
#include <QRadioButton>

#include "Journey.h"
#include "app/cuiFindWindow.h"

namespace {

constexpr int kRx = 1;

class FindJourney : public Journey {
protected:
    void SetUp() override {
        Start();
        OpenNode(QStringLiteral("User channels"));
        TabIntoSheet();
    }
    void Enter(int col, int row, const QString& text) {
        ClickCell(col, row);
        Type(text);
        Key(Qt::Key_Return);
    }
};

TEST_F(FindJourney, CtrlFFindsAFrequencyTypedWithACommaAndF3GoesOn) {
    Enter(kRx, 3, QStringLiteral("8291"));
    Enter(kRx, 5, QStringLiteral("8291"));
    OpenNode(QStringLiteral("Band edges"));
    TabIntoSheet();
    Key(Qt::Key_F, Qt::ControlModifier);
    cuiFindWindow* find = nullptr;
    ASSERT_TRUE(WaitUntil([&find] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if ((find = qobject_cast<cuiFindWindow*>(w)) && w->isVisible())
                return true;
        return false;
    }));
    ASSERT_TRUE(WaitUntil([find] { return find->TextField()->hasFocus(); }));
    QTest::keyClicks(find->TextField(), QStringLiteral("8291,0"));
    QTest::keyClick(find->TextField(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([this] {
        return Sheet() && Sheet()->GetReference() == "GI_Sheet_UserCh" && Sheet()->CursorRow() == 3;
    }));
    EXPECT_EQ(Sheet()->CursorCol(), kRx);
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    Key(Qt::Key_F3);
    EXPECT_TRUE(WaitUntil([this] { return Sheet()->CursorRow() == 5; }));
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(WaitUntil([this] { return Sheet()->CursorRow() == 3; }));
    // The Edit menu's own items do the same.
    Choose({QStringLiteral("Edit"), QStringLiteral("Find next")});
    EXPECT_TRUE(WaitUntil([this] { return Sheet()->CursorRow() == 5; }));
    Choose({QStringLiteral("Edit"), QStringLiteral("Find previous")});
    EXPECT_TRUE(WaitUntil([this] { return Sheet()->CursorRow() == 3; }));
    Choose({QStringLiteral("Edit"), QStringLiteral("Find...")});
    EXPECT_TRUE(WaitUntil([find] { return find->isVisible(); }));
    QTest::keyClick(find, Qt::Key_Escape);
}

TEST_F(FindJourney, SortRowsPutsTheChannelsInOrderAndUndoGivesTheOrderBack) {
    Enter(kRx, 2, QStringLiteral("8291"));
    Enter(kRx, 3, QStringLiteral("4125"));
    ASSERT_EQ(Shown(kRx, 1), "2182.0");
    ClickCell(kRx, 1);
    WhenDialog([](QWidget* dialog) {
        QWidget* down = dialog->findChild<QRadioButton*>(QStringLiteral("descending"));
        ASSERT_NE(down, nullptr);
        QTest::mouseClick(down, Qt::LeftButton);
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    Choose({QStringLiteral("Edit"), QStringLiteral("Sort rows...")});
    WaitForDialogs();
    EXPECT_EQ(Shown(kRx, 1), "8291.0");
    EXPECT_EQ(Shown(kRx, 2), "4125.0");
    EXPECT_EQ(Shown(kRx, 3), "2182.0");
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 1), "2182.0");
    EXPECT_EQ(Shown(kRx, 2), "8291.0");
    EXPECT_EQ(Shown(kRx, 3), "4125.0");
}

// Rows selected with Shift+Down are the only ones sorted: the rows around them stay.
TEST_F(FindJourney, SortRowsOfASelectionSortsOnlyThoseRows) {
    Enter(kRx, 2, QStringLiteral("16420"));
    Enter(kRx, 3, QStringLiteral("8291"));
    Enter(kRx, 4, QStringLiteral("4125"));
    Enter(kRx, 5, QStringLiteral("6215"));
    ASSERT_EQ(Shown(kRx, 1), "2182.0");
    ClickCell(kRx, 3);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    WhenDialog([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });  // ascending
    Choose({QStringLiteral("Edit"), QStringLiteral("Sort rows...")});
    WaitForDialogs();
    const std::vector<std::string> shown = {Shown(kRx, 1), Shown(kRx, 2), Shown(kRx, 3),
                                            Shown(kRx, 4), Shown(kRx, 5)};
    EXPECT_EQ(shown, (std::vector<std::string>{"2182.0", "16420.0", "4125.0", "6215.0", "8291.0"}));
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
}

TEST_F(FindJourney, TheRowsPopupSortsAsEditDoesAndTheChannelNumbersStayInOrder) {
    Enter(kRx, 2, QStringLiteral("8291"));
    Enter(kRx, 3, QStringLiteral("4125"));
    ASSERT_EQ(Shown(kRx, 1), "2182.0");
    std::vector<std::string> numbers;  // the "Ch" column: row captions, not records
    for (int r = 1; r < Sheet()->RowCount(); ++r)
        numbers.push_back(Shown(0, r));
    // The pop-up of the row, with a right click on its cell: the offscreen platform sends no
    // context-menu event for the Menu key (the window systems do, and the sheet answers it).
    cuiGrid* grid = Sheet()->Grid();
    grid->ShowCell(kRx, 2);
    QTest::mouseClick(GridViewport(), Qt::RightButton, Qt::NoModifier,
                      grid->CellRect(kRx, 2).center());
    QMenu* popup = Sheet()->PopupMenu();
    ASSERT_TRUE(WaitUntil([popup] { return QApplication::activePopupWidget() == popup; }));
    EXPECT_EQ(Sheet()->CursorRow(), 2);
    QAction* sort = nullptr;
    for (QAction* a : popup->actions())
        if (a->isVisible() && journey::Plain(a->text()) == QStringLiteral("Sort rows..."))
            sort = a;
    ASSERT_NE(sort, nullptr) << "the pop-up offers no Sort rows...";
    EXPECT_EQ(sort->isEnabled(), Window().SortItem()->isEnabled());
    std::string asked;
    WhenDialog([&asked](QWidget* dialog) {
        for (QLabel* label : dialog->findChildren<QLabel*>())
            asked += label->text().toStdString();
        QTest::keyClick(dialog, Qt::Key_Return);  // ascending, as the window proposes
    });
    for (int step = 0; step < 32 && popup->activeAction() != sort; ++step)
        QTest::keyClick(popup, Qt::Key_Down);
    ASSERT_EQ(popup->activeAction(), sort);
    QTest::keyClick(popup, Qt::Key_Return);
    WaitForDialogs();
    EXPECT_NE(asked.find("Receive kHz"), std::string::npos) << asked;
    EXPECT_EQ(Shown(kRx, 1), "2182.0");
    EXPECT_EQ(Shown(kRx, 2), "4125.0");
    EXPECT_EQ(Shown(kRx, 3), "8291.0");
    std::vector<std::string> after;
    for (int r = 1; r < Sheet()->RowCount(); ++r)
        after.push_back(Shown(0, r));
    EXPECT_EQ(after, numbers);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(after[std::size_t(r - 1)], std::to_string(r));
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 2), "8291.0");
    EXPECT_EQ(Shown(kRx, 3), "4125.0");
}

TEST_F(FindJourney, VerifyAfterWriteIsACheckItemThatStaysAsChosen) {
    auto checked = [this] {
        for (const QAction* a : journey::MenuItems(*Form()->menuBar()))
            if (journey::Plain(a->text()) == QStringLiteral("Verify after write"))
                return a->isChecked();
        return false;
    };
    EXPECT_FALSE(checked());
    Choose({QStringLiteral("Clone"), QStringLiteral("Verify after write")});
    ShowMenu(QStringLiteral("Clone"));  // a refresh of the menu keeps it
    EXPECT_TRUE(checked());
    Choose({QStringLiteral("Clone"), QStringLiteral("Verify after write")});
    EXPECT_FALSE(checked());
}

}  // namespace
