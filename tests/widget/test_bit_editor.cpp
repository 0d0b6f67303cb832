// The bit-field editor: its generated sheet, the bits it shows and toggles, and how the value goes
// back to the memory dump's byte cell that opened it (OK, Enter, a click elsewhere, event 21) or
// does not (Cancel, Escape, the opening sheet going away).
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include "DialogTestSupport.h"
#include "ScopedProgramDictionary.h"
#include "ui/sheet/cuiCellPainter.h"

namespace {

// ---- The generated sheet.

struct SheetCase {
    const char* name;
    int first, last, style;
    const char* headings;  // line 6
};

class GeneratedBitSheet : public ::testing::TestWithParam<SheetCase> {
    ScopedProgramDictionary texts_;  // the pop-up menus' items
};

TEST_P(GeneratedBitSheet, HasItsFixedLinesAndTheHeadingsOfTheRange) {
    const SheetCase& c = GetParam();
    const std::vector<std::string> lines = cuiFBitsR::GenerateBitSheet(c.first, c.last, c.style);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[0], "#GI_Sheet_FBitsR_Style");
    EXPECT_EQ(lines[1], "(FixedCols=1)(FixedRows=1)");
    EXPECT_EQ(lines[3], "{($Basic)(PopupMenu=GI_PMenu_NoItem)}");
    EXPECT_EQ(lines[4], "#GI_Sheet_FBitsR_Cells");
    EXPECT_EQ(lines[6], c.headings);
    EXPECT_EQ(lines[11], "#");
    EXPECT_EQ(lines[17], "(%CT_Null.CL_Misc_QuarterPillar)");
    EXPECT_EQ(lines[23], "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}");
    EXPECT_EQ(lines[28], "+Edit...\t{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}");
    EXPECT_EQ(lines[30], "#End_Of_Ovl");
    EXPECT_EQ(lines[31], "");
    for (int n : {5, 7, 9, 10})
        EXPECT_EQ(lines[size_t(n)], "") << n;
    // One bit cell per bit, numbered from 1, with a quarter pillar between neighbours.
    std::string bits;
    for (int l = 1; l <= c.last - c.first + 1; ++l) {
        bits += "|{($eWh)^(%CL_FBits[" + std::to_string(l) + "])}9|";
        if (l <= c.last - c.first)
            bits += "{($iQp)}";
    }
    EXPECT_EQ(lines[8], bits);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, GeneratedBitSheet,
    ::testing::Values(
        SheetCase{"Byte", 1, 8, 0,
                  "|{($iChI)}1||{($iChI)}2||{($iChI)}3||{($iChI)}4||{($iChI)}5||{($iChI)}6|"
                  "|{($iChI)}7||{($iChI)}8|"},
        SheetCase{"Hexadecimal", 8, 12, 1,
                  "|{($iChI)}8||{($iChI)}9||{($iChI)}A||{($iChI)}B||{($iChI)}C|"},
        SheetCase{"TenAsZero", 9, 11, 2, "|{($iChI)}9||{($iChI)}0||{($iChI)}11|"},
        SheetCase{"TenInDecimal", 9, 10, 0, "|{($iChI)}9||{($iChI)}10|"},
        SheetCase{"OneBit", 3, 3, 0, "|{($iChI)}3|"}),
    [](const ::testing::TestParamInfo<SheetCase>& info) { return info.param.name; });

// ---- The editor over a byte of the memory dump.

constexpr int kAddress = 0x123;  // column 9, row 21 of the memory dump
constexpr uint8_t kByte = 0x5A;

