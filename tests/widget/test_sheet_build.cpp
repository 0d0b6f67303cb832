// Sheet construction: loops, directives, style keys, widths and the fatal layout errors.
#include <QFontMetrics>
#include <QLabel>
#include <QPrinter>

#include "MemorySheet.h"
#include "SheetTestSupport.h"
#include "cells/cmcCellFont.h"
#include "text/cmcTextExtent.h"
#include "ui/sheet/iuiSh_Common.h"

namespace {

class SheetBuild : public SheetTest {
protected:
    // Builds sheet "T" of a dictionary made of the given sections.
    cuiSheet& Make(const std::string& style, const std::vector<std::string>& cells,
                   const char* kind = "") {
        memory_ = std::make_unique<MemorySheet>(style, cells);
        return Open(std::string(kind) + "T", &memory_->Dictionary());
    }
    // The display texts of one column, top to bottom.
    std::vector<std::string> Column(int col) {
        std::vector<std::string> texts;
        for (int r = 0; r < sheet_->RowCount(); ++r)
            texts.push_back(sheet_->CellAt(col, r).GetText());
        return texts;
    }

    std::unique_ptr<MemorySheet> memory_;
};

TEST_F(SheetBuild, AOneLineLoopBodyIsCopiedWithArgumentsCountingUp) {
    cuiSheet& s =
        Make("", {":(LoopFrom 100)", "{S(%CT_UserCh.CL_UCh_FreqR[7])}29999.9|x", ":(LoopTo)"});
    ASSERT_EQ(s.RowCount(), 100);
    EXPECT_EQ(s.ColumnCount(), 2);
    for (int r = 0; r < 100; ++r) {
        EXPECT_EQ(s.CellAt(0, r).argument, 7 + r);
        EXPECT_EQ(s.CellAt(0, r).label, CL_UCh_FreqR);
        EXPECT_EQ(s.CellAt(0, r).GetText(), "29999.9");  // copied, not renumbered
        EXPECT_EQ(s.CellAt(1, r).GetText(), "x");
        EXPECT_EQ(s.RowAttribute(r).line, 1);
        EXPECT_EQ(Grid().RowHeight(r), Grid().RowHeight(0));
    }
}

struct LoopCase {
    const char* name;
    std::vector<std::string> cells;
    std::vector<std::string> firstColumn;
};

class SheetLoops : public SheetBuild, public ::testing::WithParamInterface<LoopCase> {};

TEST_P(SheetLoops, GiveTheRowsOfTheExample) {
    Make("", GetParam().cells);
    EXPECT_EQ(Column(0), GetParam().firstColumn);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SheetLoops,
    ::testing::Values(
        // Every pass parses its lines again, so the counters advance on every parse.
        LoopCase{"TwoLineBodyRepeated",
                 {":(LoopFrom 3)", "{(@ch0++)}A\\(@ch0)", "B\\(@ch0)", ":(LoopTo)"},
                 {"A1", "B1", "A2", "B2", "A3", "B3"}},
        LoopCase{"CountZeroMeansOnce", {":(LoopFrom 0)", "a", ":(LoopTo)", "b"}, {"a", "b"}},
        LoopCase{"NoValueAfterTheBlankIsIgnored", {":(LoopFrom )", "a", ":(LoopTo)"}, {"a"}},
        LoopCase{"ValueAfterEqualsIsNoLoop", {":(LoopFrom=3)", "a", ":(LoopTo)"}, {"a"}},
        LoopCase{"RowsBeforeAndAfterTheLoop",
                 {"h", ":(LoopFrom 2)", "x", ":(LoopTo)", "t"},
                 {"h", "x", "x", "t"}},
        LoopCase{"EmptyLineIsAnEmptyRow", {"a", "", "b"}, {"a", "", "b"}}),
    [](const ::testing::TestParamInfo<LoopCase>& info) { return info.param.name; });

TEST_F(SheetBuild, TheWidestRowSetsTheColumnCount) {
    cuiSheet& s = Make("", {"a|b|c", "x"});
    ASSERT_EQ(s.ColumnCount(), 3);
    ASSERT_EQ(s.RowCount(), 2);
    for (int c : {1, 2}) {
        const cmcCellObj& cell = s.CellAt(c, 1);
        EXPECT_EQ(cell.label, CL_None);
        EXPECT_TRUE(cell.GetText().empty());
        EXPECT_FALSE(cell.state & cmcCellObj::kSelectable);
    }
    EXPECT_EQ(s.CellAt(0, 1).GetText(), "x");
}

TEST_F(SheetBuild, ABarAtTheStartGivesAnEmptyFirstCellAndOneAtTheEndNone) {
    cuiSheet& s = Make("", {"|a|"});
    EXPECT_EQ(s.ColumnCount(), 2);
    EXPECT_EQ(s.CellAt(0, 0).GetText(), "");
    EXPECT_EQ(s.CellAt(1, 0).GetText(), "a");
}

struct SelectCase {
    const char* name;
    const char* style;
    bool block;  // may the block between SelectOFF and SelectON join a multi-selection
    bool outside;
};

class SheetSelectDirectives : public SheetBuild,
                              public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SheetSelectDirectives, DecideWhichRowsJoinAMultiSelection) {
    cuiSheet& s =
        Make(GetParam().style, {"{S}a", ":(SelectOFF)", "{S}b", "{S}c", ":(SelectON)", "{S}d"});
    ASSERT_EQ(s.RowCount(), 4);
    EXPECT_EQ(s.CellIdAt(0, 0).multiSelectable, GetParam().outside);
    EXPECT_EQ(s.CellIdAt(0, 1).multiSelectable, GetParam().block);
    EXPECT_EQ(s.CellIdAt(0, 2).multiSelectable, GetParam().block);
    EXPECT_EQ(s.CellIdAt(0, 3).multiSelectable, GetParam().outside);
    EXPECT_FALSE(s.RowAttribute(1).selectable);
    EXPECT_TRUE(s.RowAttribute(3).selectable);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SheetSelectDirectives,
    ::testing::Values(SelectCase{"LineSheet", "(MultiSelect=Line)", false, true},
                      SelectCase{"CellSheet", "(MultiSelect=Cell)", false, true},
                      SelectCase{"NoMultiSelect", "", false, false},
                      SelectCase{"WrongCaseIsNone", "(MultiSelect=cell)", false, false}),
    [](const ::testing::TestParamInfo<SelectCase>& info) { return info.param.name; });

