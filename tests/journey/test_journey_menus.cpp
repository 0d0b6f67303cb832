// Journeys through the menus and the tool bar: files (new, open, the recent files), the view
// (font sizes, tool bar), the ports and the device of a COM number, help, and in expert mode the
// Debug menu's windows, each taking keys and closing.
#include <QDesktopServices>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QUrl>

#include "Journey.h"
#include "app/cuiDebugCompare.h"
#include "cells/cmcCellNames.h"
#include "memory/MemoryMap.h"
#include "memory/cmcCloneFile.h"
#include "profile/FileCommands.h"
#include "ui/windows/cuiDebugWin.h"
#include "ui/windows/cuiEeDebugWin.h"
#include "ui/windows/cuiFBitsR.h"

namespace {

// Notes the pages the desktop would be asked to open, instead of opening them.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

class MenuJourney : public Journey {
protected:
    std::string CommentFile(const std::string& name, const std::string& comment) {
        cmcEeprom image;
        EXPECT_EQ(FileCommands::OpenCloneFile(ResourcePath("PQT590_Default.t590"), image), 0);
        std::string text = comment;
        text.resize(MemoryMap::kCommentLength, ' ');
        image.WriteBlock(MemoryMap::kComment, reinterpret_cast<const uint8_t*>(text.data()),
                         MemoryMap::kCommentLength);
        const std::string path = Path(name);
        EXPECT_EQ(FileCommands::SaveCloneFileSilently(path, image, {}), 0);
        return path;
    }
    // The comment of the open image as the Common settings sheet shows it.
    std::string ShownComment() {
        OpenNode(QStringLiteral("Common settings"));
        int col = 0, row = 0;
        if (!Find("Clone comment", &col, &row))
            return "(no comment row)";
        return Shown(col + 1, row);
    }
    template <typename W>
    static W* TopLevel() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(w); found && w->isVisible())
                return found;
        return nullptr;
    }
    static std::function<bool(const QAction*)> Cell(int label, int argument = -1) {
        return [label, argument](const QAction* a) {
            const cmcCellObj* cell = cuiMenu::CellOf(a);
            return cell && cell->label == label && (argument < 0 || cell->argument == argument);
        };
    }
};

TEST_F(MenuJourney, NewOpenAndTheRecentFiles) {
    Start();
    std::vector<std::string> files;
    for (int i = 1; i <= 10; ++i)
        files.push_back(
            CommentFile("ship" + std::to_string(i) + ".t590", "SHIP " + std::to_string(i)));
    // Ten files opened one after another (Ctrl+O, the name typed into the dialog).
    for (const std::string& f : files) {
        WhenFileDialog(f);
        Key(Qt::Key_O, Qt::ControlModifier);
        WaitForDialogs();
        ASSERT_TRUE(WaitUntil([&] {
            return Title().rfind(QFileInfo(QString::fromStdString(f)).fileName().toStdString(),
                                 0) == 0;
        })) << Title();
    }
    // Each recent file opens again from the File menu: the newest first.
    for (int k = 0; k < 10; ++k) {
        ChooseWhere({QStringLiteral("File")}, Cell(CL_Menu_File_Recent, k));
        const std::string name = "ship" + std::to_string(10 - k) + ".t590";
        ASSERT_TRUE(WaitUntil([&] { return Title().rfind(name, 0) == 0; })) << Title();
        // The list reorders: chosen again, that file is the newest; the next pick goes down one.
        Choose({QStringLiteral("File"), QStringLiteral("New")});
        ASSERT_TRUE(WaitUntil([&] { return Title() == "Untitled - PQ-T590"; }));
    }
    // A new image holds the initial file's comment, none of the ships'.
    EXPECT_EQ(ShownComment().find("SHIP"), std::string::npos);
    // The tool bar's Open and New do the same.
    WhenFileDialog(files[2]);
    Click(QStringLiteral("Open"));
    WaitForDialogs();
    EXPECT_TRUE(WaitUntil([&] { return Title().rfind("ship3.t590", 0) == 0; }));
    EXPECT_EQ(ShownComment(), "SHIP 3");
    Click(QStringLiteral("New"));
    EXPECT_TRUE(WaitUntil([&] { return Title() == "Untitled - PQ-T590"; }));
}

TEST_F(MenuJourney, FontSizesAndTheToolBar) {
    Start();
    OpenNode(QStringLiteral("User channels"));
    const int normal = Sheet()->Grid()->RowHeight(1);
    int previous = 0;
    for (int percent : {80, 100, 125, 150}) {
        ChooseWhere({QStringLiteral("View"), QStringLiteral("Font size")},
                    Cell(CL_Menu_View_FontSize, percent));
        ASSERT_TRUE(WaitUntil([this] { return Sheet() != nullptr; }));
        const int height = Sheet()->Grid()->RowHeight(1);
        EXPECT_GT(height, previous) << percent;
        if (percent == 100) {
            EXPECT_EQ(height, normal);
        }
        previous = height;
    }
    QToolBar* bar = Window().ToolBar()->Lines().front();
    ASSERT_TRUE(bar->isVisible());
    Choose({QStringLiteral("View"), QStringLiteral("Tool bar")});
    EXPECT_TRUE(WaitUntil([bar] { return !bar->isVisible(); }));
    Choose({QStringLiteral("View"), QStringLiteral("Tool bar")});
    EXPECT_TRUE(WaitUntil([bar] { return bar->isVisible(); }));
}