class BitField : public DialogTest {
public:
    BitField() {
        image_[kAddress] = kByte;
        main_->MarkSaved();
        OpenReal("GI_Sheet_EeDebugWin", 9, 21);
        EXPECT_EQ(sheet_->CellAt(9, 21).label, CL_EeDebugWin_3);
        EXPECT_EQ(sheet_->CellAt(9, 21).argument, 0x12);
    }
    // The editor as the byte cell opens it (Enter: the memory dump's own bit sheet).
    cuiFBitsR* OpenFromCell() {
        OpenList();
        return BitEditor();
    }
    // The editor over the byte cell with any sheet and styles.
    cuiFBitsR* OpenDirect(int first, int last, int headerStyle, int markStyle,
                          const std::string& sheetName = "") {
        cmcCellCapsule opener;
        sheet_->FillCapsule(9, 21, opener);
        cuiOpenBitEditor(core_, window_.get(), opener, dict_, uint32_t(kByte) << 18, first, last,
                         headerStyle, markStyle, sheetName, &images_);
        QApplication::processEvents();
        return BitEditor();
    }
    QWidget* EditorViewport() { return BitEditor()->Sheet()->Grid()->viewport(); }
    void BitKey(Qt::Key key) { QTest::keyClick(EditorViewport(), key); }

    // Whether bit cell n is marked: any pixel of its text area unlike its background.
    static bool Marked(cuiSheet& s, const QImage& shot, int n) {
        QRect r = s.Grid()->CellRect(2 * n - 1, 3);
        r.setBottom(r.bottom() - 1);  // the bottom rule
        const QRgb background = shot.pixel(r.left() + 1, r.top() + 1);
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (shot.pixel(x, y) != background)
                    return true;
        return false;
    }
    static std::vector<bool> Marks(cuiSheet& s, int count) {
        const QImage shot = s.Grid()->viewport()->grab().toImage();
        std::vector<bool> marks;
        for (int n = 1; n <= count; ++n)
            marks.push_back(Marked(s, shot, n));
        return marks;
    }
};

TEST_F(BitField, TheGeneratedSheetHasTwoColumnsPerBitAndSixRows) {
    cuiFBitsR* editor = OpenDirect(1, 8, 0, 0);
    ASSERT_NE(editor, nullptr);
    cuiSheet& s = *editor->Sheet();
    EXPECT_EQ(s.BaseName(), "GI_Sheet_FBitsR");
    EXPECT_EQ(s.ColumnCount(), 16);
    EXPECT_EQ(s.RowCount(), 6);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(s.CellAt(2 * n - 1, 1).GetText(), std::to_string(n));
        EXPECT_EQ(s.CellAt(2 * n - 1, 3).label, CL_FBits);
        EXPECT_EQ(s.CellAt(2 * n - 1, 3).argument, n);
        if (n < 8) {
            EXPECT_EQ(s.CellAt(2 * n, 3).label, CL_Misc_QuarterPillar);
        }
    }
    EXPECT_EQ(s.CellAt(0, 1).GetText(), "");
    for (int r : {0, 2, 4, 5})
        EXPECT_EQ(s.Grid()->RowHeight(r), 1) << r;  // the empty rows stay one pixel high
    // The cursor starts on bit cell 1.
    EXPECT_EQ(std::make_pair(s.CursorCol(), s.CursorRow()), std::make_pair(1, 3));
}

TEST_F(BitField, HeaderStyleTwoShowsZeroForBitTen) {
    cuiFBitsR* editor = OpenDirect(1, 10, cuiFBitsR::kHeaderTenAsZero, 0);
    ASSERT_NE(editor, nullptr);
    cuiSheet& s = *editor->Sheet();
    EXPECT_EQ(s.ColumnCount(), 20);
    EXPECT_EQ(s.CellAt(17, 1).GetText(), "9");
    EXPECT_EQ(s.CellAt(19, 1).GetText(), "0");
}

TEST_F(BitField, AByteShowsItsBitsFromBitSevenAtTheLeft) {
    for (const std::string& sheet : {std::string(), std::string(cmcCellCapsule::kBitEditorSheet)}) {
        SCOPED_TRACE(sheet);
        cuiFBitsR* editor = OpenDirect(1, 8, 0, cuiFBitsR::kMarkText, sheet);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->Value(), uint32_t(kByte) << 18);
        // 0x5A: blank, o, blank, o, o, blank, o, blank.
        EXPECT_EQ(Marks(*editor->Sheet(), 8),
                  (std::vector<bool>{false, true, false, true, true, false, true, false}));
        Keep(*editor, sheet.empty() ? "bit_editor_generated" : "bit_editor_memory");
        editor->Cancel();
        Settle();
    }
}