TEST_F(SheetBuild, MultiSelectValuesAreExact) {
    EXPECT_EQ(Make("(MultiSelect=Line)", {"a"}).MultiSelectMode(), cuiSheet::kSelectLine);
    EXPECT_EQ(Make("(MultiSelect=Cell)", {"a"}).MultiSelectMode(), cuiSheet::kSelectCell);
    EXPECT_EQ(Make("(MultiSelect=cell)", {"a"}).MultiSelectMode(), cuiSheet::kSelectNone);
    EXPECT_EQ(Make("(MultiSelect=Line)(MultiSelect)", {"a"}).MultiSelectMode(),
              cuiSheet::kSelectNone);
}

TEST_F(SheetBuild, Only2182SkipsLinesInTheCommonSheetOnly) {
    const std::vector<std::string> cells = {"a", ":(Only_2182 2)", ":(LoopFrom 5)", "b", "c"};
    cuiSheet& common = Make("", cells, "[St_Common]");
    EXPECT_NE(dynamic_cast<iuiSh_Common*>(&common), nullptr);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "c"}));
    cuiSheet& plain = Make("", cells);
    EXPECT_EQ(dynamic_cast<iuiSh_Common*>(&plain), nullptr);
    // In a plain sheet the loop start is seen, but no LoopTo ever repeats it.
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(SheetBuild, FixedRowsAndColumnsStopShortOfTheGridSize) {
    Make("(FixedRows=5)(FixedCols=9)", {"a|b", "c|d", "e|f"});
    EXPECT_EQ(Grid().FixedRows(), 2);
    EXPECT_EQ(Grid().FixedColumns(), 1);
    Make("(FixedRows=1)", {"a|b", "c|d", "e|f"});
    EXPECT_EQ(Grid().FixedRows(), 1);
    EXPECT_EQ(Grid().FixedColumns(), 0);
}

