// Printing sheets: the page frame and margins in pixels, fitting the font, column groups that
// keep headings whole and repeat the fixed columns, page counts, print-all over the tree with
// folders and Cancel, and the product's own sheets into a PDF.
#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <set>

#include "GuiFixture.h"
#include "PrintTestSupport.h"
#include "cells/cmcCellObj.h"
#include "ui/print/cuiPrintEngine.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiImageList.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"

namespace {

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kDarkGrey = 0x606060;  // a coloured cell on paper

// A row of n cells "{WH}text".
std::string Row(int n, const std::string& text, const std::string& flags = "WH") {
    std::string row;
    for (int i = 0; i < n; ++i)
        row += (i ? "|{" : "{") + flags + "}" + text;
    return row;
}

class PrintEngine : public GuiFixture {
protected:
    // Keeps a printed page for a person to look at, when PQ_SHOT_DIR names a folder.
    static void Keep(const QImage& page, const std::string& name) {
        const QByteArray dir = qgetenv("PQ_SHOT_DIR");
        if (!dir.isEmpty())
            page.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') +
                      QString::fromStdString(name) + QStringLiteral(".png"));
    }
    // The sheet a reference names, built as the engine builds it, to read its sizes.
    std::unique_ptr<cuiSheet> Built(cmcGTex& dict, const std::string& reference,
                                    cuiPrintTarget& target, int fontHeight) {
        auto sheet = cuiCreateSheet(main_.Core(), &host_, reference, dict, &images_);
        sheet->SetPrinter(target.Device());
        sheet->SetPrintFontSize(fontHeight);
        sheet->Build();
        return sheet;
    }
    static int Width(const cuiSheet& s, int from, int to) {
        int w = 0;
        for (int c = from; c < to; ++c)
            w += s.Grid()->ColumnWidth(c);
        return w;
    }

    cuiImageList images_ = cuiImageList::TreeImages();
    QWidget host_;
};

// ---- The page frame and the margins, as pixels of a 600 dpi page.

TEST_F(PrintEngine, TenMillimetreMarginsAndAFiftyPixelFrameFontAt600Dpi) {
    PrintDictionary dict({"10,10,10,10", 9, 6});  // 6 points at 600 dpi: 50 pixels
    std::vector<std::string> cells{"{($Head)}Head"};
    for (int i = 0; i < 40; ++i)
        cells.push_back("{WH(Color=clGray)}row");
    dict.Sheet("T", "(TitleString=Title)(FixedRows=1)", cells);
    ImagePages target(1600, 1400, 600);
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.BeginDocument();
    ASSERT_GE(engine.PrintSheet("T"), 1);
    ASSERT_TRUE(engine.EndDocument());

    const cuiPrintRect p = engine.PageRect();
    EXPECT_EQ(p, (cuiPrintRect{236, 236, 1363, 1163}));
    const cuiPageFrame frame = engine.Frame();
    EXPECT_EQ(frame.content.top, p.top + 86);
    EXPECT_EQ(frame.content.bottom, p.bottom - 86);

    const QImage& page = target.Page(0);
    Keep(page, "print_frame_600dpi");
    const int mid = 800;  // no text crosses the middle of the frame lines
    // The top bar: a = 6 rows of black, from P.top + h + a.
    for (int y = 292; y < 298; ++y)
        EXPECT_EQ(page.pixel(mid, y) & 0xFFFFFF, kBlack) << y;
    EXPECT_EQ(page.pixel(mid, 291) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(mid, 298) & 0xFFFFFF, 0xFFFFFFu);
    // The bottom bar ends h + a above P.bottom.
    for (int y = 1163 - 56 - 6; y < 1163 - 56; ++y)
        EXPECT_EQ(page.pixel(mid, y) & 0xFFFFFF, kBlack) << y;
    EXPECT_EQ(page.pixel(mid, 1163 - 56) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(mid, 1163 - 63) & 0xFFFFFF, 0xFFFFFFu);
    // The header cell (dark on paper) begins exactly at the content's top-left corner.
    EXPECT_EQ(page.pixel(236, 322) & 0xFFFFFF, kDarkGrey);
    EXPECT_EQ(page.pixel(236, 321) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(235, 330) & 0xFFFFFF, 0xFFFFFFu);
    // The rows stop within the content rectangle, and the page is full.
    auto built = Built(*dict, "T", target, -75);
    const int headH = built->Grid()->RowHeight(0), rowH = built->Grid()->RowHeight(1);
    const int rows = int(engine.Pages().front().rows.size());
    int lowest = 0;
    for (int y = 322; y < page.height(); ++y)
        if ((page.pixel(240, y) & 0xFFFFFF) == kDarkGrey)
            lowest = y;
    EXPECT_EQ(lowest + 1, 322 + headH + (rows - 1) * rowH);
    EXPECT_LE(lowest + 1, frame.content.bottom);
    EXPECT_GT(lowest + 1 + rowH, frame.content.bottom);
    // The title on the left, the revision text on the right, the maker at the bottom right; the
    // margins stay clean (but for the antialiased edge of a glyph that begins on P.left).
    EXPECT_GT(CountInk(page, QRect(236, 236, 200, 56)), 50);
    EXPECT_GT(CountInk(page, QRect(1163, 236, 200, 56)), 50);
    EXPECT_GT(CountInk(page, QRect(1163, 1163 - 51, 200, 51)), 50);
    EXPECT_EQ(CountInk(page, QRect(0, 0, page.width(), 236)), 0);
    EXPECT_EQ(CountInk(page, QRect(0, 0, 235, page.height())), 0);
    EXPECT_EQ(CountInk(page, QRect(0, 298, 236, page.height() - 298)), 0);
    EXPECT_EQ(CountInk(page, QRect(1363, 0, page.width() - 1363, page.height())), 0);
}

