// Editing: typed characters through the behaviours, the in-place editor, the repeat loop, and
// the events the sheet answers.
#include <QContextMenuEvent>
#include <QLineEdit>

#include "MemorySheet.h"
#include "SheetTestSupport.h"
#include "memory/datClipCh.h"
#include "ui/sheet/cuiCurrentCell.h"
#include "ui/sheet/cuiSheetPopup.h"

namespace {

class SheetEdit : public SheetTest {
protected:
    cuiSheet& OpenAt(const std::string& reference, int col, int row) {
        sheet_ = cuiCreateSheet(main_.Core(), window_.get(), reference, dict_, &images_);
        Prepare(*sheet_);
        sheet_->SetCursorMemory(col, row, -1, -1);
        sheet_->Build();
        Show();
        return *sheet_;
    }
    std::string EditorText() { return sheet_->Editor()->toPlainText().toStdString(); }
    bool EditorOpen() { return sheet_->Editor() && sheet_->EditorShowing(); }
    int32_t Rx(int channel) { return Load(datCh::kUserCh, channel).rxFreq; }
    bool RxBlank(int channel) { return Load(datCh::kUserCh, channel).IsRxBlank(); }
};

TEST_F(SheetEdit, TypingIntoAnEmptyChannelRowStartsAtItsFrequencyAndEnterStoresIt) {
    OpenAt("GI_Sheet_UserCh", 3, 5);  // the mode column of an empty row
    ASSERT_TRUE(RxBlank(5));
    Type("2");
    // The behaviour sent the key on to the receive frequency, which opened the editor.
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 5}));
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(EditorText(), "2");
    EXPECT_EQ(waits, std::vector<int>{30});
    const QRect cell = Grid().CellRect(1, 5);
    const QRect editor = sheet_->Editor()->geometry();
    const QPoint origin = Viewport()->mapTo(sheet_->Editor()->parentWidget(), cell.topLeft());
    EXPECT_EQ(editor.left(), origin.x());
    EXPECT_EQ(editor.width(), cell.width());
    EXPECT_GE(editor.top(), origin.y());
    EXPECT_LE(editor.bottom(), origin.y() + cell.height());

    calls.clear();
    EditorType("182");
    EditorKey(Qt::Key_Return);
    EXPECT_FALSE(EditorOpen());
    EXPECT_TRUE(Grid().hasFocus());
    EXPECT_EQ(Rx(5), 2182000);
    EXPECT_EQ(Load(datCh::kUserCh, 5).txFreq, 2182000);  // simplex follows
    const std::vector<Call> acts = Actions();
    ASSERT_FALSE(acts.empty());
    EXPECT_EQ(acts.front().inputKind, kInputText);
    EXPECT_EQ(acts.front().key, 0);
    EXPECT_EQ(acts.front().inputText, "2182");
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 5}));
}

TEST_F(SheetEdit, EscapeDropsTheTypedText) {
    OpenAt("GI_Sheet_UserCh", 1, 6);
    Type("7");
    ASSERT_TRUE(EditorOpen());
    calls.clear();
    EditorKey(Qt::Key_Escape);
    EXPECT_FALSE(EditorOpen());
    EXPECT_TRUE(RxBlank(6));
    for (const Call& c : Actions())
        EXPECT_NE(c.inputKind, kInputText);
    EXPECT_TRUE(Grid().hasFocus());
}

struct CommitCase {
    const char* name;
    Qt::Key key;
    int row;  // where the cursor ends, having started in row 7
};

class SheetEditorKeys : public SheetEdit, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(SheetEditorKeys, CommitAndMove) {
    OpenAt("GI_Sheet_UserCh", 1, 7);
    Type("3");
    ASSERT_TRUE(EditorOpen());
    EditorType("500");
    EditorKey(GetParam().key);
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(Rx(7), 3500000);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, GetParam().row}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SheetEditorKeys,
    ::testing::Values(CommitCase{"Enter", Qt::Key_Return, 7}, CommitCase{"Down", Qt::Key_Down, 8},
                      CommitCase{"Up", Qt::Key_Up, 6}, CommitCase{"PageDown", Qt::Key_PageDown, 17},
                      CommitCase{"PageUp", Qt::Key_PageUp, 1}),
    [](const ::testing::TestParamInfo<CommitCase>& info) { return info.param.name; });