TEST_F(SheetBuild, WidthsAndHeightsFollowTheWAndHCells) {
    cuiSheet& s = Make("", {"{W}wide text|narrow|{H}a\\nb\\nc"});
    const QFontMetrics metrics(ToQFont(*s.BasicCell().font), Viewport());
    EXPECT_EQ(Grid().ColumnWidth(0), metrics.horizontalAdvance("wide text") + 8);
    EXPECT_EQ(Grid().ColumnWidth(1), 1);  // no "W": a one-pixel column
    EXPECT_EQ(Grid().RowHeight(0), 3 * metrics.height() + 2);
}

TEST_F(SheetBuild, TheViewFontSizeScalesTheBasicCell) {
    main_->SetFontSizeSetting(120);
    memory_ = std::make_unique<MemorySheet>(std::string(), std::vector<std::string>{"a"},
                                            "{(Font=DEFAULT_CHARSET,,clWindowText,-20,,,)}");
    cuiSheet& s = Open("T", &memory_->Dictionary());
    ASSERT_TRUE(s.BasicCell().font);
    EXPECT_EQ(s.BasicCell().font->height, -24);
}

TEST_F(SheetBuild, PrintingSizesTheBasicCellByThePrintFontSizeAndRatio) {
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    memory_ = std::make_unique<MemorySheet>("(PrintFontRatio=80)", std::vector<std::string>{"a"},
                                            "{(Font=DEFAULT_CHARSET,,clWindowText,-20,,,)}");
    sheet_ = std::make_unique<cuiSheet>(main_.Core(), window_.get(), nullptr, 0, 0,
                                        memory_->Dictionary(), "T", &images_);
    Prepare(*sheet_);
    sheet_->SetPrinter(&printer);
    sheet_->SetPrintFontSize(-30);
    sheet_->Build();
    ASSERT_TRUE(sheet_->BasicCell().font);
    EXPECT_EQ(sheet_->BasicCell().font->height, -24);  // the print size, then 80 %
}

TEST_F(SheetBuild, StyleKeys) {
    cuiSheet& s = Make(
        "(TitleString=First)(TitleString=)(TitleColor=clNavy)(NoPrint)(PrintFontRatio=80)", {"a"});
    EXPECT_EQ(s.GetTitle(), "First");  // an empty title keeps the earlier one
    EXPECT_FALSE(s.IsPrintable());
    EXPECT_EQ(s.PrintFontRatio(), 80);
    ASSERT_NE(s.TitleLabel(), nullptr);
    EXPECT_EQ(s.TitleLabel()->palette().color(QPalette::Window), QColor(0, 0, 0x80));
    EXPECT_TRUE(Make("(NoPrint=1)", {"a"}).IsPrintable());
    EXPECT_EQ(Make("", {"a"}).TitleLabel(), nullptr);
}

TEST_F(SheetBuild, ACellsSectionWithoutCellsIsFatal) {
    for (const std::vector<std::string>& cells :
         {std::vector<std::string>{}, std::vector<std::string>{":(SelectOFF)"}}) {
        EXPECT_THROW(Make("", cells), cmcFatalError);
        ASSERT_FALSE(host_->Fatals().empty());
        EXPECT_EQ(host_->Fatals().back(), "Illegal Cell assign");
    }
}

TEST_F(SheetBuild, ACellOutsideTheGridIsFatal) {
    cuiSheet& s = Make("", {"a|b"});
    for (std::pair<int, int> at : {std::pair{2, 0}, std::pair{0, 1}, std::pair{-1, 0}}) {
        EXPECT_THROW(s.CellIdAt(at.first, at.second), cmcFatalError);
        EXPECT_EQ(host_->Fatals().back(), "Illegal Cell selection");
    }
}