// ---- Fitting the font.

TEST_F(PrintEngine, ABlockTwiceAsWideIsPrintedAtHalfTheFontAfterOneRebuild) {
    PrintDictionary dict({"0,0,0,0", 9, 8});
    const std::string text(90, 'W');
    dict.Sheet("T", "", {"{WH}" + text});
    // At 240 dpi the print font is 30 pixels high; find the widths at 30 and at 15 pixels, and a
    // page about half as wide as the block on which the block at 15 pixels fits.
    ImagePages measure(100, 100, 240);
    const int full = Built(*dict, "T", measure, -30)->Grid()->ColumnWidth(0);
    const int half = Built(*dict, "T", measure, 15)->Grid()->ColumnWidth(0);
    const int pageWidth = (half + full * 16 / 30) / 2;  // fits at 15, still trunc(30 s) == 15
    ASSERT_LT(half, pageWidth);
    ASSERT_LT(pageWidth * 30, full * 16);
    ASSERT_GE(pageWidth * 30, full * 15);

    ImagePages target(pageWidth, 600, 240);
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.BeginDocument();
    EXPECT_EQ(engine.SheetFontHeight(), -30);
    EXPECT_EQ(engine.PrintSheet("T"), 1);
    engine.EndDocument();
    ASSERT_EQ(engine.Sheets().size(), 1u);
    EXPECT_EQ(engine.Sheets()[0].rebuilds, 1);
    EXPECT_EQ(engine.Sheets()[0].fontHeight, 15);
    EXPECT_EQ(engine.Pages()[0].fontHeight, 15);
}

TEST_F(PrintEngine, ABlockThatNeverFitsIsPrintedAfterThreeRebuilds) {
    PrintDictionary dict({"0,0,0,0", 9, 8});
    // One heading over ten columns: no page break is allowed, and the columns' margins of 8
    // pixels each stay whatever the font.
    std::string heading = "{WH}a";
    for (int i = 0; i < 9; ++i)
        heading += "|{WH+}";
    dict.Sheet("T", "(FixedRows=1)", {heading, Row(10, "b")});
    ImagePages target(40, 400, 120);
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.BeginDocument();
    EXPECT_GE(engine.PrintSheet("T"), 1);
    engine.EndDocument();
    EXPECT_EQ(engine.Sheets()[0].rebuilds, 3);
    EXPECT_GE(engine.Sheets()[0].fontHeight, 1);
}

// ---- Column groups.