TEST_F(SheetEdit, LeavingTheEditorCommits) {
    auto* other = new QLineEdit(window_.get());
    other->move(0, 0);
    other->show();
    OpenAt("GI_Sheet_UserCh", 1, 10);
    Type("4");
    ASSERT_TRUE(EditorOpen());
    other->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(Rx(10), 4000);
}

TEST_F(SheetEdit, FinishEditingCommits) {
    OpenAt("GI_Sheet_UserCh", 1, 11);
    Type("6");
    ASSERT_TRUE(EditorOpen());
    events_.SendEvent(cmcEvKind::FinishEditing);
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(Rx(11), 6000);
}

TEST_F(SheetEdit, TheEditorHoldsAtMost1024Characters) {
    OpenAt("GI_Sheet_UserCh", 4, 1);  // the comment of the channel in use
    Type("a");
    ASSERT_TRUE(EditorOpen());
    sheet_->Editor()->insertPlainText(QString(2000, 'b'));
    EXPECT_EQ(sheet_->Editor()->toPlainText().size(), 1024);
}

TEST_F(SheetEdit, ARepeatedActionWaitsLessEachTimeThenNotAtAll) {
    OpenAt("GI_Sheet_UserCh", 4, 3);
    static int passes;
    passes = 0;
    override_ = [](SheetTest&, cmcCellCapsule& c, bool notify) {
        if (!notify || c.key != 'r')
            return -1;
        c.repeatKey = ++passes < 8 ? 'r' : 0;
        return 0;
    };
    Type("r");
    EXPECT_EQ(passes, 8);
    EXPECT_EQ(waits, (std::vector<int>{30, 24, 18, 12, 6}));
}

TEST_F(SheetEdit, FunctionKeysGoToTheBehaviour) {
    OpenAt("GI_Sheet_UserCh", 2, 2);
    calls.clear();
    Key(Qt::Key_F3);
    Key(Qt::Key_F12);
    std::vector<int> keys;
    for (const Call& c : Actions())
        keys.push_back(c.key);
    EXPECT_EQ(keys, (std::vector<int>{0x7200, 0x7B00}));
}

TEST_F(SheetEdit, ASpaceStepsAChoiceOfTheCommonSettings) {
    OpenAt("[St_Common]GI_Sheet_Common", 1, 4);  // speech compressor: off / on
    const cmcCellObj& cell = sheet_->CellAt(1, 4);
    ASSERT_EQ(cell.label, CL_Comm_Comp);
    const std::vector<uint8_t> before(image_, image_ + MemoryMap::kImageSize);
    Type(" ");
    const std::vector<uint8_t> after(image_, image_ + MemoryMap::kImageSize);
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        changed += before[i] != after[i];
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 4}));
    // Enter asks for the choice list.
    Key(Qt::Key_Return);
    ASSERT_EQ(main_->ChoiceLists().size(), 1u);
}

TEST_F(SheetEdit, ABehaviourCanReopenTheEditorOnTheCurrentCell) {
    OpenAt("GI_Sheet_UserCh", 4, 1);
    cmcCellCapsule c;
    sheet_->FillCapsule(3, 1, c);  // not the current cell: nothing opens
    c.outputText = "REOPENED";
    c.reopenEditor(c.reopenData, c, 0);
    EXPECT_FALSE(EditorOpen());
    sheet_->FillCapsule(4, 1, c);
    c.outputText = "REOPENED";
    c.selStart = 2;
    c.selLength = 3;
    c.reopenEditor(c.reopenData, c, 1);  // a flag other than 0 asks for nothing
    EXPECT_FALSE(EditorOpen());
    c.reopenEditor(c.reopenData, c, 0);
    ASSERT_TRUE(EditorOpen());
    EXPECT_EQ(EditorText(), "REOPENED");
    EXPECT_EQ(sheet_->Editor()->textCursor().selectionStart(), 2);
    EXPECT_EQ(sheet_->Editor()->textCursor().selectionEnd(), 5);
}