TEST_F(SheetBuild, TheReferenceGivesKindBaseAndExtraText) {
    const cuiSheetReference r = cuiSheetReference::Parse("[St_Common]GI_Sheet_Common,extra,more");
    EXPECT_EQ(r.kind, "St_Common");
    EXPECT_EQ(r.base, "GI_Sheet_Common");
    EXPECT_EQ(r.extra, "extra,more");
    const cuiSheetReference plain = cuiSheetReference::Parse("GI_Sheet_UserCh");
    EXPECT_EQ(plain.kind, "");
    EXPECT_EQ(plain.base, "GI_Sheet_UserCh");
    cuiSheet& s = Open("GI_Sheet_ModeReg,x");
    EXPECT_EQ(s.GetReference(), "GI_Sheet_ModeReg,x");
    EXPECT_EQ(s.ArgText(), "x");
}

TEST_F(SheetBuild, TheCursorStartsNearTheTopLeftSelectableCell) {
    cuiSheet& s = Make("(FixedRows=1)(FixedCols=1)", {"h|h|h", "n|{S}a|{S}b", "n|{S}c|{S}d"});
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 1}));
    EXPECT_EQ(s.FirstSelectableCol(), 1);
    EXPECT_EQ(s.FirstSelectableRow(), 1);
}

TEST_F(SheetBuild, WithoutAnySelectableCellTheGridIsDisabled) {
    Make("", {"a|b"});
    EXPECT_FALSE(Grid().isEnabled());
}

TEST_F(SheetBuild, ARememberedCursorIsRestoredAndAStaleOneForgotten) {
    sheet_ = cuiCreateSheet(main_.Core(), window_.get(), "GI_Sheet_UserCh", dict_, &images_);
    Prepare(*sheet_);
    sheet_->SetCursorMemory(3, 120, 1, 100);
    sheet_->Build();
    Show();
    EXPECT_EQ(Cursor(), (std::pair<int, int>{3, 120}));
    EXPECT_EQ(Grid().TopRow(), 100);
    // A remembered cell beyond the grid is forgotten: the cursor starts as usual.
    sheet_ = cuiCreateSheet(main_.Core(), window_.get(), "GI_Sheet_UserCh", dict_, &images_);
    Prepare(*sheet_);
    sheet_->SetCursorMemory(3, 500, 1, 400);
    sheet_->Build();
    Show();
    EXPECT_EQ(Cursor(), (std::pair<int, int>{1, 1}));
}

TEST_F(SheetBuild, ASheetRebuiltInAnotherFontSizeKeepsItsCursor) {
    cuiSheet& first = Open("GI_Sheet_UserCh");
    for (int i = 0; i < 50; ++i)
        Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    const cuiCursorMemory memory = first.CursorMemory();
    EXPECT_EQ(memory.col, 2);
    EXPECT_EQ(memory.row, 51);
    main_->SetFontSizeSetting(150);
    sheet_.reset();
    sheet_ = cuiCreateSheet(main_.Core(), window_.get(), "GI_Sheet_UserCh", dict_, &images_);
    Prepare(*sheet_);
    sheet_->SetCursorMemory(memory);
    sheet_->Build();
    Show();
    EXPECT_EQ(sheet_->CursorMemory().col, 2);
    EXPECT_EQ(sheet_->CursorMemory().row, 51);
    EXPECT_FALSE(Grid().CellRect(2, 51).isEmpty());  // and it is in view
}

TEST_F(SheetBuild, AnInitialTargetPlacesTheCursor) {
    MemorySheet list("", {"{S(%Flex0[0])}Off", "{S(%Flex0[1])}On", "{S(%Flex0[2])}Auto"});
    cmcCellCapsule opener;
    sheet_ = std::make_unique<cuiSheet>(main_.Core(), window_.get(), &opener, Flex0, 2,
                                        list.Dictionary(), "T", &images_);
    Prepare(*sheet_);
    sheet_->SetChoiceListMode(true);
    sheet_->Build();
    Show();
    EXPECT_EQ(Cursor(), (std::pair<int, int>{0, 2}));
}

}  // namespace