TEST_F(PrintEngine, AHeadingColumnNeverBeginsAPageAndFixedColumnsAreOnEveryPage) {
    PrintDictionary dict({"0,0,0,0", 9, 8});
    // Column 0 is fixed; the headings "Receive" and "Transmit" span two columns each.
    std::vector<std::string> cells{
        "{WH(Color=clGray)}Ch|{WH}Receive|{WH+}|{WH}Transmit|{WH+}|{WH}Note",
        "{WH(Color=clGray)}Ch|" + Row(5, "12345.6")};
    for (int i = 0; i < 5; ++i)
        cells.push_back("{WH(Color=clGray)}1|" + Row(5, "12345.6"));
    dict.Sheet("T", "(FixedCols=1)(FixedRows=2)", cells);
    ImagePages measure(100, 100, 120);
    auto built = Built(*dict, "T", measure, -15);
    // Room for the fixed column and three of the value columns.
    const int pageWidth = Width(*built, 0, 4) + 2;
    ImagePages target(pageWidth, 400, 120);
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.BeginDocument();
    const int pages = engine.PrintSheet("T");
    engine.EndDocument();
    ASSERT_GE(pages, 2);
    ASSERT_EQ(target.pages.size(), size_t(pages));
    std::vector<int> printed;
    for (int i = 0; i < pages; ++i) {
        const cuiPrintEngine::Page& page = engine.Pages()[size_t(i)];
        ASSERT_GE(page.columns.size(), 2u);
        EXPECT_EQ(page.columns[0], 0) << "page " << i;
        const int first = page.columns[1];
        EXPECT_FALSE(built->CellAt(first, 0).layout & cmcCellObj::kJoinLeft)
            << "page " << i << " begins with column " << first;
        printed.insert(printed.end(), page.columns.begin() + 1, page.columns.end());
        // The fixed column's dark cells are drawn at the left edge of every page.
        EXPECT_EQ(target.Page(size_t(i)).pixel(1, page.content.top + 1) & 0xFFFFFF, kDarkGrey)
            << "page " << i;
    }
    EXPECT_EQ(printed, (std::vector<int>{1, 2, 3, 4, 5}));
    // Receive (1, 2) fits with room to spare for 3 but Transmit (3, 4) goes whole to page 2.
    EXPECT_EQ(engine.Pages()[0].columns, (std::vector<int>{0, 1, 2}));
}

// ---- Drawing cells on the page.

TEST_F(PrintEngine, AHeadingOverPlusCellsIsDrawnOnceAcrossThem) {
    // The same heading, once spread over "+" cells and once cut off at its own narrow column:
    // inside that column both must be the very same pixels (drawn once, not once per cell).
    PrintDictionary dict({"0,0,0,0", 9, 8});
    dict.Sheet("S", "", {"{H}Heading over three|{H+}|{H+}", Row(3, "abc")})
        .Sheet("P", "", {"{H}Heading over three|{H}|{H}", Row(3, "abc")});
    std::vector<QImage> pages;
    std::vector<cuiPrintRect> content;
    for (const char* ref : {"S", "P"}) {
        ImagePages target(600, 300, 240);
        cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
        engine.BeginDocument();
        ASSERT_EQ(engine.PrintSheet(ref), 1);
        engine.EndDocument();
        pages.push_back(target.Page(0));
        content.push_back(engine.Pages()[0].content);
    }
    ImagePages measure(100, 100, 240);
    auto built = Built(*dict, "P", measure, -30);
    const int col0 = built->Grid()->ColumnWidth(0), row0 = built->Grid()->RowHeight(0);
    const QRect first(content[0].left, content[0].top, col0, row0);
    const QRect rest(first.right() + 1, first.top(), Width(*built, 1, 3), row0);
    ASSERT_GT(CountInk(pages[0], first), 20);
    EXPECT_EQ(pages[0].copy(first), pages[1].copy(first));
    EXPECT_GT(CountInk(pages[0], rest), 20);  // the heading goes on over the "+" cells
    EXPECT_EQ(CountInk(pages[1], rest), 0);
}

TEST_F(PrintEngine, ARuleOnPaperIsAsThickAsAScreenPixelIs) {
    PrintDictionary dict({"0,0,0,0", 9, 8});
    dict.Sheet("T", "", {"{WHB}ruled", "{WH}plain"});
    ImagePages target(800, 600, 600);  // scale 5
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.BeginDocument();
    ASSERT_EQ(engine.PrintSheet("T"), 1);
    engine.EndDocument();
    ImagePages measure(100, 100, 600);
    auto built = Built(*dict, "T", measure, engine.SheetFontHeight());
    const int bottom = engine.Pages()[0].content.top + built->Grid()->RowHeight(0);
    const QImage& page = target.Page(0);
    for (int y = bottom - 5; y < bottom; ++y)
        EXPECT_EQ(page.pixel(2, y) & 0xFFFFFF, kBlack) << y;
    EXPECT_EQ(page.pixel(2, bottom - 6) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(2, bottom) & 0xFFFFFF, 0xFFFFFFu);
}

// ---- Page counts.

struct CountCase {
    const char* name;
    int rows;
    int columns;
    bool printable;
    int rowsPerPage;     // data rows that fit beside the fixed row
    int columnsPerPage;  // data columns that fit beside the fixed column
};

