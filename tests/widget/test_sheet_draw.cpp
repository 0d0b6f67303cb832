// Drawing, checked on the pixels: highlight by focus, "+" spans, multi-line texts, the notice and
// error marks, printing colours, unused channel rows, and which cells repaint events redraw.
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <set>

#include "MemorySheet.h"
#include "SheetTestSupport.h"

namespace {

class SheetDraw : public SheetTest {
protected:
    cuiSheet& Make(const std::vector<std::string>& cells, const std::string& style = "") {
        memory_ = std::make_unique<MemorySheet>(style, cells);
        return Open("T", &memory_->Dictionary());
    }
    QColor Role(QPalette::ColorRole role) { return Grid().palette().color(QPalette::Active, role); }
    // Pixels of a part of an image that differ clearly from a colour.
    static int InkIn(const QImage& image, const QRect& r, const QColor& background) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - background.red()) +
                        std::abs(c.green() - background.green()) +
                        std::abs(c.blue() - background.blue()) >
                    120)
                    ++n;
            }
        return n;
    }
    static int Reddish(const QImage& image, const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                    ++n;
            }
        return n;
    }
    void FocusElsewhere() {
        other_ = new QLineEdit(window_.get());
        other_->show();
        other_->setFocus(Qt::MouseFocusReason);
        ASSERT_FALSE(Grid().hasFocus());
    }

    std::unique_ptr<MemorySheet> memory_;
    QLineEdit* other_ = nullptr;
};

TEST_F(SheetDraw, TheCurrentCellIsHighlightedByFocus) {
    Open("GI_Sheet_UserCh");
    const QRect cur = Grid().CellRect(1, 1);
    EXPECT_EQ(Shot().pixelColor(cur.topLeft() + QPoint(1, 1)), Role(QPalette::Highlight));
    FocusElsewhere();
    EXPECT_EQ(Shot().pixelColor(cur.topLeft() + QPoint(1, 1)), Role(QPalette::Button));
    // A cell off the cursor keeps its own colour.
    const QRect other = Grid().CellRect(1, 3);
    EXPECT_EQ(Shot().pixelColor(other.topLeft() + QPoint(1, 1)), Role(QPalette::Base));
}

TEST_F(SheetDraw, GreyTextStaysReadableOnTheGreyHighlight) {
    sheet_ =
        cuiCreateSheet(main_.Core(), window_.get(), "[St_Common]GI_Sheet_Common", dict_, &images_);
    Prepare(*sheet_);
    sheet_->SetCursorMemory(1, 9, -1, -1);  // RF gain, whose remark is grey
    sheet_->Build();
    Show();
    FocusElsewhere();
    const QRect note = Grid().CellRect(2, 9);
    ASSERT_EQ(sheet_->CellAt(2, 9).GetText(), "0 to 9");
    const QImage shot = Shot();
    const QColor back = shot.pixelColor(note.topLeft() + QPoint(1, 1));
    EXPECT_EQ(back, Role(QPalette::Button));  // the remark follows its setting's highlight
    EXPECT_GT(InkIn(shot, note.adjusted(0, 0, 0, -2), back), 5);
}

TEST_F(SheetDraw, ASpanDrawsTheOwnersTextAcrossItsColumns) {
    Make({"{($Group)}Heading across the columns|{($Group)+}|{($Group)+}", "{W}a|{W}b|{W}c"});
    const QImage shot = Shot();
    const QColor silver(0xC0, 0xC0, 0xC0);
    for (int c = 0; c < 3; ++c)
        EXPECT_GT(InkIn(shot, Grid().CellRect(c, 0).adjusted(0, 0, 0, -2), silver), 5) << c;
    // The whole text fits: the span's last column grew to take it.
    int width = 0;
    for (int c = 0; c < 3; ++c)
        width += Grid().ColumnWidth(c);
    EXPECT_GT(width, 100);
}

TEST_F(SheetDraw, ATwoLineTextIsCentredAsABlock) {
    Make({"{-^H}a\\nbb|{H}x\\ny\\nz"});
    const QRect cell = Grid().CellRect(0, 0);
    const QImage shot = Shot();
    const QColor base = Role(QPalette::Base);
    int top = -1, bottom = -1;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        if (InkIn(shot, QRect(cell.left(), y, cell.width(), 1), base) > 0) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    ASSERT_GE(top, 0);
    const int middle = cell.top() + cell.height() / 2;
    EXPECT_LT(top, middle);
    EXPECT_GT(bottom, middle);
    // Equal room above and below the block, to a few pixels of glyph shape.
    EXPECT_LE(std::abs((top - cell.top()) - (cell.bottom() - bottom)), 6);
}

