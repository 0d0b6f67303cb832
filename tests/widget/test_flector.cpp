// The choice-list window: opened by Enter on a choice cell, sized to its list or to the work area,
// chosen from by keys and clicks, closed without a choice by Escape, a click elsewhere, the
// opening sheet going away and event 21.
#include <QScrollBar>
#include <QWindow>
#include <algorithm>
#include <map>
#include <tuple>

#include "DialogTestSupport.h"
#include "cells/cmcCellNames.h"

namespace {

class Flector : public DialogTest {
protected:
    // The common settings with the cursor on the speech compressor (off / on).
    void OpenCompressor() {
        OpenReal("[St_Common]GI_Sheet_Common", 1, 4);
        ASSERT_EQ(sheet_->CellAt(1, 4).label, CL_Comm_Comp);
    }
    // The user channels with the cursor on the mode of channel 1 (in use in the default image).
    void OpenChannelMode() {
        OpenReal("GI_Sheet_UserCh", 3, 1);
        ASSERT_EQ(sheet_->CellAt(3, 1).label, CL_UCh_Mode);
        ASSERT_EQ(sheet_->CellAt(3, 1).argument, 1);
    }
    uint8_t Mode(int channel) { return Load(datCh::kUserCh, channel).mode; }
};

TEST_F(Flector, EnterOpensAPopupBesideTheCellWithTheCursorOnTheCurrentValue) {
    OpenCompressor();
    ASSERT_EQ(image_[MemoryMap::kCompressor], 0);  // off
    OpenList();
    cuiFlector* list = List();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowType(), Qt::Popup);
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(list->Sheet()->ChoiceListMode());
    EXPECT_EQ(list->Sheet()->BaseName(), "GI_Sheet_Sel_Misc_OnOff");
    const cmcCellObj& current = list->Sheet()->CellAt(ListCursor().first, ListCursor().second);
    EXPECT_EQ(current.label, Flex0);
    EXPECT_EQ(current.argument, 0);
    // Below the cell, 8 pixels right of its left edge.
    const QRect cell = Grid().CellRect(1, 4);
    const QPoint origin = Viewport()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(list->pos(), origin + QPoint(cell.left() + 8, cell.bottom() + 1));
    // As large as the whole list, which it shows without scroll bars.
    EXPECT_EQ(list->size(), QSize(list->Sheet()->FullWidth(), list->Sheet()->FullHeight()));
    cuiGrid* grid = list->Sheet()->Grid();
    EXPECT_FALSE(grid->ScrollBarsEnabled());
    EXPECT_EQ(grid->viewport()->size(), QSize(grid->ContentWidth(), grid->ContentHeight()));
    EXPECT_TRUE(grid->hasFocus());
}

// A choice goes to the opening cell's behaviour: the byte changes and nothing else, the opening
// cell is drawn again, and the document hears of the edit.
TEST_F(Flector, EnterOnAnotherEntryStoresItsValueAndNothingElse) {
    OpenCompressor();
    const std::vector<uint8_t> before = Image();
    const int checks = main_->WarningChecksScheduled();
    OpenList();
    ASSERT_NE(List(), nullptr);
    QPointer<cuiFlector> list = List();
    ListKey(Qt::Key_Down);
    drawn_.clear();
    ListKey(Qt::Key_Return);
    EXPECT_FALSE(list && list->isVisible());
    Settle();
    EXPECT_TRUE(list.isNull());  // the window went with its list
    EXPECT_EQ(Differences(before, Image()), std::vector<int>{MemoryMap::kCompressor});
    EXPECT_EQ(image_[MemoryMap::kCompressor], 1);
    EXPECT_TRUE(main_->IsModified());
    EXPECT_GT(main_->WarningChecksScheduled(), checks);
    EXPECT_EQ(drawn_.count({CL_Comm_Comp, 0}), 1u);
    EXPECT_TRUE(Grid().hasFocus());  // back to the sheet
}