TEST_F(BitField, TheTickIsDrawnInTheFontColourWithinTheCell) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        cuiCellPainter canvas(p, QPalette());
        cuiFBitsR::DrawTick(canvas, cmcCellRect{0, 0, 40, 20}, 0x000000);
    }
    // s = 20, dx = 13, dy = 3; the shape spans 0.7 s = 14 pixels each way.
    int left = 99, right = -1, top = 99, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(left, 13, 1);
    EXPECT_NEAR(right, 13 + 14, 1);
    EXPECT_NEAR(top, 3 + 2, 1);  // the highest point is at 0.15 of the shape
    EXPECT_NEAR(bottom, 3 + 14, 1);
    EXPECT_EQ(image.pixelColor(13 + 5, 3 + 11), QColor(Qt::black));  // inside the stroke
}

TEST_F(BitField, WithTheTickStyleSetBitsAreMarked) {
    cuiFBitsR* editor = OpenDirect(1, 8, 0, cuiFBitsR::kMarkTick);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Marks(*editor->Sheet(), 8),
              (std::vector<bool>{false, true, false, true, true, false, true, false}));
    Keep(*editor, "bit_editor_ticks");
}

TEST_F(BitField, SpaceOnCellOneAndOkHandsBackTheValueWithBitTwentyFiveToggled) {
    const std::vector<uint8_t> before = Image();
    QPointer<cuiFBitsR> editor = OpenFromCell();
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(views_.bitEditors, 1);
    EXPECT_EQ(editor->Sheet()->BaseName(), cmcCellCapsule::kBitEditorSheet);
    BitKey(Qt::Key_Space);
    EXPECT_EQ(editor->Value(), (uint32_t(kByte) << 18) ^ (1u << 25));
    EXPECT_EQ(Marks(*editor->Sheet(), 8)[0], true);
    EXPECT_EQ(image_[kAddress], kByte);  // nothing handed back yet
    KeepScreen("screen_bit_editor");
    drawn_.clear();
    QTest::mouseClick(editor->OkButton(), Qt::LeftButton);
    EXPECT_TRUE(editor.isNull() || editor->Done());
    Settle();
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(image_[kAddress], kByte ^ 0x80);
    EXPECT_EQ(Differences(before, Image()), std::vector<int>{kAddress});
    EXPECT_TRUE(main_->IsModified());
    EXPECT_EQ(drawn_.count({CL_EeDebugWin_3, 0x12}), 1u);  // the byte cell shows its new value
    EXPECT_TRUE(Grid().hasFocus());
}

TEST_F(BitField, ADoubleClickTogglesABit) {
    cuiFBitsR* editor = OpenFromCell();
    ASSERT_NE(editor, nullptr);
    const QPoint cell3 = editor->Sheet()->Grid()->CellRect(5, 3).center();
    QTest::mouseDClick(EditorViewport(), Qt::LeftButton, Qt::NoModifier, cell3);
    EXPECT_EQ(editor->Value(), (uint32_t(kByte) << 18) ^ (1u << 23));
    QTest::mouseDClick(EditorViewport(), Qt::LeftButton, Qt::NoModifier, cell3);
    EXPECT_EQ(editor->Value(), uint32_t(kByte) << 18);
}

// Ways the editor closes after a bit was toggled, and whether the value goes back.
struct CloseCase {
    const char* name;
    void (*close)(BitField& test, cuiFBitsR& editor);
    bool handedBack;
};

class BitEditorCloses : public BitField, public ::testing::WithParamInterface<CloseCase> {
public:
    void ClickElsewhere() {
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(window_->width() - 5, window_->height() - 5));
    }
    void FinishEditing() { events_.SendEvent(cmcEvKind::FinishEditing); }
    void SheetGoes() { sheet_.reset(); }
};

