// Keyboard and mouse navigation: real keys and clicks on the grid's viewport.
#include <QScrollBar>
#include <QWheelEvent>

#include "MemorySheet.h"
#include "SheetTestSupport.h"

namespace {

struct NavCase {
    const char* name;
    const char* reference;
    int startCol, startRow;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    int endCol, endRow;
    int edgeKey;  // the code handed to the behaviour when the cursor could not move; 0: none
};

class SheetNavigation : public SheetTest, public ::testing::WithParamInterface<NavCase> {};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

TEST_P(SheetNavigation, KeysMoveTheCursorOverSelectableCells) {
    const NavCase& n = GetParam();
    sheet_ = cuiCreateSheet(main_.Core(), window_.get(), n.reference, dict_, &images_);
    Prepare(*sheet_);
    sheet_->SetCursorMemory(n.startCol, n.startRow, -1, -1);
    sheet_->Build();
    Show();
    ASSERT_EQ(Cursor(), (std::pair<int, int>{n.startCol, n.startRow}));
    calls.clear();
    for (const auto& [key, mods] : n.keys)
        Key(key, mods);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{n.endCol, n.endRow}));
    std::vector<int> edgeKeys;
    for (const Call& c : Actions())
        if (c.key == 0x2500 || c.key == 0x2700)
            edgeKeys.push_back(c.key);
    if (n.edgeKey)
        EXPECT_EQ(edgeKeys, std::vector<int>{n.edgeKey});
    else
        EXPECT_TRUE(edgeKeys.empty());
    // Wherever it went, the cursor is in view.
    EXPECT_FALSE(Grid().CellRect(n.endCol, n.endRow).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SheetNavigation,
    ::testing::Values(
        NavCase{"DownThenUp", "GI_Sheet_UserCh", 1, 1, {{Qt::Key_Down, kNone}}, 1, 2, 0},
        NavCase{"UpBelowTheHeadingsStays", "GI_Sheet_UserCh", 1, 1, {{Qt::Key_Up, kNone}}, 1, 1, 0},
        NavCase{"RightToTheRowsEnd",
                "GI_Sheet_UserCh",
                1,
                3,
                {{Qt::Key_Right, kNone}, {Qt::Key_Right, kNone}, {Qt::Key_Right, kNone}},
                4,
                3,
                0},
        NavCase{"RightAtTheRowsEndGoesToTheBehaviour",
                "GI_Sheet_UserCh",
                4,
                3,
                {{Qt::Key_Right, kNone}},
                4,
                3,
                0x2700},
        NavCase{"LeftAtTheRowsStartGoesToTheBehaviour",
                "GI_Sheet_UserCh",
                1,
                3,
                {{Qt::Key_Left, kNone}},
                1,
                3,
                0x2500},
        NavCase{
            "PageDownIsTenRows", "GI_Sheet_UserCh", 2, 7, {{Qt::Key_PageDown, kNone}}, 2, 17, 0},
        NavCase{"PageUpStopsAtTheFirstRow",
                "GI_Sheet_UserCh",
                2,
                7,
                {{Qt::Key_PageUp, kNone}},
                2,
                1,
                0},
        NavCase{
            "DownOnTheLastRowStays", "GI_Sheet_UserCh", 3, 160, {{Qt::Key_Down, kNone}}, 3, 160, 0},
        NavCase{
            "DownSkipsABandHeading", "GI_Sheet_ItuCh", 1, 10, {{Qt::Key_Down, kNone}}, 1, 12, 0},
        NavCase{"UpSkipsABandHeading", "GI_Sheet_ItuCh", 2, 12, {{Qt::Key_Up, kNone}}, 2, 10, 0},
        NavCase{"DownFromTheReceiverToTheItuBands",
                "GI_Sheet_BandEdge",
                2,
                2,
                {{Qt::Key_Down, kNone}},
                2,
                4,
                0},
        NavCase{"RightOverTheRemarkColumnGoesToTheBehaviour",
                "[St_Common]GI_Sheet_Common",
                1,
                2,
                {{Qt::Key_Right, kNone}},
                1,
                2,
                0x2700},
        NavCase{"CtrlDownDoesNotMove",
                "[St_Common]GI_Sheet_Common",
                1,
                2,
                {{Qt::Key_Down, Qt::ControlModifier}},
                1,
                2,
                0},
        NavCase{"CtrlShiftDownMoves",
                "[St_Common]GI_Sheet_Common",
                1,
                2,
                {{Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier}},
                1,
                3,
                0},
        NavCase{"HomeAndEndDoNothing",
                "[St_Common]GI_Sheet_Common",
                1,
                3,
                {{Qt::Key_Home, kNone}, {Qt::Key_End, kNone}},
                1,
                3,
                0}),
    [](const ::testing::TestParamInfo<NavCase>& info) { return info.param.name; });

class SheetMoves : public SheetTest {
protected:
    cuiSheet& Make(const std::string& style, const std::vector<std::string>& cells) {
        memory_ = std::make_unique<MemorySheet>(style, cells);
        return Open("T", &memory_->Dictionary());
    }
    cuiSheet& MakeChoiceList(const std::vector<std::string>& cells, bool scrollBars) {
        memory_ = std::make_unique<MemorySheet>("(NoPrint)", cells);
        sheet_ = std::make_unique<cuiSheet>(main_.Core(), window_.get(), &opener_, 0, 0,
                                            memory_->Dictionary(), "T", &images_);
        Prepare(*sheet_);
        sheet_->SetChoiceListMode(true);
        sheet_->Build();
        sheet_->Grid()->SetScrollBarsEnabled(scrollBars);
        Show();
        return *sheet_;
    }