// ---- Selections and row operations.

class SheetSelection : public SheetEdit {
protected:
    void SetChannel(int n, int32_t rx) {
        datCh ch(image_);
        ch.SetEmpty(datCh::kUserCh, n);
        ch.flags = datCh::kUsed;
        ch.rxFreq = rx;
        ch.txFreq = rx;
        ch.mode = 1;
        ch.Save();
    }
    // Rows whose non-fixed cells are all marked, and rows with any mark.
    std::vector<int> MarkedRows() {
        std::vector<int> rows;
        for (int r = 0; r < sheet_->RowCount(); ++r) {
            bool any = false;
            for (int c = 0; c < sheet_->ColumnCount(); ++c)
                any = any || sheet_->CellIdAt(c, r).lineMarked;
            if (any)
                rows.push_back(r);
        }
        return rows;
    }
    std::vector<std::pair<int, int>> SelectedCells() {
        std::vector<std::pair<int, int>> cells;
        for (int r = 0; r < sheet_->RowCount(); ++r)
            for (int c = 0; c < sheet_->ColumnCount(); ++c)
                if (sheet_->CellIdAt(c, r).selected)
                    cells.push_back({c, r});
        return cells;
    }
    std::unique_ptr<MemorySheet> memory_;
};

TEST_F(SheetSelection, ShiftDownInALineSheetMarksWholeRowsAndAPlainMoveClearsThem) {
    OpenAt("GI_Sheet_UserCh", 2, 1);
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(sheet_->RangePresent());
    EXPECT_EQ(MarkedRows(), (std::vector<int>{1, 2, 3, 4}));
    for (int c = 1; c < sheet_->ColumnCount(); ++c)
        EXPECT_TRUE(sheet_->CellIdAt(c, 3).lineMarked);
    EXPECT_FALSE(sheet_->CellIdAt(0, 3).lineMarked);  // the fixed column stays unmarked
    Key(Qt::Key_Down);
    EXPECT_FALSE(sheet_->RangePresent());
    EXPECT_TRUE(MarkedRows().empty());
    EXPECT_EQ(SelectedCells(), (std::vector<std::pair<int, int>>{{2, 5}}));
}

TEST_F(SheetSelection, ShiftInACellSheetSelectsARectangle) {
    memory_ = std::make_unique<MemorySheet>(
        "(MultiSelect=Cell)",
        std::vector<std::string>{"{S}a|{S}b|{S}c", "{S}d|{S}e|{S}f", "{S}g|{S}h|{S}i"});
    Open("T", &memory_->Dictionary());
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(SelectedCells(), (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
    EXPECT_TRUE(MarkedRows().empty());
}

TEST_F(SheetSelection, WithoutMultiSelectShiftJustMoves) {
    OpenAt("[St_Common]GI_Sheet_Common", 1, 2);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 4}));
    EXPECT_FALSE(sheet_->RangePresent());
}

TEST_F(SheetSelection, DraggingSelectsAndScrollsBeyondTheEdge) {
    OpenAt("GI_Sheet_UserCh", 1, 1);
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(1, 2));
    Move(1, 4, Qt::LeftButton);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 4}));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 3, 4}));
    // Below the view: each step of the drag timer moves one row further.
    Move(QPoint(CellCenter(1, 2).x(), Viewport()->height() + 5), Qt::LeftButton);
    const int before = sheet_->CursorRow();
    Grid().TimedScrollTick();
    EXPECT_EQ(sheet_->CursorRow(), before + 1);
    Grid().TimedScrollTick();
    EXPECT_EQ(sheet_->CursorRow(), before + 2);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(CellCenter(1, 2).x(), Viewport()->height() - 2));
    EXPECT_TRUE(sheet_->RangePresent());
    EXPECT_EQ(MarkedRows().front(), 2);
    EXPECT_EQ(MarkedRows().back(), sheet_->CursorRow());
}

