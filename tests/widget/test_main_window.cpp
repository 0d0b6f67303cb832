// The main window as the program starts it: the real resource file, caption and font, where the
// window goes, the splitter, the status bar with its message and mark panels, closing, and the
// command line.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QImage>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "MainWindowFixture.h"
#include "app/cuiStatusPanels.h"
#include "app/cuiTransferProgress.h"
#include "app/indProgram.h"
#include "cells/cmcCellNames.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiToolBar.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/table/cuiSheetTable.h"

namespace {

TEST_F(MainWindowTest, StartsWithTheResourcesAndTheDefaultRadio) {
    Start();
    EXPECT_EQ(Title(), "Untitled - PQ-T590");
    // "GI_Form_Main_BasicCell": 9 points, at 96 pixels an inch 12 pixels.
    EXPECT_EQ(form_->font().pixelSize(), 12);
    EXPECT_EQ(form_->minimumSize(), QSize(TForm1::kMinWidth, TForm1::kMinHeight));
    EXPECT_FALSE(form_->windowIcon().isNull());

    QStringList menus;
    for (QAction* a : form_->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Port", "&Clone", "&Help"}));
    EXPECT_TRUE(main_->ToolBar()->IsVisible());
    EXPECT_EQ(main_->ToolBar()->ButtonCount(), 12);

    // The tree: the radio's name on the root, the root selected, no sheet yet (the root opens
    // none), no marks on the default radio.
    QTreeWidgetItem* root = main_->Tree()->FirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("T590 HF transceiver"));
    EXPECT_EQ(main_->Tree()->View()->currentItem(), root);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(main_->Sheet(), nullptr);

    // The working image is the initial clone file's, unmodified; the reference is its copy.
    cmcEeprom initial;
    ASSERT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), initial), 0);
    main_->Session().ImageLoaded(initial);
    EXPECT_FALSE(main_->Session().WorkingImage().IsDifferent(initial));
    EXPECT_FALSE(main_->Session().IsModified());
    EXPECT_FALSE(main_->Session().ReferenceImage().IsDifferent(initial));
    EXPECT_TRUE(main_->PeriodicTask().Interval() == cuiMain::kPeriodMs &&
                !main_->PeriodicTask().IsStopped());
    EXPECT_TRUE(host_->Messages().empty());
}

// ---- The title.

TEST_F(MainWindowTest, TheTitleIsTheFileNameThenTheProgram) {
    Start();
    EXPECT_EQ(Title(), "Untitled - PQ-T590");
    const std::string radio1 = MakeFile("radio1", "ONE");
    ASSERT_EQ(main_->OpenFile(radio1), 0);
    EXPECT_EQ(Title(), "radio1 - PQ-T590");
    EXPECT_FALSE(form_->isWindowModified());
    // An edit marks the title the platform's way; saving takes the mark off again.
    Edit();
    EXPECT_TRUE(form_->isWindowModified());
    EXPECT_EQ(form_->windowTitle(), QStringLiteral("radio1[*] - PQ-T590"));
    EXPECT_EQ(Title(), "radio1* - PQ-T590");
    Choose(CL_Menu_File_Save);
    EXPECT_FALSE(form_->isWindowModified());
    EXPECT_EQ(Title(), "radio1 - PQ-T590");
    Edit("AGAIN");
    EXPECT_EQ(Title(), "radio1* - PQ-T590");
    host_->QueueAnswer(HostAnswer::No);
    Choose(CL_Menu_File_New);
    EXPECT_EQ(Title(), "Untitled - PQ-T590");
    EXPECT_FALSE(form_->isWindowModified());
}

// ---- Where the window goes.

struct PlacementCase {
    const char* name;
    HostRect stored;
    HostRect placed;
};

class MainWindowPlacement : public MainWindowTest,
                            public ::testing::WithParamInterface<PlacementCase> {};