// Marks come from the behaviour; here a test behaviour asks for the error mark.
int ErrorMarkBehaviour(SheetTest&, cmcCellCapsule& c, bool notify) {
    if (notify || c.cell == nullptr || c.cell->label != CL_Dummy)
        return -1;
    c.outputText = c.cell->argument == 1 ? "x" : "7";
    c.markBits |= kMarkError;
    return 0;
}

TEST_F(SheetDraw, TheMarkGoesLeftOfRightAlignedTextAndAfterLeftAlignedText) {
    override_ = &ErrorMarkBehaviour;
    Make(
        {"{WH>(%CT_Null.CL_Dummy[0])}a right aligned cell|{WH<(%CT_Null.CL_Dummy[1])}a left "
         "aligned cell"});
    const QImage shot = Shot();
    const QRect right = Grid().CellRect(0, 0);
    const QRect left = Grid().CellRect(1, 0);
    const int s = images_.Size();
    EXPECT_GT(Reddish(shot, QRect(right.left(), right.top(), s + 4, right.height())), 10);
    EXPECT_EQ(Reddish(shot, QRect(right.right() - s, right.top(), s, right.height())), 0);
    // Just after the text "x", never at the far right of the wide cell.
    EXPECT_GT(Reddish(shot, QRect(left.left(), left.top(), s + 20, left.height())), 10);
    EXPECT_EQ(Reddish(shot, QRect(left.right() - s, left.top(), s, left.height())), 0);
}

// A frequency's mark at the right edge of its right-aligned cell: "12.3" for argument 2, nothing
// for argument 3, so that the mark alone can be told from the mark over text.
int RightEdgeMarkBehaviour(SheetTest&, cmcCellCapsule& c, bool notify) {
    if (notify || c.cell == nullptr || c.cell->label != CL_Dummy)
        return -1;
    c.outputText = c.cell->argument == 2 ? "12.3" : "";
    c.markBits |= kMarkError;
    c.markPosition = kMarkPosRight;
    return 0;
}

// Dark pixels in a rectangle.
int DarkIn(const QImage& image, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
    return n;
}

TEST_F(SheetDraw, AMarkAtTheRightEdgeNeverCoversTheText) {
    override_ = &RightEdgeMarkBehaviour;
    Make({"{WH>(%CT_Null.CL_Dummy[2])}2182.0|{WH>(%CT_Null.CL_Dummy[3])}2182.0"});
    const QImage shot = Shot();
    const int s = images_.Size();
    const QRect text = Grid().CellRect(0, 0);
    const QRect none = Grid().CellRect(1, 0);
    // Where the mark goes, the cell with text looks as the one without: no glyph is under it.
    const QRect markOf = QRect(text.right() - s - 1, text.top(), s + 1, text.height());
    const QRect markOfNone = markOf.translated(none.left() - text.left(), 0);
    EXPECT_GT(Reddish(shot, markOf), 10);
    EXPECT_EQ(DarkIn(shot, markOf), DarkIn(shot, markOfNone));
    // The text is there, beside the mark.
    EXPECT_GT(DarkIn(shot, QRect(text.left(), text.top(), text.width() - s - 1, text.height())),
              10);
}

TEST_F(SheetDraw, ALabelledCellWithoutOutputDrawsOnlyItsBackground) {
    override_ = [](SheetTest&, cmcCellCapsule& c, bool notify) {
        if (notify || c.cell == nullptr || c.cell->label != CL_Dummy)
            return -1;
        c.outputText.clear();
        return 0;
    };
    Make({"{WH}left|{WH(%CT_Null.CL_Dummy[0])}fixed text"});
    const QRect cell = Grid().CellRect(1, 0);
    EXPECT_EQ(InkIn(Shot(), cell, Role(QPalette::Base)), 0);
}

TEST_F(SheetDraw, ChannelsAboveTheHighestShowTheGreyUnusedText) {
    image_[MemoryMap::kMaxUserChannel] = 150;
    sheet_ = cuiCreateSheet(main_.Core(), window_.get(), "GI_Sheet_UserCh", dict_, &images_);
    Prepare(*sheet_);
    sheet_->SetCursorMemory(1, 149, 1, 140);
    sheet_->Build();
    Show();
    const QImage shot = Shot();
    const QRect unused = Grid().CellRect(3, 155);
    const QRect used = Grid().CellRect(3, 149);
    ASSERT_FALSE(unused.isEmpty());
    int silver = 0;
    for (int y = unused.top(); y <= unused.bottom(); ++y)
        for (int x = unused.left(); x <= unused.right(); ++x)
            silver += shot.pixelColor(x, y) == QColor(0xC0, 0xC0, 0xC0);
    EXPECT_GT(silver, 3);
    EXPECT_EQ(InkIn(shot, used.adjusted(0, 0, 0, -2), Role(QPalette::Base)), 0);  // empty row
}