class PrintPageCount : public PrintEngine, public ::testing::WithParamInterface<CountCase> {};

TEST_P(PrintPageCount, IsRowGroupsTimesColumnGroups) {
    const CountCase& c = GetParam();
    PrintDictionary dict({"0,0,0,0", 9, 8});
    std::vector<std::string> cells{"{WH}#|" + Row(c.columns, "Head")};
    for (int i = 0; i < c.rows; ++i)
        cells.push_back("{WH}1|" + Row(c.columns, "X1234"));
    dict.Sheet("T", std::string("(FixedCols=1)(FixedRows=1)") + (c.printable ? "" : "(NoPrint)"),
               cells);
    ImagePages measure(100, 100, 120);
    auto built = Built(*dict, "T", measure, -15);
    const cuiGrid& g = *built->Grid();
    ASSERT_EQ(g.ColumnWidth(1), g.ColumnWidth(2));
    // A page on which exactly the case's numbers fit (with a pixel to spare).
    const int fixedW = g.ColumnWidth(0), colW = g.ColumnWidth(1);
    const int fixedH = g.RowHeight(0), rowH = g.RowHeight(1);
    const cuiPageFrame frame = cuiFrameOf({0, 0, 0, 0}, cuiFontHeightForPoints(8, 120));
    const int extraH = frame.content.top - frame.content.bottom;  // the frame's share
    ImagePages target(fixedW + c.columnsPerPage * colW + 1,
                      extraH + fixedH + c.rowsPerPage * rowH + 1, 120);
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.BeginDocument();
    const int pages = engine.PrintSheet("T");
    engine.EndDocument();

    const int rowGroups = (c.rows + c.rowsPerPage - 1) / c.rowsPerPage;
    const int colGroups = (c.columns + c.columnsPerPage - 1) / c.columnsPerPage;
    const int expected = c.printable ? rowGroups * colGroups : 0;
    EXPECT_EQ(pages, expected);
    EXPECT_EQ(int(target.pages.size()), expected);
    EXPECT_EQ(engine.Sheets()[0].rebuilds, 0);
    // Every data cell is on exactly one page, with the fixed row and column.
    std::multiset<std::pair<int, int>> seen;
    for (const cuiPrintEngine::Page& p : engine.Pages()) {
        EXPECT_EQ(p.rows.front(), 0);
        EXPECT_EQ(p.columns.front(), 0);
        for (std::size_t i = 1; i < p.columns.size(); ++i)
            for (std::size_t j = 1; j < p.rows.size(); ++j)
                seen.insert({p.columns[i], p.rows[j]});
    }
    EXPECT_EQ(seen.size(), c.printable ? size_t(c.rows * c.columns) : 0u);
    const std::set<std::pair<int, int>> distinct(seen.begin(), seen.end());
    EXPECT_EQ(distinct.size(), seen.size());
}

INSTANTIATE_TEST_SUITE_P(Sheets, PrintPageCount,
                         ::testing::Values(CountCase{"OnePage", 5, 2, true, 10, 3},
                                           CountCase{"ThreePagesDown", 25, 2, true, 10, 3},
                                           CountCase{"TwoDownTwoAcross", 12, 5, true, 10, 3},
                                           CountCase{"ExactlyFull", 20, 6, true, 10, 3},
                                           CountCase{"NoPrintGivesNone", 25, 5, false, 10, 3}),
                         [](const auto& info) { return info.param.name; });

// ---- Every sheet of the tree.

class PrintAll : public PrintEngine {
protected:
    PrintAll() : dict_({"0,0,0,0", 9, 8}) {
        std::vector<std::string> tall{"{WH}Head"};
        for (int i = 0; i < 30; ++i)
            tall.push_back("{WH}row");
        dict_.Sheet("A", "", tall)
            .Sheet("B", "", {"{WH}b"})
            .Sheet("N", "(NoPrint)", {"{WH}n"})
            .Sheet("C", "", {"{WH}c"})
            .Tree({"+Radio{(ImageIndex=0)}", " +Folder{(ImageIndex=1)}",
                   "  +Sheet A{(ImageIndex=2)(%CallSheet:A)}", " +Empty folder{(ImageIndex=1)}",
                   "  +Sheet B{(ImageIndex=2)(%CallSheet:B)}", " +Not printed{(%CallSheet:N)}",
                   "  +Sheet C{(ImageIndex=2)(%CallSheet:C)}"});
    }
    // Steps until print-all ends; the number of steps.
    static int Run(cuiPrintEngine& engine) {
        int steps = 0;
        while (engine.AllActive() && steps < 100) {
            engine.PrintStep();
            ++steps;
        }
        return steps;
    }
    static std::vector<std::string> Visited(const cuiPrintEngine& engine) {
        std::vector<std::string> refs;
        for (const cuiPrintEngine::Sheet& s : engine.Sheets())
            refs.push_back(s.reference);
        return refs;
    }
    PrintDictionary dict_;
};