// A work area that does not start at the origin: a task bar on the left and one at the top.
constexpr HostRect kArea{40, 30, 1240, 994};

TEST_P(MainWindowPlacement, TheStoredBoundsStayReachableOnTheWorkArea) {
    host_->SetWorkArea(kArea);
    const HostRect s = GetParam().stored;
    Environ().windowLeft = s.left;
    Environ().windowTop = s.top;
    Environ().windowWidth = s.width;
    Environ().windowHeight = s.height;
    Environ().boundsStored = true;
    Start();
    const HostRect p = GetParam().placed;
    EXPECT_EQ(form_->pos(), QPoint(p.left, p.top));
    EXPECT_EQ(form_->size(), QSize(p.width, p.height));
}

INSTANTIATE_TEST_SUITE_P(
    Stored, MainWindowPlacement,
    ::testing::Values(
        PlacementCase{"Inside", {100, 100, 640, 480}, {100, 100, 640, 480}},
        // Entirely right of the screen: 16 pixels stay in view.
        PlacementCase{"RightOfTheScreen", {3000, 100, 640, 480}, {1264, 100, 640, 480}},
        PlacementCase{"LeftOfTheScreen", {-3000, 100, 640, 480}, {-584, 100, 640, 480}},
        // Above the work area: moved down to its top, title bar and all.
        PlacementCase{"AboveTheWorkArea", {100, -200, 640, 480}, {100, 30, 640, 480}},
        PlacementCase{"BelowTheScreen", {100, 3000, 640, 480}, {100, 1008, 640, 480}},
        // Smaller than the window may be: the smallest it may be.
        PlacementCase{"TooSmall", {100, 100, 50, 20}, {100, 100, 400, 200}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The first window: no bounds stored yet.

class FirstWindow : public MainWindowTest {
protected:
    // The window's frame lies on the work area.
    void ExpectOnWorkArea(HostRect area) {
        const QRect f = form_->frameGeometry();
        EXPECT_GE(f.left(), area.left);
        EXPECT_GE(f.top(), area.top);
        EXPECT_LE(f.left() + f.width(), area.left + area.width);
        EXPECT_LE(f.top() + f.height(), area.top + area.height);
    }
    // The captions the tree cuts short, every folder opened (and closed again afterwards).
    std::string CutCaptions() {
        QTreeWidget* view = main_->Tree()->View();
        view->expandAll();
        QCoreApplication::processEvents();
        QStringList cut;
        for (QTreeWidgetItemIterator it(view); *it; ++it) {
            const QModelIndex index = view->indexFromItem(*it);
            if (view->visualItemRect(*it).width() < view->sizeHintForIndex(index).width())
                cut << (*it)->text(0);
        }
        view->collapseAll();
        view->expand(view->indexFromItem(main_->Tree()->FirstNode()));
        return cut.join(QStringLiteral(", ")).toStdString();
    }
    // The sheets of the tree that need a horizontal scroll bar in the window as it is.
    std::string SheetsScrolledSideways() {
        QStringList scrolled;
        for (const cuiTreeSheet& s : cuiTreeSheets(*cmcGTex::Main())) {
            SelectNode(s.caption.c_str());
            QCoreApplication::processEvents();
            if (main_->Sheet() == nullptr ||
                main_->Sheet()->Grid()->horizontalScrollBar()->isVisible())
                scrolled << QString::fromStdString(s.caption);
        }
        return scrolled.join(QStringLiteral(", ")).toStdString();
    }
};

TEST_F(FirstWindow, ShowsTheTreesCaptionsAndEverySheetWholeOnALargeScreen) {
    const HostRect area = host_->WorkArea();  // 1280 x 1024
    Start();
    ExpectOnWorkArea(area);
    // Wider than the defaults' 800 x 600, which cut captions and scrolled Common settings.
    EXPECT_GT(form_->width(), 800);
    EXPECT_EQ(CutCaptions(), "");
    EXPECT_EQ(SheetsScrolledSideways(), "");
}

TEST_F(FirstWindow, ASmallScreenKeepsTheWindowOnTheWorkAreaAndTheCaptionsWhole) {
    const HostRect area{0, 24, 1024, 576};  // a netbook's screen below a top bar
    host_->SetWorkArea(area);
    Start();
    ExpectOnWorkArea(area);
    // Nine tenths of the work area at most, the frame's room left over.
    EXPECT_LE(form_->width(), 921);
    EXPECT_LE(form_->height(), 518);
    EXPECT_EQ(CutCaptions(), "");
}

TEST_F(FirstWindow, StoredBoundsAndTreeWidthWinAtTheNextStart) {
    Start();
    form_->move(60, 50);
    form_->resize(700, 500);
    main_->Splitter()->setSizes({150, 550});
    QCoreApplication::processEvents();
    ASSERT_TRUE(form_->close());
    Stop();
    Start();
    EXPECT_EQ(form_->pos(), QPoint(60, 50));
    EXPECT_EQ(form_->size(), QSize(700, 500));
    EXPECT_EQ(main_->LeftPanel()->width(), 150);
}

TEST_F(MainWindowTest, TheWindowCannotBeMadeSmallerThan400By200) {
    Start();
    form_->resize(100, 50);
    EXPECT_EQ(form_->size(), QSize(400, 200));
}

TEST_F(MainWindowTest, PositionAndTreeWidthAreKeptAtExit) {
    Start();
    form_->move(120, 90);
    form_->resize(900, 640);
    main_->Splitter()->setSizes({260, 600});
    QCoreApplication::processEvents();
    EXPECT_TRUE(form_->close());
    Stop();
    auto store = cmcSettingsStore::OnFile(SettingsPath());
    int32_t left = 0, top = 0, width = 0, height = 0, splitter = 0;
    ASSERT_TRUE(store->ReadInt("Window Position", "Left", left));
    ASSERT_TRUE(store->ReadInt("Window Position", "Top", top));
    ASSERT_TRUE(store->ReadInt("Window Position", "Width", width));
    ASSERT_TRUE(store->ReadInt("Window Position", "Height", height));
    ASSERT_TRUE(store->ReadInt("Window Position", "SplitterV", splitter));
    EXPECT_EQ(left, 120);
    EXPECT_EQ(top, 90);
    EXPECT_EQ(width, 900);
    EXPECT_EQ(height, 640);
    EXPECT_EQ(splitter, 260);
}

// ---- The splitter.

struct SplitterCase {
    int stored;
    int width;
};

class MainWindowSplitter : public MainWindowTest,
                           public ::testing::WithParamInterface<SplitterCase> {};

TEST_P(MainWindowSplitter, TheTreePanelIsNeverNarrowerThanEightPixels) {
    Environ().splitterV = GetParam().stored;
    Environ().boundsStored = true;
    Start();
    EXPECT_EQ(main_->LeftPanel()->width(), GetParam().width);
    // Dragging the splitter to the left edge stops at the same floor.
    main_->Splitter()->setSizes({0, 800});
    EXPECT_EQ(main_->LeftPanel()->width(), cuiMain::kMinPanelWidth);
}

INSTANTIATE_TEST_SUITE_P(Widths, MainWindowSplitter,
                         ::testing::Values(SplitterCase{-5, 8}, SplitterCase{0, 8},
                                           SplitterCase{8, 8}, SplitterCase{9, 9},
                                           SplitterCase{230, 230}),
                         [](const auto& info) {
                             const int s = info.param.stored;
                             return (s < 0 ? "minus" + std::to_string(-s) : std::to_string(s));
                         });

// ---- The status bar.

QColor PixelAt(QWidget* w, const QPoint& p) {
    return w->grab().toImage().pixelColor(p);
}

TEST_F(MainWindowTest, TheMessagePanelShowsEventFourInItsColours) {
    Start();
    cuiStatusPanels* panels = main_->StatusPanels();
    ASSERT_EQ(panels->Count(), 2);
    EXPECT_TRUE(panels->OwnerDrawn(cuiMain::kMessagePanel));
    EXPECT_FALSE(panels->OwnerDrawn(1));  // the plain panel: no mode is on
    EXPECT_EQ(main_->MarkPanel(), -1);
    events_.SendEventText(cmcEvKind::StatusMessage, kStatusTextAlert, int32_t(kStatusBackAlert),
                          "Channel 12 cleared");
    EXPECT_EQ(main_->MessageText(), "Channel 12 cleared");
    const QRect r = panels->PanelRect(cuiMain::kMessagePanel);
    // Maroon behind the text, yellow in it.
    EXPECT_EQ(PixelAt(panels, QPoint(r.right() - 2, r.top() + 1)), QColor(0x80, 0, 0));
    const QImage image = panels->grab().toImage();
    bool yellow = false;
    for (int x = r.left(); x < r.left() + 120 && !yellow; ++x)
        for (int y = r.top(); y <= r.bottom() && !yellow; ++y)
            yellow = image.pixelColor(x, y) == QColor(0xFF, 0xFF, 0);
    EXPECT_TRUE(yellow);
}

TEST_F(MainWindowTest, TheMessagePanelKeepsAHundredPixelsInANarrowWindow) {
    Start({"/expert", "/gene"});
    cuiStatusPanels* panels = main_->StatusPanels();
    form_->resize(TForm1::kMinWidth, 300);
    QCoreApplication::processEvents();
    panels->resize(150, panels->height());  // narrower than the window can be
    EXPECT_EQ(panels->PanelWidth(cuiMain::kMessagePanel), cuiMain::kMinMessageWidth);
    panels->resize(600, panels->height());
    EXPECT_EQ(panels->PanelWidth(cuiMain::kMessagePanel), 600 - panels->PanelWidth(1));
}

struct ModeCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* mark;  // "": no mark panel
    bool expert;
    bool gene;
};

class MainWindowModes : public MainWindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(MainWindowModes, TheMarkPanelShowsTheModesWhiteOnTeal) {
    const ModeCase& c = GetParam();
    Start(c.arguments);
    EXPECT_EQ(main_->Session().ExpertMode(), c.expert);
    EXPECT_EQ(main_->Session().GeneralCoverageMode(), c.gene);
    EXPECT_EQ(main_->Session().MarkText(), c.mark);
    cuiStatusPanels* panels = main_->StatusPanels();
    if (std::string(c.mark).empty()) {
        EXPECT_EQ(main_->MarkPanel(), -1);
        EXPECT_FALSE(panels->OwnerDrawn(1));
        return;
    }
    ASSERT_EQ(main_->MarkPanel(), 1);
    const QFontMetrics metrics(panels->font());
    EXPECT_EQ(panels->PanelWidth(1), metrics.horizontalAdvance(QString::fromLatin1(c.mark)) +
                                         metrics.horizontalAdvance(QStringLiteral("XX")));
    const QRect r = panels->PanelRect(1);
    const QImage image = panels->grab().toImage();
    EXPECT_EQ(image.pixelColor(r.left() + 1, r.top() + 1), QColor(0, 0x80, 0x80));
    int white = 0;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            white += image.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_GT(white, 20);  // the text
    // The message panel takes the rest.
    EXPECT_EQ(panels->PanelWidth(0), std::max(panels->width() - panels->PanelWidth(1), 100));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, MainWindowModes,
    ::testing::Values(
        ModeCase{"None", {}, "", false, false},
        ModeCase{"ExpertInCapitalsAndGene", {"/EXPERT", "/gene"}, "[ EXPERT ][ GENE ]", true, true},
        ModeCase{"GeneOnly", {"/Gene"}, "[ GENE ]", false, true},
        ModeCase{"GivenTwice", {"/gene", "/gene"}, "[ GENE ][ GENE ]", false, true},
        ModeCase{"OthersIgnored", {"--expert", "radio.t590"}, "", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Start-up checks and the command line.

TEST(MainSelfCheck, AnImageTooSmallForTheMapIsFatal) {
    ScopedTestHost host;
    EXPECT_NO_THROW(cuiMain::SelfCheck(MemoryMap::kImageSize));
    EXPECT_NO_THROW(cuiMain::SelfCheck(cuiMain::kSelfCheckImageSize));
    EXPECT_THROW(cuiMain::SelfCheck(cuiMain::kSelfCheckImageSize - 1), cmcFatalError);
    ASSERT_EQ(host->Fatals().size(), 1u);
    EXPECT_EQ(host->Fatals()[0], "Self Check Error.\nEEPROM Map is too large.");
}

struct StartFileCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* file;
};

class StartFile : public ::testing::TestWithParam<StartFileCase> {};

TEST_P(StartFile, IsTheFirstArgumentThatIsNeitherASwitchNorAnOption) {
    EXPECT_EQ(indProgram::StartFile(GetParam().arguments), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartFile,
    ::testing::Values(
        StartFileCase{"None", {"pqt590"}, ""},
        StartFileCase{"OnlyTheProgram", {"/usr/bin/pqt590"}, ""},
        StartFileCase{"AFile", {"pqt590", "radio.t590"}, "radio.t590"},
        // An absolute POSIX path begins with "/" like a switch, and is still a file.
        StartFileCase{
            "AnAbsolutePath", {"pqt590", "/home/ship/radio.t590"}, "/home/ship/radio.t590"},
        StartFileCase{"AfterTheSwitches", {"pqt590", "/EXPERT", "/gene", "a.t590"}, "a.t590"},
        StartFileCase{"TheFirstOfTwo", {"pqt590", "a.t590", "b.t590"}, "a.t590"},
        StartFileCase{"OptionsAreNoFiles", {"pqt590", "--expert", "-x", "c.t590"}, "c.t590"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AFileNamedOnTheCommandLineOpensAsFileOpenWouldOpenIt) {
    const std::string file = MakeFile("ship.t590", "SHIP");
    Start({"/expert", file});
    // main() opens it once the window is up.
    ASSERT_EQ(main_->OpenFile(indProgram::StartFile({"pqt590", "/expert", file})), 0);
    EXPECT_EQ(WorkingComment(), "SHIP");
    EXPECT_EQ(Title(), "ship.t590 - PQ-T590");
    EXPECT_EQ(main_->Session().RecentFileText(0, true), file);
}

// ---- Closing.

TEST_F(MainWindowTest, ClosingAsksAboutUnsavedChangesAndCancelKeepsTheWindow) {
    Start();
    EXPECT_TRUE(form_->close());  // nothing unsaved: no question
    EXPECT_EQ(Questions(), 0);
    Stop();
    Start();
    Edit();
    host_->QueueAnswer(HostAnswer::Cancel);
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(Questions(), 1);
    EXPECT_TRUE(form_->isVisible());
    host_->QueueAnswer(HostAnswer::No);
    EXPECT_TRUE(form_->close());
    EXPECT_EQ(Questions(), 2);
    EXPECT_EQ(main_->Sheet(), nullptr);
    EXPECT_EQ(main_->Tree(), nullptr);
    EXPECT_TRUE(main_->PeriodicTask().IsStopped());
}

TEST_F(MainWindowTest, ClosingIsRefusedWithoutAQuestionWhileTheWindowIsDisabled) {
    Start();
    Edit();
    main_->Progress()->SetMainWindowEnabled(false);  // as the clone manager does
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(Questions(), 0);
    main_->Progress()->SetMainWindowEnabled(true);
    host_->QueueAnswer(HostAnswer::No);
    EXPECT_TRUE(form_->close());
}

}  // namespace
