// The main window says what happened: a typed value stored otherwise than typed, a row command
// that did less than asked or nothing, and the commands that finished, each in the status bar
// (the warning colours for what the technician should look at again).
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "MainWindowFixture.h"
#include "app/cuiStatusPanels.h"
#include "cells/cmcCellNames.h"
#include "memory/datCh.h"
#include "ui/sheet/cuiGrid.h"

namespace {

class MainTelling : public MainWindowTest {
protected:
    void SetUp() override {
        Start();
        SelectNode("User channels");
        Settle();
        ASSERT_NE(main_->Sheet(), nullptr);
    }
    QWidget* Viewport() { return main_->Sheet()->Grid()->viewport(); }
    void GoTo(int label, int argument) {
        main_->Sheet()->MoveToMatch(CT_UserCh, label, argument);
        main_->Sheet()->SetFocus();
    }
    // Types into the current cell as the technician does: the first character opens the
    // in-place editor, the rest goes into it, Enter commits it.
    void TypeAndEnter(const char* text) {
        QTest::keyClick(Viewport(), text[0]);
        QPlainTextEdit* editor = main_->Sheet()->Editor();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(main_->Sheet()->EditorShowing());
        QTest::keyClicks(editor, QString::fromUtf8(text + 1));
        QTest::keyClick(editor, Qt::Key_Return);
        Settle();
    }
    datCh UserChannel(int n) {
        datCh ch(main_->Session().WorkingImage());
        ch.Load(datCh::kUserCh, n);
        return ch;
    }
    // The message panel's background, where no text is.
    QColor MessageBackground() {
        cuiStatusPanels* panels = main_->StatusPanels();
        const QRect r = panels->PanelRect(cuiMain::kMessagePanel);
        return panels->grab().toImage().pixelColor(QPoint(r.right() - 2, r.top() + 1));
    }
};

TEST_F(MainTelling, AFrequencyAboveTheRangeSaysWhatWasStoredInTheWarningColours) {
    GoTo(CL_UCh_FreqR, 3);
    TypeAndEnter("35000");
    EXPECT_EQ(UserChannel(3).rxFreq, 29999900);  // the conversion's own limit
    EXPECT_EQ(main_->MessageText(), "35000 kHz is above 29999.9 kHz: 29999.9 kHz stored.");
    EXPECT_EQ(MessageBackground(), QColor(0x80, 0, 0));
    // One edit like any other: one undo step takes it back.
    EXPECT_TRUE(main_->Session().Undo());
    EXPECT_NE(UserChannel(3).rxFreq, 29999900);
}

TEST_F(MainTelling, LettersLeftOutOfAFrequencyAreNamedAndAPlainValueSaysNothing) {
    GoTo(CL_UCh_FreqR, 4);
    TypeAndEnter("12a.b3x");
    EXPECT_EQ(UserChannel(4).rxFreq, 12300);
    EXPECT_EQ(main_->MessageText(),
              "\"12a.b3x\" was taken as 12.3 kHz: the characters that are "
              "no part of it were left out.");
    GoTo(CL_UCh_FreqR, 4);
    TypeAndEnter("4125");
    EXPECT_EQ(UserChannel(4).rxFreq, 4125000);
    EXPECT_EQ(main_->MessageText(), "");
    EXPECT_NE(MessageBackground(), QColor(0x80, 0, 0));
}

TEST_F(MainTelling, APasteTheListsEndShortensSaysHowManyRowsWerePasted) {
    datCh probe(main_->Session().WorkingImage());
    const int last = probe.LastEntry(datCh::kUserCh);
    main_->Session().Clipboard().Copy(main_->Session().WorkingImage().Bytes(), datCh::kUserCh, 1,
                                      3);
    GoTo(CL_UCh_FreqR, last - 1);
    host_->QueueAnswer(HostAnswer::Ok);  // the rows may hold data: overwrite
    QTest::keyClick(Viewport(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(main_->MessageText(), "2 of 3 rows pasted: the list ends there.");
    EXPECT_EQ(MessageBackground(), QColor(0x80, 0, 0));
}

TEST_F(MainTelling, AMoveUpAtTheTopOfTheListIsRefusedWithAWord) {
    GoTo(CL_UCh_FreqR, 0);
    const int32_t before = UserChannel(0).rxFreq;
    QTest::keyClick(Viewport(), Qt::Key_Up, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(UserChannel(0).rxFreq, before);
    EXPECT_EQ(main_->MessageText(), "Not moved: the rows are at the top of the list already.");
}

TEST_F(MainTelling, SaveExportImportAndCompareSayWhatTheyDid) {
    Edit("TOLD");
    host_->QueueFileName(Path("fleet1.t590"));
    Choose(CL_Menu_File_Save);
    Settle();
    EXPECT_EQ(main_->MessageText(), "Saved fleet1.t590");

    SelectNode("User channels");
    Settle();
    ASSERT_NE(main_->Sheet(), nullptr);
    host_->QueueFileName(Path("user.csv"));
    ASSERT_TRUE(main_->ExportSheet());
    Settle();
    const std::string exported = main_->MessageText();
    EXPECT_EQ(exported.rfind("Exported " + main_->Sheet()->GetTitle() + " to user.csv (rows: ", 0),
              0u)
        << exported;

    host_->QueueFileName(Path("user.csv"));
    main_->ImportSheet();
    Settle();
    EXPECT_EQ(main_->MessageText(), "Imported user.csv: cells taken 0, refused 0");

    host_->QueueFileName(MakeFile("other.t590", "OTHER"));
    ASSERT_TRUE(main_->CompareWithFile());
    Settle();
    EXPECT_EQ(main_->MessageText(), "Compared with other.t590: cells that differ: 1");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != form_.get() && w->isVisible())
            w->close();
}

}  // namespace