TEST_F(SheetSelection, ClearWorksOnTheSelectedRowsAfterAQuestion) {
    for (int n = 1; n <= 4; ++n)
        SetChannel(n, 4000000 + n * 1000);
    OpenAt("GI_Sheet_UserCh", 1, 2);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Delete);  // the popup menu's Clear
    ASSERT_FALSE(host_->Messages().empty());
    EXPECT_EQ(host_->Messages().back().icon, HostIcon::Warning);
    EXPECT_FALSE(RxBlank(1));
    EXPECT_TRUE(RxBlank(2));
    EXPECT_TRUE(RxBlank(3));
    EXPECT_FALSE(RxBlank(4));
    EXPECT_FALSE(sheet_->RangePresent());
}

TEST_F(SheetSelection, MovingRowsDownKeepsThemSelectedAndTheCursorWithThem) {
    SetChannel(1, 5000000);
    SetChannel(2, 6000000);
    OpenAt("GI_Sheet_UserCh", 1, 1);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ControlModifier);  // the popup menu's Move down
    EXPECT_TRUE(RxBlank(1));
    EXPECT_EQ(Rx(2), 5000000);
    EXPECT_EQ(Rx(3), 6000000);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 3}));
    EXPECT_TRUE(sheet_->RangePresent());
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 3}));
}

TEST_F(SheetSelection, CopyAndPasteThroughThePopupMenu) {
    SetChannel(1, 7000000);
    OpenAt("GI_Sheet_UserCh", 2, 1);
    ASSERT_NE(sheet_->PopupBuilder(), nullptr);
    EXPECT_EQ(sheet_->PopupKey(), "GI_PMenu_Edit");
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(main_->Clipboard().CanPaste(datCh::kUserCh));
    for (int i = 0; i < 8; ++i)
        Key(Qt::Key_Down);
    // The menu item itself, as a click on it does.
    cuiSheetPopup* popup = sheet_->PopupBuilder();
    QAction* paste = nullptr;
    for (int i = 0; i < popup->ItemCount(); ++i)
        if (popup->ItemCell(i).label == CL_PMenu_Paste)
            paste = popup->ItemAction(i);
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    EXPECT_EQ(Rx(9), 7000000);
}

TEST_F(SheetSelection, ARightClickMovesTheCursorAndOpensTheMenu) {
    OpenAt("GI_Sheet_UserCh", 1, 1);
    Click(3, 6, Qt::RightButton);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{3, 6}));
    ASSERT_TRUE(sheet_->PopupMenu()->isVisible());
    QStringList captions;
    for (QAction* a : sheet_->PopupMenu()->actions())
        if (!a->isSeparator())
            captions << a->text();
    EXPECT_TRUE(captions.contains("&Copy"));
    EXPECT_TRUE(captions.contains("&Insert"));
    sheet_->PopupMenu()->hide();
}

TEST_F(SheetSelection, ARightClickWithARangeKeepsCursorAndRange) {
    OpenAt("GI_Sheet_UserCh", 1, 1);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Click(3, 6, Qt::RightButton);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 2}));
    EXPECT_TRUE(sheet_->RangePresent());
    EXPECT_TRUE(sheet_->PopupMenu()->isVisible());
    sheet_->PopupMenu()->hide();
}

TEST_F(SheetSelection, TheMenuKeyOpensThePopupAfterAKeyButNotAfterAClick) {
    OpenAt("GI_Sheet_UserCh", 2, 4);
    auto menuKey = [this] {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(1, 1),
                               Viewport()->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(Viewport(), &menu);
    };
    Key(Qt::Key_Down);
    menuKey();
    EXPECT_TRUE(sheet_->PopupMenu()->isVisible());
    sheet_->PopupMenu()->hide();
    Click(2, 7);
    menuKey();
    EXPECT_FALSE(sheet_->PopupMenu()->isVisible());
}

// ---- The popup menu follows the current cell's key and is mirrored into the Edit menu.