TEST_F(PrintAll, PrintsTheSheetNodesInTreeOrderOneNodePerStep) {
    ImagePages target(300, 200, 120);
    cuiPrintEngine engine(main_.Core(), *dict_, &images_, target);
    engine.StartAll();
    EXPECT_EQ(engine.NodeCount(), 7);
    EXPECT_EQ(Run(engine), 7);
    EXPECT_EQ(Visited(engine), (std::vector<std::string>{"A", "B", "N", "C"}));
    const int pagesOfA = engine.Sheets()[0].pages;
    EXPECT_GE(pagesOfA, 2);
    EXPECT_EQ(engine.Sheets()[2].pages, 0);  // NoPrint
    EXPECT_EQ(engine.PagesPrinted(), pagesOfA + 2);
    // One document, a page break between all pages.
    EXPECT_EQ(target.starts, 1);
    EXPECT_EQ(target.newPages, engine.PagesPrinted() - 1);
    EXPECT_EQ(target.finishes, 1);
    EXPECT_FALSE(engine.Failed());
    std::vector<std::string> order;
    for (const cuiPrintEngine::Page& p : engine.Pages())
        order.push_back(p.reference);
    EXPECT_EQ(order.back(), "C");
    EXPECT_EQ(order[size_t(pagesOfA)], "B");
}

void CancelAfterFirstPage(void* engine, int pages) {
    if (pages == 1)
        static_cast<cuiPrintEngine*>(engine)->RequestCancel();
}

TEST_F(PrintAll, CancelStopsThePagesButEveryNodeIsStillVisited) {
    ImagePages target(300, 200, 120);
    cuiPrintEngine engine(main_.Core(), *dict_, &images_, target);
    engine.SetPageCallback(&CancelAfterFirstPage, &engine);
    engine.StartAll();
    EXPECT_EQ(Run(engine), 7);
    EXPECT_EQ(engine.PagesPrinted(), 1);
    EXPECT_EQ(target.pages.size(), 1u);
    EXPECT_EQ(Visited(engine), (std::vector<std::string>{"A", "B", "N", "C"}));
    for (std::size_t i = 1; i < engine.Sheets().size(); ++i)
        EXPECT_EQ(engine.Sheets()[i].pages, 0);
    EXPECT_EQ(target.finishes, 1);  // the document still ends normally
    EXPECT_FALSE(engine.AllActive());
}

TEST_F(PrintAll, NothingPrintableStartsNoDocument) {
    PrintDictionary dict({"0,0,0,0", 9, 8});
    dict.Sheet("N", "(NoPrint)", {"{WH}n"}).Tree({"+Folder", " +N{(%CallSheet:N)}"});
    ImagePages target(300, 200, 120);
    cuiPrintEngine engine(main_.Core(), *dict, &images_, target);
    engine.StartAll();
    Run(engine);
    EXPECT_EQ(engine.PagesPrinted(), 0);
    EXPECT_EQ(target.starts, 0);  // no blank page
    EXPECT_TRUE(target.pages.empty());
}

// ---- The product's sheets, into a PDF.

TEST_F(PrintEngine, EverySheetOfTheProductPrintsIntoOnePdf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("all.pdf"));
    int pages = 0;
    {
        QPdfWriter writer(path);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        cuiPagedTarget target(writer);
        cuiPrintEngine engine(main_.Core(), dict_, &images_, target);
        engine.StartAll();
        while (engine.AllActive())
            engine.PrintStep();
        EXPECT_FALSE(engine.Failed());
        pages = engine.PagesPrinted();
        int sheets = 0;
        for (const cuiPrintEngine::Sheet& s : engine.Sheets()) {
            sheets += s.printable;
            if (s.printable) {
                EXPECT_GE(s.pages, 1) << s.reference;
            }
        }
        EXPECT_GE(sheets, 10);
        EXPECT_GT(pages, sheets);  // the user channels take more than one page
        // A4 at 600 dpi with 15 mm margins: the page rectangle of the product's margins.
        EXPECT_EQ(engine.PageRect().left, 354);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n"), pages);
}

}  // namespace