    std::unique_ptr<MemorySheet> memory_;
    cmcCellObj openerCell_;
    cmcCellCapsule opener_;
};

TEST_F(SheetMoves, AnEmptyStretchIsCrossedToTheNearestCellOfTheNextLine) {
    Make("", {"{S}a|b|c", "d|e|f", "g|h|{S}i|{S}j"});
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 0}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{2, 2}));  // nearest to column 0 in row 2
    Key(Qt::Key_Up);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 0}));
}

TEST_F(SheetMoves, OnEqualDistanceTheLeftmostCellWins) {
    Make("", {"x|{S}a|x", "{S}b|x|{S}c"});
    Key(Qt::Key_Up);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 0}));
    Key(Qt::Key_Down);  // columns 0 and 2 are both one away from column 1
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 1}));
}

TEST_F(SheetMoves, AChoiceListWithoutScrollBarsWrapsAround) {
    MakeChoiceList({"{S(%Flex0[0])}One", "{S(%Flex0[1])}Two", "{S(%Flex0[2])}Three"}, false);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 0}));
    Key(Qt::Key_Up);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 2}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 0}));
}

TEST_F(SheetMoves, AChoiceListWithScrollBarsStopsAtItsEnds) {
    MakeChoiceList({"{S(%Flex0[0])}One", "{S(%Flex0[1])}Two", "{S(%Flex0[2])}Three"}, true);
    Key(Qt::Key_Up);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 0}));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 2}));
}

TEST_F(SheetMoves, AChoiceListHandsTheChosenEntryToTheOpeningCell) {
    // The opener names a cell of another sheet; the test answers for its behaviour.
    openerCell_.label = CL_Comm_Comp;
    opener_.cell = &openerCell_;
    MakeChoiceList({"{S(%Flex0[0])}Off", "{S(%Flex0[1])}On"}, false);
    Key(Qt::Key_Down);
    calls.clear();
    Key(Qt::Key_Return);
    std::vector<Call> acts = Actions();
    ASSERT_EQ(acts.size(), 1u);
    EXPECT_EQ(acts[0].label, CL_Comm_Comp);
    EXPECT_EQ(acts[0].inputKind, kInputChoice);
    EXPECT_FALSE(window_->isVisible());  // the list's window closes
}

TEST_F(SheetMoves, InAChoiceListTheCursorFollowsTheMouseAndAClickChooses) {
    openerCell_.label = CL_Comm_Comp;
    opener_.cell = &openerCell_;
    MakeChoiceList({"{S(%Flex0[0])}Off", "{S(%Flex0[1])}On", "{S(%Flex0[2])}Auto"}, false);
    Move(0, 0);
    Move(0, 2);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 2}));
    calls.clear();
    Click(0, 2);
    ASSERT_FALSE(Actions().empty());
    EXPECT_EQ(Actions().front().inputKind, kInputChoice);
}

TEST_F(SheetMoves, AClickMovesTheCursorAndAClickOnAHeadingDoesNot) {
    Open("GI_Sheet_UserCh");
    Click(3, 4);
    EXPECT_EQ(Cursor(), (std::pair<int, int>{3, 4}));
    Click(0, 6);  // the channel number column is fixed
    EXPECT_EQ(Cursor(), (std::pair<int, int>{3, 4}));
    Click(2, 0);  // the heading row too
    EXPECT_EQ(Cursor(), (std::pair<int, int>{3, 4}));
}

TEST_F(SheetMoves, ACursorMoveIsAnnounced) {
    Open("GI_Sheet_UserCh");
    events_.RunPass();
    events.clear();
    Click(3, 4);
    events_.RunPass();
    const std::vector<Event> changed = EventsOf(cmcEvKind::CurrentCellChanged);
    ASSERT_EQ(changed.size(), 1u);
}

TEST_F(SheetMoves, ADoubleClickActsOnTheCellAndOnANoteActsOnItsSetting) {
    Open("[St_Common]GI_Sheet_Common");
    calls.clear();
    // The remark column belongs to the setting on its left.
    Click(1, 9);
    QTest::mouseDClick(Viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(2, 9));
    std::vector<Call> acts = Actions();
    ASSERT_EQ(acts.size(), 1u);
    EXPECT_EQ(acts[0].key, 256);
    EXPECT_EQ(acts[0].label, sheet_->CellAt(1, 9).label);
}

TEST_F(SheetMoves, TheWheelScrollsTheViewAndLeavesTheCursor) {
    Open("GI_Sheet_UserCh");
    const int top = Grid().TopRow();
    QWheelEvent down(QPointF(50, 50), Viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewport(), &down);
    EXPECT_EQ(Grid().TopRow(), top + QApplication::wheelScrollLines());
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 1}));
    // A touchpad moves by pixels: half a row more than a whole one scrolls two rows.
    const int h = Grid().RowHeight(Grid().TopRow());
    QWheelEvent swipe(QPointF(50, 50), Viewport()->mapToGlobal(QPointF(50, 50)),
                      QPoint(0, h + h / 2 + 1), QPoint(0, 10), Qt::NoButton, Qt::NoModifier,
                      Qt::ScrollUpdate, false);
    QApplication::sendEvent(Viewport(), &swipe);
    EXPECT_EQ(Grid().TopRow(), top + QApplication::wheelScrollLines() - 2);
}

TEST_F(SheetMoves, TheThumbScrollsByWholeRows) {
    Open("GI_Sheet_UserCh");
    Grid().verticalScrollBar()->setValue(40);
    EXPECT_EQ(Grid().TopRow(), 41);  // the heading row stays fixed above
    EXPECT_EQ(Grid().CellRect(1, 41).top(), Grid().RowHeight(0));
}

}  // namespace