TEST_P(BitEditorCloses, HandsTheValueBackOnlyWhenLeftOrConfirmed) {
    QPointer<cuiFBitsR> editor = OpenFromCell();
    ASSERT_FALSE(editor.isNull());
    BitKey(Qt::Key_Space);
    GetParam().close(*this, *editor);
    EXPECT_TRUE(editor.isNull() || !editor->isVisible());
    Settle();
    EXPECT_TRUE(editor.isNull());
    EXPECT_EQ(BitEditor(), nullptr);
    EXPECT_EQ(image_[kAddress], GetParam().handedBack ? (kByte ^ 0x80) : kByte);
    EXPECT_EQ(main_->IsModified(), GetParam().handedBack);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, BitEditorCloses,
    ::testing::Values(
        CloseCase{"Ok",
                  [](BitField&, cuiFBitsR& e) { QTest::mouseClick(e.OkButton(), Qt::LeftButton); },
                  true},
        CloseCase{"Enter", [](BitField& t, cuiFBitsR&) { t.BitKey(Qt::Key_Return); }, true},
        CloseCase{
            "ClickElsewhere",
            [](BitField& t, cuiFBitsR&) { static_cast<BitEditorCloses&>(t).ClickElsewhere(); },
            true},
        CloseCase{"FinishEditing",
                  [](BitField& t, cuiFBitsR&) { static_cast<BitEditorCloses&>(t).FinishEditing(); },
                  true},
        // Cancel hides the window, which deactivates it: the value still stays.
        CloseCase{
            "Cancel",
            [](BitField&, cuiFBitsR& e) { QTest::mouseClick(e.CancelButton(), Qt::LeftButton); },
            false},
        CloseCase{"Escape", [](BitField& t, cuiFBitsR&) { t.BitKey(Qt::Key_Escape); }, false},
        CloseCase{"OpeningSheetGoes",
                  [](BitField& t, cuiFBitsR&) { static_cast<BitEditorCloses&>(t).SheetGoes(); },
                  false}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

TEST_F(BitField, TheValueGoesBackOnce) {
    cuiFBitsR* editor = OpenFromCell();
    ASSERT_NE(editor, nullptr);
    BitKey(Qt::Key_Space);
    editor->CommitBits();
    ASSERT_EQ(image_[kAddress], kByte ^ 0x80);
    image_[kAddress] = 0x11;
    // Leaving the window and event 21, before the object has gone, hand nothing back again.
    editor->CommitBits();
    events_.SendEvent(cmcEvKind::FinishEditing);
    Settle();
    EXPECT_EQ(image_[kAddress], 0x11);
}

TEST_F(BitField, OpensBesideItsCellWithRoomForBothButtons) {
    cuiFBitsR* editor = OpenFromCell();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowType(), Qt::Popup);
    const QRect cell = Grid().CellRect(9, 21);
    const QPoint origin = Viewport()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(editor->pos(), origin + QPoint(cell.left() + 8, cell.bottom() + 1));
    EXPECT_EQ(editor->OkButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(editor->CancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(editor->OkButton()->isDefault());
    // Cancel at the right, OK 8 pixels left of it, both inside the window.
    const QRect ok = editor->OkButton()->geometry(), cancel = editor->CancelButton()->geometry();
    EXPECT_EQ(cancel.left() - (ok.right() + 1), 8);
    const QRect cancelInWindow(editor->CancelButton()->mapTo(editor, QPoint(0, 0)), cancel.size());
    EXPECT_TRUE(editor->rect().contains(cancelInWindow));
    EXPECT_TRUE(editor->Sheet()->Grid()->hasFocus());
    // The whole sheet shows, the heading row too.
    QApplication::processEvents();
    cuiGrid& grid = *editor->Sheet()->Grid();
    EXPECT_EQ(grid.TopRow(), grid.FixedRows());
    EXPECT_GE(grid.viewport()->height(), grid.ContentHeight());
    EXPECT_GE(grid.viewport()->width(), grid.ContentWidth());
}

}  // namespace
