// Journeys of finding and sorting: Ctrl+F finds a frequency on another sheet, F3 and Shift+F3 go
// on and back; Edit › Sort rows... puts channels in order and Ctrl+Z gives the order back; the
// Clone menu's Verify after write is a check item that stays as chosen.
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