// ---- Printing: the same drawing onto a page.

class SheetPrintDraw : public SheetDraw {
protected:
    void SetUp() override {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        memory_ = std::make_unique<MemorySheet>(
            "", std::vector<std::string>{
                    "{WH(Color=clGray)}grey cell|{WH}plain cell|{WH(%CT_Null.CL_Dummy[0])}mark"});
        sheet_ = std::make_unique<cuiSheet>(main_.Core(), window_.get(), nullptr, 0, 0,
                                            memory_->Dictionary(), "T", &images_);
        Prepare(*sheet_);
        sheet_->SetPrinter(&printer_);
        sheet_->Build();
        Show();
    }
    // A cell drawn as the print code draws it: onto its own painter.
    QImage Printed(int col) {
        const QSize size(Grid().ColumnWidth(col), Grid().RowHeight(0));
        QImage page(size, QImage::Format_RGB32);
        page.fill(QColor(255, 0, 255));
        QPainter painter(&page);
        sheet_->DrawCell(painter, col, 0, QRect(QPoint(0, 0), size));
        return page;
    }
    static std::set<QRgb> Colours(const QImage& image) {
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y) & 0xFFFFFF);
        return colours;
    }
    QPrinter printer_{QPrinter::ScreenResolution};
};

TEST_F(SheetPrintDraw, AColouredCellPrintsWhiteOnDarkGrey) {
    EXPECT_EQ(sheet_->Scale(), 1);
    const QImage grey = Printed(0);
    EXPECT_EQ(grey.pixel(1, 1) & 0xFFFFFF, 0x606060u);
    EXPECT_TRUE(Colours(grey).count(0xFFFFFF));  // the text
}

TEST_F(SheetPrintDraw, AWindowCellPrintsBlackOnThePaper) {
    const QImage plain = Printed(1);
    EXPECT_EQ(plain.pixel(1, 1) & 0xFFFFFF, 0xFF00FFu);  // no fill: the paper shows
    EXPECT_TRUE(Colours(plain).count(0x000000));
}

TEST_F(SheetPrintDraw, OnPaperTooTheMarkStaysBesideTheText) {
    memory_ = std::make_unique<MemorySheet>(
        "", std::vector<std::string>{
                "{WH>(%CT_Null.CL_Dummy[2])}2182.0|{WH>(%CT_Null.CL_Dummy[3])}2182.0"});
    sheet_ = std::make_unique<cuiSheet>(main_.Core(), window_.get(), nullptr, 0, 0,
                                        memory_->Dictionary(), "T", &images_);
    Prepare(*sheet_);
    sheet_->SetPrinter(&printer_);
    sheet_->Build();
    Show();
    override_ = &RightEdgeMarkBehaviour;
    const QImage text = Printed(0);
    const QImage none = Printed(1);
    const int s = text.height() / 2;
    const QRect mark(text.width() - s - 1, 0, s + 1, text.height());
    EXPECT_GT(DarkIn(text, mark), 10);
    EXPECT_EQ(DarkIn(text, mark), DarkIn(none, mark));
    EXPECT_GT(DarkIn(text, QRect(0, 0, text.width() - s - 1, text.height())), 10);
}

TEST_F(SheetPrintDraw, MarksAreDrawnShapesInBlack) {
    auto blackPixels = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) == 0;
        return n;
    };
    const int withoutMark = blackPixels(Printed(2));
    override_ = &ErrorMarkBehaviour;
    const QImage marked = Printed(2);
    EXPECT_GT(blackPixels(marked), withoutMark + 10);
    for (QRgb c : Colours(marked)) {  // none of the screen images' colours
        const int r = qRed(c), g = qGreen(c), b = qBlue(c);
        EXPECT_FALSE(r > 150 && g < 90 && b < 90) << std::hex << c;
    }
}

// ---- Repaint events redraw exactly the cells they name.

struct RepaintCase {
    const char* name;
    cmcEvKind kind;
    int32_t value;
    // Which drawn cells may be redrawn: (label, argument) -> allowed.
    bool (*allowed)(int label, int argument);
    int atLeast;  // cells redrawn at the least
};

class SheetRepaint : public SheetTest, public ::testing::WithParamInterface<RepaintCase> {};

TEST_P(SheetRepaint, RedrawsTheCellsItNames) {
    Open("GI_Sheet_UserCh");
    QApplication::processEvents();
    Deliver();
    calls.clear();
    events_.PostEvent(GetParam().kind, 0, GetParam().value);
    Deliver();
    int drawn = 0;
    for (const Call& c : calls) {
        if (c.notify)
            continue;
        ++drawn;
        EXPECT_TRUE(GetParam().allowed(c.label, c.argument)) << c.label << " " << c.argument;
    }
    EXPECT_GE(drawn, GetParam().atLeast);
}

