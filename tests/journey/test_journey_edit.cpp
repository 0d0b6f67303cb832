// Journeys of editing: typed values, choices and row commands by keys in the sheets, each undone
// and redone with the keyboard still in the sheet; half-typed text before a command; keys after
// the wheel scrolled the cursor away; the Edit menu however it is opened.
#include <QPlainTextEdit>
#include <QWheelEvent>

#include "Journey.h"
#include "text/cmcGTex.h"

namespace {

// User channels: the column of the receive frequency and of the mode; row n is channel n.
constexpr int kRx = 1;
constexpr int kMode = 3;
constexpr int kComment = 4;

class EditJourney : public Journey {
protected:
    void SetUp() override {
        Start();
        OpenNode(QStringLiteral("User channels"));
        TabIntoSheet();
    }
    // Types a value into a cell (the editor opens on the first character) and enters it.
    void Enter(int col, int row, const QString& text) {
        ClickCell(col, row);
        Type(text);
        Key(Qt::Key_Return);
    }
    std::vector<QString> EditMenuFromKeyboard() {
        std::vector<QString> captions;
        Key(Qt::Key_E, Qt::AltModifier);
        QMenu* menu = nullptr;
        EXPECT_TRUE(WaitUntil([&menu] {
            menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu != nullptr;
        }));
        if (menu == nullptr)
            return captions;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible())
                captions.push_back(journey::Plain(a->text()).trimmed());
        CloseMenu(menu);
        return captions;
    }
    static bool Has(const std::vector<QString>& captions, const QString& start) {
        for (const QString& c : captions)
            if (c.startsWith(start))
                return true;
        return false;
    }
};

TEST_F(EditJourney, ATypedFrequencyIsUndoneAndRedoneWithTheKeyboardStillInTheSheet) {
    Enter(kRx, 2, QStringLiteral("8291"));
    EXPECT_EQ(Shown(kRx, 2), "8291.0");
    EXPECT_TRUE(GridHasFocus());

    // The Edit menu names the step, whether opened from the keyboard or with the mouse.
    const std::vector<QString> keyboard = EditMenuFromKeyboard();
    EXPECT_TRUE(Has(keyboard, QStringLiteral("Undo typing"))) << keyboard.size();
    EXPECT_TRUE(Has(keyboard, QStringLiteral("Copy")));  // the row commands are mirrored too
    EXPECT_FALSE(Has(keyboard, QStringLiteral("No item")));
    EXPECT_TRUE(GridHasFocus());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 2), "");
    EXPECT_TRUE(GridHasFocus());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 2), "8291.0");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing left to redo
    EXPECT_EQ(Shown(kRx, 2), "8291.0");

    // The focus goes to the tree and back: the Edit menu still holds Undo and Redo, and their
    // shortcuts still work (they used to vanish the first time the sheet lost the focus).
    QTest::mouseClick(TreeView()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      TreeView()->visualItemRect(TreeView()->currentItem()).center());
    ASSERT_TRUE(WaitUntil([this] { return TreeView()->hasFocus(); }));
    TabIntoSheet();
    const std::vector<MenuEntry> mouse = ShowMenu(QStringLiteral("Edit"));
    bool undo = false, redo = false;
    for (const auto& item : mouse) {
        undo = undo || (item.caption.startsWith(QStringLiteral("Undo typing")) && item.enabled);
        redo = redo || item.caption.startsWith(QStringLiteral("Redo"));
    }
    EXPECT_TRUE(undo);
    EXPECT_TRUE(redo);
    Choose({QStringLiteral("Edit"), journey::Plain(Window().UndoItem()->text())});
    EXPECT_EQ(Shown(kRx, 2), "");
    EXPECT_TRUE(GridHasFocus());
}

TEST_F(EditJourney, AChoiceFromTheListIsTakenAndUndone) {
    const std::string before = Shown(kMode, 1);
    ClickCell(kMode, 1);
    Key(Qt::Key_Return);  // opens the choice list beside the cell
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
    const std::string chosen = Shown(kMode, 1);
    EXPECT_NE(chosen, before);
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kMode, 1), before);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Shown(kMode, 1), chosen);
}