TEST_F(Flector, AClickOnAnEntryOfTheModeListSetsTheChannelsMode) {
    OpenChannelMode();
    const uint8_t mode = Mode(1);
    const std::vector<uint8_t> before = Image();
    OpenList();
    ASSERT_NE(List(), nullptr);
    cuiSheet& list = *List()->Sheet();
    EXPECT_EQ(list.BaseName(), "GI_Sheet_Sel_Mode1_R");
    EXPECT_EQ(list.CellAt(ListCursor().first, ListCursor().second).argument, mode);
    // The entry for CW, found by its label and argument.
    int col = -1, row = -1;
    for (int r = 0; r < list.RowCount(); ++r)
        for (int c = 0; c < list.ColumnCount(); ++c)
            if (list.CellAt(c, r).label == CL_Sel_Mode_U && list.CellAt(c, r).argument == 3)
                col = c, row = r;
    ASSERT_GE(row, 0);
    ASSERT_NE(mode, 3);
    Keep(*List(), "choice_list_modes");
    KeepScreen("screen_choice_list_modes");
    ListClick(col, row);
    Settle();
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(Mode(1), 3);
    const std::vector<int> changed = Differences(before, Image());
    ASSERT_EQ(changed.size(), 1u);
    // Only channel 1's record changed.
    const int recordBase = MemoryMap::kUserChannels + MemoryMap::kUserChannelSize;
    EXPECT_GE(changed[0], recordBase);
    EXPECT_LT(changed[0], recordBase + MemoryMap::kUserChannelSize);
    EXPECT_EQ(Mode(0), mode);
}

TEST_F(Flector, ADoubleClickChoosesAndTheCursorFollowsTheMouse) {
    OpenCompressor();
    OpenList();
    ASSERT_NE(List(), nullptr);
    const QPoint on = ListCell(0, 1);
    // Moves over the viewport, as the window system reports them.
    for (const QPoint& p : {ListCell(0, 0), on}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), ListViewport()->mapToGlobal(QPointF(p)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(ListViewport(), &move);
    }
    EXPECT_EQ(ListCursor(), (std::pair<int, int>{0, 1}));
    EXPECT_EQ(image_[MemoryMap::kCompressor], 0);  // following is not choosing
    QTest::mouseDClick(ListViewport(), Qt::LeftButton, Qt::NoModifier, on);
    Settle();
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(image_[MemoryMap::kCompressor], 1);
}

// Ways to close the list without a choice.
struct CloseCase {
    const char* name;
    void (*close)(Flector& test);
    bool cancelled;  // the window's result is "cancel"
};

class FlectorCloses : public Flector, public ::testing::WithParamInterface<CloseCase> {
public:
    void PressEscape() { ListKey(Qt::Key_Escape); }
    void ClickElsewhere() {
        // Through the window system, as a real click on the main window arrives.
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(window_->width() - 5, window_->height() - 5));
    }
    void FinishEditing() { events_.SendEvent(cmcEvKind::FinishEditing); }
    void SheetGoes() { sheet_.reset(); }
    void OtherHostGoes() {
        QWidget other;
        events_.SendEvent(cmcEvKind::HostGone, cmcEvArg(&other), 0);
    }
};