TEST_F(SheetSelection, APopupKeyChangeRebuildsTheMenuAndMirrorsIt) {
    memory_ = std::make_unique<MemorySheet>(
        "", std::vector<std::string>{"{S}a|{S(PopupMenu=GI_PMenu_Two)}b"}, "{($Basic)}",
        std::vector<std::string>{"#GI_PMenu_Two_BasicCell", "{($Basic)(%CT_PopupMenu.)}",
                                 "#GI_PMenu_Two_Body",
                                 "+&Copy\t{(%CT_PopupMenu.CL_PMenu_Copy:Ctrl+C)}", "+-",
                                 "+C&lear\t{(%CT_PopupMenu.CL_PMenu_Clear:Del)}"});
    Open("T", &memory_->Dictionary());
    EXPECT_EQ(sheet_->PopupKey(), "GI_PMenu_NoItem");
    events.clear();
    Key(Qt::Key_Right);
    EXPECT_EQ(sheet_->PopupKey(), "GI_PMenu_Two");
    const std::vector<Event> drop = EventsOf(cmcEvKind::DropMirroredMenu);
    const std::vector<Event> mirror = EventsOf(cmcEvKind::MirrorPopupMenu);
    ASSERT_EQ(drop.size(), 1u);
    EXPECT_EQ(drop[0].second, CL_Menu_Edit_Top);
    ASSERT_EQ(mirror.size(), 1u);
    EXPECT_EQ(mirror[0].second, CL_Menu_Edit_Top);
    EXPECT_EQ(mirror[0].text, "GI_PMenu_Two");
    EXPECT_EQ(mirror[0].first, cmcEvArg(sheet_->PopupBuilder()));
    EXPECT_EQ(sheet_->PopupBuilder()->ItemCount(), 3);
    EXPECT_EQ(sheet_->PopupBuilder()->ItemAction(2)->shortcut(), QKeySequence("Del"));
    // Moving within the same key rebuilds nothing.
    events.clear();
    Key(Qt::Key_Right);  // the row's end: nothing moves
    EXPECT_TRUE(EventsOf(cmcEvKind::MirrorPopupMenu).empty());
}

TEST_F(SheetSelection, LosingTheFocusDropsTheMirroredMenu) {
    auto* other = new QLineEdit(window_.get());
    other->show();
    OpenAt("GI_Sheet_UserCh", 1, 1);
    events.clear();
    other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(sheet_->PopupBuilder(), nullptr);
    EXPECT_EQ(EventsOf(cmcEvKind::DropMirroredMenu).size(), 1u);
    events.clear();
    sheet_->SetFocus();
    EXPECT_NE(sheet_->PopupBuilder(), nullptr);
    EXPECT_EQ(EventsOf(cmcEvKind::MirrorPopupMenu).size(), 1u);
}

TEST_F(SheetSelection, TheCurrentCellIsTheAnswerToTheQueryOfItsMenu) {
    OpenAt("GI_Sheet_UserCh", 3, 8);
    const auto reply =
        events_.QueryEvent(cmcEvKind::CurrentCellQuery, cmcEvArg(sheet_->PopupMenu()));
    ASSERT_TRUE(reply.has_value());
    // In the form the menus read.
    cmcCellObj id;
    ASSERT_TRUE(cuiDecodeCurrentCell(reply->data.data(), reply->DataLength(), id));
    EXPECT_EQ(id.category, CT_UserCh);
    EXPECT_EQ(id.label, CL_UCh_Mode);
    EXPECT_EQ(id.argument, 8);
    // Another menu's query is not this sheet's to answer.
    EXPECT_FALSE(events_.QueryEvent(cmcEvKind::CurrentCellQuery, 0).has_value());
}

TEST_F(SheetSelection, DestroyingTheSheetTellsItsListeners) {
    OpenAt("GI_Sheet_UserCh", 1, 1);
    const uintptr_t grid = cmcEvArg(sheet_->Grid());
    events.clear();
    sheet_.reset();
    const std::vector<Event> gone = EventsOf(cmcEvKind::HostGone);
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0].first, grid);
    // The Edit menu lets go of the items it mirrored from the sheet's popup menu.
    const std::vector<Event> drop = EventsOf(cmcEvKind::DropMirroredMenu);
    ASSERT_EQ(drop.size(), 1u);
    EXPECT_EQ(drop[0].second, CL_Menu_Edit_Top);
}

}  // namespace