TEST_F(EditJourney, RowCommandsByTheirKeysEachUndoneInTurn) {
    // Channel 1 holds 2182 kHz; channel 2 is given 8291 kHz.
    Enter(kRx, 2, QStringLiteral("8291"));
    ASSERT_EQ(Shown(kRx, 1), "2182.0");
    ASSERT_EQ(Shown(kRx, 2), "8291.0");

    // Copy channel 1, paste it on channel 3.
    ClickCell(kRx, 1);
    Key(Qt::Key_C, Qt::ControlModifier);
    ClickCell(kRx, 3);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 3), "2182.0");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 3), "");

    // Move channel 2 up: the two swap.
    ClickCell(kRx, 2);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 1), "8291.0");
    EXPECT_EQ(Shown(kRx, 2), "2182.0");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 1), "2182.0");
    EXPECT_EQ(Shown(kRx, 2), "8291.0");

    // Clear channel 1 (asked first).
    ClickCell(kRx, 1);
    WhenMessage(Qt::Key_Return);
    Key(Qt::Key_Delete);
    WaitForDialogs();
    EXPECT_EQ(Shown(kRx, 1), "");
    EXPECT_TRUE(WaitUntil([this] {
        return StatusText() == cmcGTex::Main()->Text("GI_AppMess_S_Clear");
    })) << StatusText();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 1), "2182.0");

    // Delete channel 1: channel 2 comes up (asked first, the row being used).
    ClickCell(kRx, 1);
    WhenMessage(Qt::Key_Return);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    WaitForDialogs();
    EXPECT_EQ(Shown(kRx, 1), "8291.0");
    EXPECT_TRUE(WaitUntil([this] {
        return StatusText() == cmcGTex::Main()->Text("GI_AppMess_S_Delete");
    })) << StatusText();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 1), "2182.0");

    // Insert before channel 1: it moves down.
    ClickCell(kRx, 1);
    Key(Qt::Key_Insert);
    EXPECT_EQ(Shown(kRx, 1), "");
    EXPECT_EQ(Shown(kRx, 2), "2182.0");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 1), "2182.0");

    // Two rows selected with Shift+Down, copied, and pasted on channel 5.
    ClickCell(kRx, 1);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    ClickCell(kRx, 5);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 5), "2182.0");
    EXPECT_EQ(Shown(kRx, 6), "8291.0");
    EXPECT_TRUE(GridHasFocus());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 5), "");
    EXPECT_EQ(Shown(kRx, 6), "");
}

TEST_F(EditJourney, ErrorsShowInTheTreeAndGoWithUndo) {
    EXPECT_EQ(MarkOf(QStringLiteral("User channels")), cuiTree::kNoMark);
    Enter(kRx, 2, QStringLiteral("31000"));  // above the receiver's coverage
    ASSERT_TRUE(WaitUntil(
        [this] { return MarkOf(QStringLiteral("User channels")) == cuiTree::kMarkError; }));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(
        WaitUntil([this] { return MarkOf(QStringLiteral("User channels")) == cuiTree::kNoMark; }));
}

TEST_F(EditJourney, AKeyTypedAfterTheWheelScrolledTheCursorAwayOpensTheEditorOnTheCursor) {
    ClickCell(kRx, 2);
    QWidget* viewport = GridViewport();
    const QPoint middle = viewport->rect().center();
    for (int i = 0; i < 10; ++i) {
        QWheelEvent wheel(middle, viewport->mapToGlobal(middle), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }
    ASSERT_TRUE(Sheet()->Grid()->CellRect(kRx, 2).isEmpty() ||
                !viewport->rect().contains(Sheet()->Grid()->CellRect(kRx, 2)))
        << "the wheel did not scroll the cursor away";
    Type(QStringLiteral("4"));
    Type(QStringLiteral("125"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Shown(kRx, 2), "4125.0");
}

TEST_F(EditJourney, CharactersOutsideAsciiReachTheEditorWhole) {
    // A key above ASCII opens no editor by itself (no field takes it as its first character);
    // typed into an open editor it arrives whole, never as its first byte.
    ClickCell(kComment, 1);
    Type(QStringLiteral("\u00c5"));
    EXPECT_EQ(Shown(kComment, 1), "2182 kHz");
    Type(QStringLiteral("A\u00c5\u00e9B"));
    auto* editor = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "no editor opened";
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("A\u00c5\u00e9B"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Shown(kComment, 1), "2182 kHz");
    EXPECT_TRUE(GridHasFocus());
}

TEST_F(EditJourney, AValueTheRadioFixesKeepsItsOliveUnderTheCursor) {
    // Band edges are fixed outside expert mode: their values are drawn olive, under the
    // cursor's highlight too (made light enough to read there), never in the plain highlight
    // text colour that would say nothing.
    OpenNode(QStringLiteral("Band edges"));
    TabIntoSheet();
    int col = 0, row = 0;
    ASSERT_TRUE(Find("30.000", &col, &row));
    ClickCell(col, row);
    ASSERT_TRUE(GridHasFocus());
    const QImage shot = GridViewport()->grab().toImage();
    const QRect cell = Sheet()->Grid()->CellRect(col, row);
    int olive = 0, plain = 0;
    const QColor highlightText = Sheet()->Grid()->palette().color(QPalette::HighlightedText);
    for (int y = cell.top(); y < cell.bottom(); ++y)
        for (int x = cell.left(); x < cell.right(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            olive += c.red() > 120 && c.green() > 120 && c.blue() < 90 &&
                     std::abs(c.red() - c.green()) < 40;
            plain += c == highlightText;
        }
    EXPECT_GT(olive, 5) << "the value under the cursor lost its colour";
    EXPECT_EQ(plain, 0);
}

TEST_F(EditJourney, OnEverySheetAChoiceIsTakenFromItsListAndUndone) {
    int sheetsWithChoices = 0;
    AnswerEveryDialog(Qt::Key_Escape);  // a cell that asks something is left as it was
    for (const cuiTreeSheet& sheet : cuiTreeSheets(Window().Session().Dictionary())) {
        SCOPED_TRACE(sheet.caption);
        OpenNode(QString::fromStdString(sheet.caption));
        TabIntoSheet();
        cuiSheetTable table(Window().Core(), sheet.reference);
        // The first cells that take input, tried in turn: Enter opens a choice list or an editor.
        int tried = 0;
        bool chose = false;
        for (int r = table.HeaderRows(); r < table.Rows() && !chose && tried < 12; ++r) {
            for (int c = 0; c < table.Columns() && !chose && tried < 12; ++c) {
                if (!table.TakesInput(c, r))
                    continue;
                ++tried;
                const std::string before = Shown(c, r);
                ClickCell(c, r);
                Key(Qt::Key_Return);
                if (QApplication::activePopupWidget() == nullptr) {
                    Key(Qt::Key_Escape);  // an editor, or nothing: leave the cell as it was
                    ASSERT_EQ(Shown(c, r), before) << sheet.caption;
                    continue;
                }
                Key(Qt::Key_Down);
                Key(Qt::Key_Return);
                ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
                const std::string after = Shown(c, r);
                if (after == before)
                    continue;  // the list's next entry was the one shown (the last one)
                EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); })) << sheet.caption;
                Key(Qt::Key_Z, Qt::ControlModifier);
                EXPECT_EQ(Shown(c, r), before) << sheet.caption << " row " << r << " col " << c;
                Key(Qt::Key_Y, Qt::ControlModifier);
                EXPECT_EQ(Shown(c, r), after) << sheet.caption;
                Key(Qt::Key_Z, Qt::ControlModifier);
                chose = true;
            }
        }
        sheetsWithChoices += chose;
    }
    StopAnswering();
    EXPECT_GE(sheetsWithChoices, 8);
}

