// Journeys with tables: a sheet exported, the CSV edited as in a spreadsheet, imported back,
// compared with the saved file (a double click on a difference shows that cell), the import
// undone.
#include <QFile>

#include "Journey.h"
#include "app/cuiCompareWindow.h"

namespace {

constexpr int kRx = 1;

class TableJourney : public Journey {
protected:
    static QByteArray Read(const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void Write(const std::string& path, const QByteArray& bytes) {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // The message of the next box, answered with Return.
    std::string ReportOf(const std::vector<QString>& menu) {
        std::string text;
        WhenMessage(Qt::Key_Return, &text);
        Choose(menu);
        WaitForDialogs();
        return text;
    }
};

TEST_F(TableJourney, ExportEditImportCompareAndUndo) {
    Start();
    // A saved file to compare with later: the program's start image as it is.
    const std::string saved = Path("ship.t590");
    WhenFileDialog(saved);
    Choose({QStringLiteral("File"), QStringLiteral("Save as...")});
    WaitForDialogs();
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(QString::fromStdString(saved)); }));

    OpenNode(QStringLiteral("User channels"));
    TabIntoSheet();
    const std::string csv = Path("user-channels.csv");
    WhenFileDialog(csv);
    Choose({QStringLiteral("File"), QStringLiteral("Export sheet...")});
    WaitForDialogs();
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(QString::fromStdString(csv)); }));
    QByteArray table = Read(csv);
    ASSERT_TRUE(table.contains("\r\n2,,,,\r\n")) << table.left(120).toStdString();

    // Channel 2 gets a frequency and a comment (of the eight characters a comment holds) in
    // the spreadsheet; its transmit side follows the receive side, written as the sheet shows it.
    table.replace("\r\n2,,,,\r\n", "\r\n2,8291.0,<-,USB,BAYRADIO\r\n");
    Write(csv, table);
    WhenFileDialog(csv);
    std::string report;
    WhenMessage(Qt::Key_Return, &report);
    Choose({QStringLiteral("File"), QStringLiteral("Import sheet...")});
    WaitForDialogs();
    EXPECT_NE(report.find("0 refused"), std::string::npos) << report;
    ASSERT_TRUE(WaitUntil([this] { return Sheet() != nullptr; }));
    EXPECT_EQ(Shown(kRx, 2), "8291.0");
    EXPECT_EQ(Shown(4, 2), "BAYRADIO");
    EXPECT_EQ(Title(), "ship.t590* - PQ-T590");  // changed since it was saved

    // Compare with the saved file: the two cells and more of channel 2 differ.
    WhenFileDialog(saved);
    Choose({QStringLiteral("File"), QStringLiteral("Compare with file...")});
    WaitForDialogs();
    cuiCompareWindow* window = nullptr;
    ASSERT_TRUE(WaitUntil([&window] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if ((window = qobject_cast<cuiCompareWindow*>(w)) && w->isVisible())
                return true;
        return false;
    }));
    const auto& differences = window->Comparison().differences;
    ASSERT_FALSE(differences.empty());
    size_t rxLine = differences.size();
    for (size_t i = 0; i < differences.size(); ++i)
        if (differences[i].col == kRx && differences[i].row == 2 &&
            differences[i].reference == "GI_Sheet_UserCh")
            rxLine = i;
    ASSERT_LT(rxLine, differences.size());

    // Another sheet is open when the difference is double-clicked: the program goes to the cell.
    OpenNode(QStringLiteral("Band edges"));
    QTreeWidget* list = window->List();
    QTreeWidgetItem* line = list->topLevelItem(int(rxLine));
    ASSERT_NE(line, nullptr);
    list->scrollToItem(line);
    const QPoint at = list->visualItemRect(line).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(
        WaitUntil([this] { return Sheet() && Sheet()->GetReference() == "GI_Sheet_UserCh"; }));
    EXPECT_EQ(Sheet()->CursorCol(), kRx);
    EXPECT_EQ(Sheet()->CursorRow(), 2);
    EXPECT_EQ(TreeView()->currentItem()->text(0), QStringLiteral("User channels"));
    EXPECT_TRUE(WaitUntil([this] { return GridHasFocus(); }));
    window->close();

    // Undo takes the whole import back.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Shown(kRx, 2), "");
    EXPECT_EQ(Shown(4, 2), "");
}

}  // namespace