TEST_P(FlectorCloses, WithoutChangingTheValue) {
    OpenCompressor();
    OpenList();
    ASSERT_NE(List(), nullptr);
    QPointer<cuiFlector> list = List();
    ListKey(Qt::Key_Down);  // another entry is current, but not chosen
    const std::vector<uint8_t> before = Image();
    GetParam().close(*this);
    EXPECT_TRUE(list.isNull() || !list->isVisible());
    if (list) {
        EXPECT_EQ(list->Cancelled(), GetParam().cancelled);
    }
    Settle();
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(List(), nullptr);
    EXPECT_TRUE(Differences(before, Image()).empty());
    EXPECT_FALSE(main_->IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, FlectorCloses,
    ::testing::Values(
        CloseCase{"Escape", [](Flector& t) { static_cast<FlectorCloses&>(t).PressEscape(); }, true},
        CloseCase{"ClickElsewhere",
                  [](Flector& t) { static_cast<FlectorCloses&>(t).ClickElsewhere(); }, false},
        CloseCase{"FinishEditing",
                  [](Flector& t) { static_cast<FlectorCloses&>(t).FinishEditing(); }, false},
        CloseCase{"OpeningSheetGoes",
                  [](Flector& t) { static_cast<FlectorCloses&>(t).SheetGoes(); }, false}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

TEST_F(Flector, ADifferentHostGoingAwayLeavesTheListOpen) {
    OpenCompressor();
    OpenList();
    ASSERT_NE(List(), nullptr);
    QWidget other;
    events_.SendEvent(cmcEvKind::HostGone, cmcEvArg(&other), 0);
    Settle();
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(List()->isVisible());
}

// The arrows wrap around the list only when it has no scroll bars, that is when it fits the
// work area.
struct WrapCase {
    const char* name;
    int workAreaHeight;
    bool scrollBars;
};

class FlectorWraps : public Flector, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(FlectorWraps, OnlyWithoutScrollBars) {
    host_->SetWorkArea(HostRect{0, 0, 1280, GetParam().workAreaHeight});
    OpenChannelMode();
    OpenList();
    ASSERT_NE(List(), nullptr);
    cuiFlector& list = *List();
    cuiGrid& grid = *list.Sheet()->Grid();
    QApplication::processEvents();  // the bars settle as the window is laid out
    EXPECT_EQ(grid.ScrollBarsEnabled(), GetParam().scrollBars);
    if (GetParam().scrollBars) {
        // The work area's height, the full width and room for the vertical bar.
        EXPECT_EQ(list.height(), GetParam().workAreaHeight);
        EXPECT_EQ(list.width(),
                  list.Sheet()->FullWidth() + grid.verticalScrollBar()->sizeHint().width());
        EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
        EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
    } else {
        EXPECT_EQ(list.size(), QSize(list.Sheet()->FullWidth(), list.Sheet()->FullHeight()));
    }
    // From the first entry up, and from the last down.
    list.Sheet()->MoveTo(0, 0);
    ListKey(Qt::Key_Up);
    const int last = list.Sheet()->RowCount() - 1;
    EXPECT_EQ(ListCursor().second, GetParam().scrollBars ? 0 : last);
    list.Sheet()->MoveTo(0, last);
    ListKey(Qt::Key_Down);
    EXPECT_EQ(ListCursor().second, GetParam().scrollBars ? last : 0);
}

INSTANTIATE_TEST_SUITE_P(WorkAreas, FlectorWraps,
                         ::testing::Values(WrapCase{"FitsTheWorkArea", 1024, false},
                                           WrapCase{"TallerThanTheWorkArea", 60, true}),
                         [](const ::testing::TestParamInfo<WrapCase>& info) {
                             return info.param.name;
                         });

TEST_F(Flector, ACellNearTheBottomOpensItsListAboveItself) {
    OpenChannelMode();
    const QRect cell = Grid().CellRect(3, 1);
    const QPoint top = Viewport()->mapToGlobal(cell.topLeft());
    // The work area ends just below the cell.
    host_->SetWorkArea(HostRect{0, 0, 1280, top.y() + cell.height() + 20});
    OpenList();
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->geometry().bottom() + 1, top.y());
    EXPECT_EQ(List()->x(), top.x() + 8);
}

TEST_F(Flector, TheEntryPointOpensTheListOverAnyWidget) {
    // An opener whose owner is no grid: the list still opens, owned by the main window.
    cmcCellObj cell;
    cell.label = CL_Comm_Comp;
    cmcCellCapsule opener;
    opener.cell = &cell;
    Show();
    cuiOpenChoiceList(core_, window_.get(), opener, Flex0, 1, dict_, "GI_Sheet_Sel_Misc_OnOff",
                      &images_);
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(List()->parentWidget(), window_.get());
    const cmcCellObj& current = List()->Sheet()->CellAt(ListCursor().first, ListCursor().second);
    EXPECT_EQ(current.argument, 1);
    ListKey(Qt::Key_Escape);
    Settle();
    EXPECT_EQ(List(), nullptr);
}

// ---- Every choice cell of every sheet of the tree opens its list; a choice by keys changes the
// cell's data, and a click on the entry it showed before puts back exactly the image there was.

// Parameters: the sheet's reference, and the expert mode (which lets the restricted cells be
// edited).
using ChoiceSheet = std::tuple<std::string, bool>;

class EveryChoiceCell : public DialogTest, public ::testing::WithParamInterface<ChoiceSheet> {};

TEST_P(EveryChoiceCell, TakesAChoiceByKeysAndByTheMouse) {
    const std::string reference = std::get<0>(GetParam());
    main_->SetExpertMode(std::get<1>(GetParam()));
    OpenReal(reference);
    // The first few cells of each label (rows of unused records open no list).
    std::map<int, int> tried;
    int lists = 0;
    for (int r = 0; r < sheet_->RowCount(); ++r) {
        for (int c = 0; c < sheet_->ColumnCount(); ++c) {
            const cmcCellObj& cell = sheet_->CellAt(c, r);
            if (cell.label == CL_None || !(cell.state & cmcCellObj::kSelectable) ||
                tried[cell.label] >= 3)
                continue;
            SCOPED_TRACE(reference + " col " + std::to_string(c) + " row " + std::to_string(r));
            sheet_->MoveTo(c, r);
            if (sheet_->CursorCol() != c || sheet_->CursorRow() != r)
                continue;
            int opened = views_.choiceLists;
            std::vector<uint8_t> original = Image();
            OpenList();
            if (views_.choiceLists == opened && sheet_->EditorShowing() &&
                (sheet_->CursorCol() != c || sheet_->CursorRow() != r)) {
                // A row without a record sent the key to its first cell: give the row a record
                // (digits that read as a frequency or as an identity) and try again.
                EditorType("002182000");
                EditorKey(Qt::Key_Return);
                Settle();
                sheet_->MoveTo(c, r);
                opened = views_.choiceLists;
                original = Image();
                OpenList();
            }
            if (views_.choiceLists == opened) {
                ++tried[cell.label];
                if (sheet_->EditorShowing())
                    sheet_->CloseEditor(false);
                Settle();
                continue;
            }
            // The cell that opened it (a row without a record sends the key to its first cell).
            const int openerCol = sheet_->CursorCol(), openerRow = sheet_->CursorRow();
            tried[cell.label] = 3;  // one list per label is enough
            tried[sheet_->CellAt(openerCol, openerRow).label] = 3;
            ++lists;
            ASSERT_NE(List(), nullptr);
            const std::pair<int, int> shown = ListCursor();
            const int entries = [&] {
                int n = 0;
                cuiSheet& l = *List()->Sheet();
                for (int y = 0; y < l.RowCount(); ++y)
                    for (int x = 0; x < l.ColumnCount(); ++x)
                        n += (l.CellAt(x, y).state & cmcCellObj::kSelectable) != 0;
                return n;
            }();
            ListKey(Qt::Key_Down);
            const bool moved = ListCursor() != shown;
            ListKey(Qt::Key_Return);
            Settle();
            ASSERT_EQ(List(), nullptr);
            if (moved && entries > 1) {
                EXPECT_FALSE(Differences(original, Image()).empty());
            }
            // Back to the entry the list showed first, by the mouse.
            sheet_->MoveTo(openerCol, openerRow);
            OpenList();
            ASSERT_NE(List(), nullptr);
            ListClick(shown.first, shown.second);
            Settle();
            ASSERT_EQ(List(), nullptr);
            EXPECT_EQ(Differences(original, Image()), std::vector<int>{});
        }
    }
    if (reference != "GI_Sheet_BandEdge" &&
        (reference != "GI_Sheet_Expansion" || std::get<1>(GetParam()))) {
        EXPECT_GT(lists, 0);
    }
    RecordProperty("lists", lists);
}

INSTANTIATE_TEST_SUITE_P(TreeSheets, EveryChoiceCell,
                         ::testing::Combine(::testing::ValuesIn([] {
                                                ScopedTestHost host;
                                                cmcGTex dict;
                                                dict.SetFile(ResourcePath("PQT590.OVL"));
                                                return TreeSheetReferences(dict);
                                            }()),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<ChoiceSheet>& info) {
                             std::string name;
                             for (char ch : std::get<0>(info.param))
                                 if (std::isalnum(static_cast<unsigned char>(ch)))
                                     name += ch;
                             return name + (std::get<1>(info.param) ? "Expert" : "");
                         });

}  // namespace