// Half-typed text is committed before a command looks at the image, whichever command it is.
struct HalfTyped {
    const char* name;
    std::vector<QString> menu;  // the command, through the menu bar
};

class HalfTypedText : public EditJourney, public ::testing::WithParamInterface<HalfTyped> {};

TEST_P(HalfTypedText, IsEnteredBeforeTheCommandRuns) {
    const HalfTyped& c = GetParam();
    ClickCell(kRx, 4);
    Type(QStringLiteral("6215"));       // no Enter
    AnswerEveryDialog(Qt::Key_Escape);  // whatever the command asks is cancelled
    Choose(c.menu);
    StopAnswering();
    EXPECT_EQ(Shown(kRx, 4), "6215.0") << c.name;
}

TEST_F(EditJourney, HalfTypedTextIsEnteredWhenAnotherSheetIsChosen) {
    ClickCell(kRx, 4);
    Type(QStringLiteral("6215"));
    OpenNode(QStringLiteral("Band edges"));
    OpenNode(QStringLiteral("User channels"));
    EXPECT_EQ(Shown(kRx, 4), "6215.0");
}

TEST_F(EditJourney, HalfTypedTextIsEnteredBeforeTheWindowAsksAboutClosing) {
    ClickCell(kRx, 4);
    Type(QStringLiteral("6215"));
    std::string question;
    WhenMessage(Qt::Key_Escape, &question);  // Cancel: the window stays
    Choose({QStringLiteral("File"), QStringLiteral("Exit")});
    WaitForDialogs();
    EXPECT_FALSE(question.empty());  // there was something unsaved to ask about
    EXPECT_TRUE(Running());
    EXPECT_EQ(Shown(kRx, 4), "6215.0");
}

TEST_F(EditJourney, EscapeDropsHalfTypedText) {
    ClickCell(kRx, 4);
    Type(QStringLiteral("6215"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Shown(kRx, 4), "");
    EXPECT_TRUE(GridHasFocus());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HalfTypedText,
    ::testing::Values(
        HalfTyped{"save", {QStringLiteral("File"), QStringLiteral("Save")}},
        HalfTyped{"export", {QStringLiteral("File"), QStringLiteral("Export sheet...")}},
        HalfTyped{"import", {QStringLiteral("File"), QStringLiteral("Import sheet...")}},
        HalfTyped{"compare", {QStringLiteral("File"), QStringLiteral("Compare with file...")}},
        HalfTyped{"print", {QStringLiteral("File"), QStringLiteral("Print...")}},
        HalfTyped{"preview", {QStringLiteral("File"), QStringLiteral("Print preview...")}},
        HalfTyped{"write", {QStringLiteral("Clone"), QStringLiteral("Write to radio...")}}),
    [](const ::testing::TestParamInfo<HalfTyped>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

}  // namespace