TEST_F(MenuJourney, EveryComPortAndTheDeviceOfOne) {
    Start();
    for (int com = 1; com <= 16; ++com) {
        if (com <= 4)
            ChooseWhere({QStringLiteral("Port")}, Cell(CL_Menu_Port_Com, com));
        else
            ChooseWhere({QStringLiteral("Port"), QStringLiteral("More ports")},
                        Cell(CL_Menu_Port_Com, com));
        // The chosen port carries the check mark.
        bool checked = false;
        for (const QAction* a : journey::MenuItems(*Form()->menuBar()))
            if (Cell(CL_Menu_Port_Com, com)(a))
                checked = a->isChecked();
        EXPECT_TRUE(checked) << "COM" << com;
    }
    ChooseWhere({QStringLiteral("Port")}, Cell(CL_Menu_Port_Com, 1));
    // Port › Device of COM1...: the device typed into the chooser is kept.
    WhenDialog([](QWidget* dialog) {
        QWidget* field = QApplication::focusWidget();
        ASSERT_TRUE(field && dialog->isAncestorOf(field));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, QStringLiteral("/dev/ttyUSB7"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    Choose({QStringLiteral("Port"), QStringLiteral("Device of COM1...")});
    WaitForDialogs();
    QSettings settings(QStringLiteral("Vexa"), QStringLiteral("PQ-T590"));
    EXPECT_EQ(settings.value(QStringLiteral("Ports/COM1")).toString(),
              QStringLiteral("/dev/ttyUSB7"));
}

TEST_F(MenuJourney, HelpContentsAndAbout) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Start();
    OpenNode(QStringLiteral("Band edges"));
    TabIntoSheet();
    Key(Qt::Key_F1);
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_TRUE(catcher.urls[0].toLocalFile().endsWith(QStringLiteral("PQT590_Help.html")));
    Choose({QStringLiteral("Help"), QStringLiteral("Contents")});
    EXPECT_EQ(catcher.urls.size(), 2u);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    // The About box comes up over the window, Return closes it, the sheet has the keys again.
    Choose({QStringLiteral("Help"), QStringLiteral("About PQ-T590...")});
    QDialog* about = nullptr;
    ASSERT_TRUE(WaitUntil([&about] {
        about = qobject_cast<QDialog*>(QApplication::activeWindow());
        return about != nullptr && about->isVisible();
    }));
    QTest::keyClick(about, Qt::Key_Return);
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
}

TEST_F(MenuJourney, TheDebugWindowsOfExpertModeOpenTakeKeysAndClose) {
    Start({"/expert"});
    // The memory window: Enter on a byte opens its bit editor, Space sets bit 7, Enter keeps it.
    Choose({QStringLiteral("Debug"), QStringLiteral("Memory window")});
    cuiEeDebugWin* memory = nullptr;
    ASSERT_TRUE(WaitUntil([&memory] { return (memory = TopLevel<cuiEeDebugWin>()) != nullptr; }));
    ASSERT_TRUE(WaitUntil([memory] { return memory->isActiveWindow(); }));
    cuiSheet* dump = memory->Sheet();
    ASSERT_NE(dump, nullptr);
    QWidget* grid = dump->Grid();
    grid->setFocus(Qt::TabFocusReason);
    QTest::keyClick(grid, Qt::Key_F4);  // the cursor moves on
    QTest::keyClick(grid, Qt::Key_F3);
    const int col = dump->CursorCol(), row = dump->CursorRow();
    cuiSheetTable table(Window().Core(), cuiEeDebugWin::kBaseName);
    const std::string before = table.Text(col, row);
    QTest::keyClick(grid, Qt::Key_Return);
    cuiFBitsR* bits = nullptr;
    ASSERT_TRUE(WaitUntil([&bits] { return (bits = TopLevel<cuiFBitsR>()) != nullptr; }));
    QWidget* bitGrid = bits->Sheet()->Grid();
    QTest::keyClick(bitGrid, Qt::Key_Space);
    QTest::keyClick(bitGrid, Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([] { return TopLevel<cuiFBitsR>() == nullptr; }));
    EXPECT_NE(table.Text(col, row), before) << "the bit edit changed nothing";
    Key(Qt::Key_Z, Qt::ControlModifier);  // the main window's undo takes it back
    QTest::keyClick(memory, Qt::Key_Escape);
    ASSERT_TRUE(WaitUntil([] { return TopLevel<cuiEeDebugWin>() == nullptr; }));

    // The trace window takes text and closes.
    Choose({QStringLiteral("Debug"), QStringLiteral("Trace window")});
    cuiDebugWin* trace = nullptr;
    ASSERT_TRUE(WaitUntil([&trace] { return (trace = TopLevel<cuiDebugWin>()) != nullptr; }));
    trace->TextArea()->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(trace->TextArea(), QStringLiteral("note"));
    EXPECT_TRUE(trace->TextArea()->toPlainText().contains(QStringLiteral("note")));
    trace->close();

    // The compare with the reference image comes up (a dialog of its own, answered before it
    // is opened) and closes with Escape; the main window has the keyboard again.
    bool compared = false;
    WhenDialog([&compared](QWidget* dialog) {
        compared = dynamic_cast<cuiDebugCompare*>(dialog) != nullptr;
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Choose({QStringLiteral("Debug"), QStringLiteral("Compare with the reference image")});
    WaitForDialogs();
    EXPECT_TRUE(compared);
    EXPECT_TRUE(WaitUntil([this] { return QApplication::activeWindow() == Form(); }));
}

}  // namespace

#include "test_journey_menus.moc"