INSTANTIATE_TEST_SUITE_P(
    Events, SheetRepaint,
    ::testing::Values(
        RepaintCase{"Argument", cmcEvKind::RepaintArgument, 5, [](int, int a) { return a == 5; },
                    5},
        RepaintCase{"ArgumentAtMost", cmcEvKind::RepaintArgumentAtMost, 3,
                    [](int, int a) { return a <= 3; }, 15},
        RepaintCase{"Label", cmcEvKind::RepaintLabel, CL_UCh_Mode,
                    [](int l, int) { return l == CL_UCh_Mode; }, 20},
        RepaintCase{"Category", cmcEvKind::RepaintCategory, CT_UserCh,
                    [](int l, int) { return l >= CL_UCh_FreqR && l <= CL_UCh_Comment; }, 80},
        RepaintCase{"ArgumentAtLeast", cmcEvKind::RepaintArgumentAtLeast, 28,
                    [](int, int a) { return a >= 28; }, 5},
        RepaintCase{"All", cmcEvKind::RepaintAll, 0, [](int, int) { return true; }, 100}),
    [](const ::testing::TestParamInfo<RepaintCase>& info) { return info.param.name; });

struct MatchCase {
    const char* name;
    int category, label, argument, criteria;
    std::set<std::pair<int, int>> redrawn;  // (label, argument) of every cell redrawn
};

class SheetMatching : public SheetTest, public ::testing::WithParamInterface<MatchCase> {};

// Behaviours ask for repaints through their capsule's redraw callback with their own cell.
TEST_P(SheetMatching, RepaintsTheCellsTheCriteriaName) {
    const MatchCase& m = GetParam();
    Open("GI_Sheet_UserCh");
    QApplication::processEvents();
    calls.clear();
    cmcCellObj cell;
    cell.category = m.category;
    cell.label = m.label;
    cell.argument = m.argument;
    cmcCellCapsule probe;
    sheet_->FillCapsule(1, 1, probe);
    probe.cell = &cell;
    probe.redraw(probe.redrawData, probe, m.criteria);
    QApplication::processEvents();
    std::set<std::pair<int, int>> redrawn;
    for (const Call& c : calls)
        if (!c.notify)
            redrawn.insert({c.label, c.argument});
    EXPECT_EQ(redrawn, m.redrawn);
}

INSTANTIATE_TEST_SUITE_P(Criteria, SheetMatching,
                         ::testing::Values(MatchCase{"LabelAndArgument",
                                                     CT_UserCh,
                                                     CL_UCh_Mode,
                                                     4,
                                                     cuiSheet::kMatchLabelArgument,
                                                     {{CL_UCh_Mode, 4}}},
                                           MatchCase{"NeighbouringArguments",
                                                     CT_UserCh,
                                                     CL_UCh_Mode,
                                                     6,
                                                     cuiSheet::kMatchNearArgument,
                                                     {{CL_UCh_FreqR, 5},
                                                      {CL_UCh_FreqT, 5},
                                                      {CL_UCh_Mode, 5},
                                                      {CL_UCh_Comment, 5},
                                                      {CL_UCh_FreqR, 6},
                                                      {CL_UCh_FreqT, 6},
                                                      {CL_UCh_Mode, 6},
                                                      {CL_UCh_Comment, 6},
                                                      {CL_UCh_FreqR, 7},
                                                      {CL_UCh_FreqT, 7},
                                                      {CL_UCh_Mode, 7},
                                                      {CL_UCh_Comment, 7}}},
                                           MatchCase{"SameArgument",
                                                     CT_UserCh,
                                                     CL_UCh_Mode,
                                                     9,
                                                     cuiSheet::kMatchArgument,
                                                     {{CL_Misc_ChNo_0Base, 9},
                                                      {CL_UCh_FreqR, 9},
                                                      {CL_UCh_FreqT, 9},
                                                      {CL_UCh_Mode, 9},
                                                      {CL_UCh_Comment, 9}}},
                                           MatchCase{"SameArgumentNeedsAProbeCategory",
                                                     CT_None,
                                                     CL_UCh_Mode,
                                                     9,
                                                     cuiSheet::kMatchArgument,
                                                     {}}),
                         [](const ::testing::TestParamInfo<MatchCase>& info) {
                             return info.param.name;
                         });

TEST_F(SheetTest, ARepaintOfARowFarBelowTheViewDrawsNothing) {
    Open("GI_Sheet_UserCh");
    QApplication::processEvents();
    Deliver();
    calls.clear();
    events_.PostEvent(cmcEvKind::RepaintArgument, 0, 150);
    Deliver();
    EXPECT_TRUE(calls.empty());
}

}  // namespace
