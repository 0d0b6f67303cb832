// Find and sort in the main window: Ctrl+F opens the find window, Enter and F3 go to the next
// match (the sheet opened through the tree, the cursor on the cell, the focus in the grid),
// Shift+F3 to the previous one, wrapping with a status message; List all and its lines; and
// Edit > Sort rows... as one undo step that gives back exactly the image before, offered in the
// rows' pop-up menu too.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cctype>
#include <cstring>

#include "MainWindowFixture.h"
#include "app/cuiFindWindow.h"
#include "memory/datCh.h"
#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/table/cuiFind.h"

namespace {

// Whether typed text matches a cell's shown text.
struct QueryCase {
    const char* typed;
    bool matchCase;
    bool wholeCell;
    const char* cell;
    bool matches;
};

class FindQuery : public ::testing::TestWithParam<QueryCase> {};

TEST_P(FindQuery, MatchesCellsAsTheSheetsShowThem) {
    const QueryCase& c = GetParam();
    cuiFindOptions options;
    options.matchCase = c.matchCase;
    options.wholeCell = c.wholeCell;
    EXPECT_EQ(cuiFindQuery(c.typed, options).Matches(c.cell), c.matches)
        << "\"" << c.typed << "\" in \"" << c.cell << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, FindQuery,
                         ::testing::Values(QueryCase{"8291", false, false, "8291.0", true},
                                           QueryCase{"8291,0", false, false, "8291.0", true},
                                           QueryCase{"8291 kHz", false, false, "8291.0", true},
                                           QueryCase{"8291.0 KHZ", false, false, "8291.0", true},
                                           QueryCase{"2182", false, false, "2182 kHz", true},
                                           QueryCase{"8291", false, true, "8291.0", true},
                                           QueryCase{"829", false, true, "8291.0", false},
                                           QueryCase{"829", false, false, "8291.0", true},
                                           QueryCase{"8291.5", false, false, "8291.0", false},
                                           QueryCase{"usb", false, false, "USB", true},
                                           QueryCase{"usb", true, false, "USB", false},
                                           QueryCase{"Coast", false, true, "Coast station", false},
                                           QueryCase{"coast station", false, true, "Coast station",
                                                     true},
                                           QueryCase{"  ", false, false, "anything", false},
                                           QueryCase{"", false, false, "", false}));

class MainFind : public MainWindowTest {
protected:
    void SetUp() override {
        Start();
        // Two user channels in use with a comment found nowhere else.
        for (int n : {5, 7}) {
            datCh ch(main_->Session().WorkingImage());
            ch.Load(datCh::kUserCh, n);
            ch.flags = datCh::kUsed;  // an unused row shows no comment
            ch.rxFreq = ch.txFreq = 8000000 + n * 1000;
            std::memset(ch.comment, ' ', sizeof ch.comment);
            std::memcpy(ch.comment, "ZQXW", 4);
            ch.Save();
        }
        SelectNode("Common settings");
        ASSERT_EQ(OpenSheetBase(), "GI_Sheet_Common");
    }
    QWidget* Focus() const { return QApplication::focusWidget(); }
    cuiFindWindow* Window() const { return main_->FindWindow(); }
    void OpenAndType(const char* text) {
        ASSERT_NE(Focus(), nullptr);
        QTest::keyClick(Focus(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_NE(Window(), nullptr) << "Ctrl+F opens the find window";
        ASSERT_TRUE(Window()->isVisible());
        // The offscreen platform has no window manager to activate the window it raised.
        QApplication::setActiveWindow(Window());
        ASSERT_TRUE(Window()->TextField()->hasFocus());
        QTest::keyClicks(Window()->TextField(), QString::fromLatin1(text));
    }
    // The main window activated, as the window manager does when the program asks for it at a
    // match; the keyboard is then where the program put it.
    QWidget* MainFocus() {
        QApplication::setActiveWindow(form_.get());
        return QApplication::focusWidget();
    }
    int Row() const { return main_->Sheet() ? main_->Sheet()->CursorRow() : -1; }
    std::string Current() const {
        QTreeWidgetItem* node = main_->Tree()->View()->currentItem();
        return node ? node->text(0).toStdString() : std::string();
    }
    int CommentColumn() const { return 4; }
};

TEST_F(MainFind, EnterAndF3GoToEachMatchInTurnAndWrapWithAMessage) {
    OpenAndType("zqxw");
    QTest::keyClick(Window()->TextField(), Qt::Key_Return);
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_UserCh");
    EXPECT_EQ(Current(), "User channels") << "the tree follows";
    EXPECT_EQ(Row(), 5);
    EXPECT_EQ(main_->Sheet()->CursorCol(), CommentColumn());
    EXPECT_EQ(MainFocus(), main_->Sheet()->Grid()) << "the keyboard is in the grid";

    QTest::keyClick(MainFocus(), Qt::Key_F3);
    EXPECT_EQ(Row(), 7);
    QTest::keyClick(MainFocus(), Qt::Key_F3);
    EXPECT_EQ(Row(), 5) << "wrapped";
    EXPECT_NE(main_->MessageText().find(cmcGTex::Main()->Line("GI_Find_Wrapped", 0)),
              std::string::npos)
        << main_->MessageText();
    QTest::keyClick(MainFocus(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Row(), 7) << "Shift+F3 goes back, wrapping the other way";
    QTest::keyClick(MainFocus(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Row(), 5);
}

TEST_F(MainFind, ASearchWithoutAMatchSaysSoAndMovesNothing) {
    OpenAndType("no such text anywhere");
    QTest::keyClick(Window()->TextField(), Qt::Key_Return);
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_Common");
    std::string expected = cmcGTex::Main()->Text("GI_Find_NotFound");
    expected.replace(expected.find("%s"), 2, "no such text anywhere");
    EXPECT_EQ(main_->MessageText(), expected);
}

TEST_F(MainFind, ListAllShowsEveryMatchAndALineOpensItsCell) {
    OpenAndType("ZQXW");
    QTest::mouseClick(Window()->ListButton(), Qt::LeftButton);
    QTreeWidget* list = Window()->List();
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), "User channels");
    EXPECT_EQ(list->topLevelItem(1)->text(1).toStdString(), "7");
    EXPECT_EQ(list->topLevelItem(1)->text(3).toStdString(), "ZQXW");
    // Down to the second line, Enter on it.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentItem(), list->topLevelItem(1));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_UserCh");
    EXPECT_EQ(Row(), 7);
}

TEST_F(MainFind, ThisSheetOnlyFindsNothingOnAnotherSheet) {
    OpenAndType("ZQXW");
    Window()->ScopeBox()->setCurrentIndex(0);  // this sheet: the common settings
    QTest::keyClick(Window()->TextField(), Qt::Key_Return);
    EXPECT_EQ(OpenSheetBase(), "GI_Sheet_Common");
}

class MainSort : public MainWindowTest {
protected:
    void SetUp() override {
        Start();
        SelectNode("User channels");
        ASSERT_EQ(OpenSheetBase(), "GI_Sheet_UserCh");
    }
};

TEST_F(MainSort, SortsTheUsedRowsByTheCursorsColumnAsOneUndoStep) {
    cmcEeprom& image = main_->Session().WorkingImage();
    const int last = datCh::LastEntry(image.Bytes(), datCh::kUserCh);
    ASSERT_GE(last, 4);
    // Descending frequencies, each with a comment that must travel with its record.
    for (int n = 1; n <= last; ++n) {
        datCh ch(image);
        ch.Load(datCh::kUserCh, n);
        ch.flags = datCh::kUsed;
        ch.rxFreq = ch.txFreq = 2000000 + (last - n) * 100000;
        char comment[9];
        std::snprintf(comment, sizeof comment, "C%-7d", n);
        std::memcpy(ch.comment, comment, 8);
        ch.Save();
    }
    main_->Session().CheckModified();
    cmcEeprom before;
    before.CopyFrom(image);
    main_->Sheet()->MoveTo(1, 1);
    QAction* sort = main_->SortItem();
    ASSERT_NE(sort, nullptr);
    sort->trigger();
    ASSERT_EQ(main_->sortAsked.size(), 1u);
    EXPECT_EQ(main_->sortAsked[0], "Receive kHz");
    for (int n = 1; n <= last; ++n) {
        datCh ch(image);
        ch.Load(datCh::kUserCh, n);
        EXPECT_EQ(ch.rxFreq, 2000000 + (n - 1) * 100000) << n;
        char comment[9];
        std::snprintf(comment, sizeof comment, "C%-7d", last + 1 - n);
        EXPECT_EQ(std::string(ch.comment, 8), comment) << n;
    }
    EXPECT_NE(
        main_->Session().UndoText().find(cmcGTex::Main()->Line("GI_AppMess_UndoSteps", 3 + 11)),
        std::string::npos)
        << main_->Session().UndoText();
    ASSERT_TRUE(main_->Session().Undo());
    EXPECT_EQ(std::memcmp(image.Bytes(), before.Bytes(), std::size_t(image.GetSize())), 0)
        << "undo gives back exactly the image before";
}

TEST_F(MainSort, ASheetWhoseRowsAreNotRecordsIsRefusedWithAMessage) {
    SelectNode("Common settings");
    cmcEeprom before;
    before.CopyFrom(main_->Session().WorkingImage());
    main_->SortItem()->trigger();
    EXPECT_EQ(main_->MessageText(), cmcGTex::Main()->Line("GI_Sort_Messages", 1));
    EXPECT_EQ(std::memcmp(main_->Session().WorkingImage().Bytes(), before.Bytes(),
                          std::size_t(before.GetSize())),
              0);
    EXPECT_FALSE(main_->Session().CanUndo());
}

// The pop-up menu of a sheet's rows offers Sort rows... where it has the row commands (Move up
// and Move down), in the Edit menu's item's state, and it does what that item does.
struct PopupSortCase {
    const char* sheet;
    bool offered;
};

class MainSortPopup : public MainWindowTest, public ::testing::WithParamInterface<PopupSortCase> {
protected:
    void SetUp() override { Start(); }
    // The pop-up as a right click on the cursor's cell opens it; hidden again before returning.
    QAction* PopupSortAction() {
        cuiSheet* sheet = main_->Sheet();
        cuiGrid* grid = sheet->Grid();
        grid->ShowCell(sheet->CursorCol(), sheet->CursorRow());
        QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier,
                          grid->CellRect(sheet->CursorCol(), sheet->CursorRow()).center());
        EXPECT_TRUE(QTest::qWaitFor([sheet] { return sheet->PopupMenu()->isVisible(); }, 10000));
        QAction* found = nullptr;
        for (QAction* a : sheet->PopupMenu()->actions())
            if (a == main_->PopupSortItem() && a->isVisible())
                found = a;
        sheet->PopupMenu()->hide();
        return found;
    }
};

TEST_P(MainSortPopup, OffersSortRowsWhereTheRowCommandsAre) {
    SelectNode(GetParam().sheet);
    ASSERT_NE(main_->Sheet(), nullptr);
    QAction* sort = PopupSortAction();
    ASSERT_EQ(sort != nullptr, GetParam().offered);
    if (sort == nullptr)
        return;
    EXPECT_EQ(sort->text(), main_->SortItem()->text());
    EXPECT_EQ(sort->isEnabled(), main_->SortItem()->isEnabled());
    sort->trigger();
    EXPECT_EQ(main_->sortAsked.size(), 1u);  // the Edit menu's command, with its question
}

INSTANTIATE_TEST_SUITE_P(Sheets, MainSortPopup,
                         ::testing::Values(PopupSortCase{"User channels", true},
                                           PopupSortCase{"ITU channels", true},
                                           PopupSortCase{"E-mail channels", true},
                                           PopupSortCase{"Address book", true},
                                           PopupSortCase{"Receive/transmit pairs", true},
                                           PopupSortCase{"Common settings", false},
                                           PopupSortCase{"Own identity and settings", false}),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param.sheet; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

}  // namespace
