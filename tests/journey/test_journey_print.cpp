// Journeys of printing: a sheet and every sheet, printed to a PDF file through the print dialog
// and looked at in the preview; after each the keyboard is back where it was.
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include "Journey.h"

namespace {

class PrintJourney : public Journey {
protected:
    void SetUp() override {
        // Where the print dialog offers its PDF file.
        QDir().mkpath(QString::fromStdString(Path("Documents")));
        Start();
        OpenNode(QStringLiteral("User channels"));
        TabIntoSheet();
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        row_ = Sheet()->CursorRow();
    }
    // The print dialog: the PDF file's name typed into its output field, then Return.
    void WhenPrintDialog(const std::string& pdf) {
        WhenDialog([pdf](QWidget* dialog) {
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
                if (edit->isVisible() && edit->text().endsWith(QStringLiteral(".pdf"))) {
                    edit->setFocus(Qt::TabFocusReason);
                    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                    QTest::keyClicks(edit, QString::fromStdString(pdf));
                }
            QTest::keyClick(dialog, Qt::Key_Return);
        });
    }
    // The keyboard is in the sheet again, on the row it was: the next key moves the cursor.
    void ExpectKeysInTheSheet() {
        ASSERT_TRUE(WaitUntil([this] { return Form()->isEnabled() && GridHasFocus(); }))
            << "the keyboard is not back in the sheet";
        EXPECT_EQ(Sheet()->CursorRow(), row_);
        Key(Qt::Key_Down);
        EXPECT_EQ(Sheet()->CursorRow(), row_ + 1);
    }
    static qint64 Size(const std::string& path) {
        return QFileInfo(QString::fromStdString(path)).size();
    }

    int row_ = 0;
};

TEST_F(PrintJourney, PrintingTheSheetToAFileGivesTheKeyboardBack) {
    const std::string pdf = Path("user-channels.pdf");
    WhenPrintDialog(pdf);
    Key(Qt::Key_P, Qt::ControlModifier);
    WaitForDialogs();
    ASSERT_TRUE(WaitUntil([&] { return Size(pdf) > 0; }));
    ExpectKeysInTheSheet();
}

TEST_F(PrintJourney, PrintingEverySheetToAFileGivesTheKeyboardBack) {
    const std::string pdf = Path("all-sheets.pdf");
    WhenPrintDialog(pdf);
    Choose({QStringLiteral("File"), QStringLiteral("Print all...")});
    WaitForDialogs();
    ASSERT_TRUE(WaitUntil([this] { return Form()->isEnabled(); }));
    ASSERT_TRUE(WaitUntil([&] { return Size(pdf) > 0; }));
    ExpectKeysInTheSheet();
}

TEST_F(PrintJourney, ThePreviewsOfTheSheetAndOfEverySheetShowTheirPagesAndGiveTheKeyboardBack) {
    int sheetPages = 0, allPages = 0;
    for (const QString& item :
         {QStringLiteral("Print preview..."), QStringLiteral("Print preview of all sheets...")}) {
        int* pages = item.contains(QStringLiteral("all")) ? &allPages : &sheetPages;
        WhenDialog([pages](QWidget* dialog) {
            if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
                *pages = widget->pageCount();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Choose({QStringLiteral("File"), item});
        WaitForDialogs();
        ExpectKeysInTheSheet();
        Key(Qt::Key_Up);
    }
    EXPECT_GT(sheetPages, 0);
    EXPECT_GT(allPages, sheetPages);  // every sheet is more than one sheet
}

class PrintWithoutSheet : public Journey {};

TEST_F(PrintWithoutSheet, EverySheetPreviewsWhileNoSheetIsOpenAndTheSheetsPreviewWaitsForOne) {
    Start();  // the radio's root node is selected: it opens no sheet
    ASSERT_EQ(Sheet(), nullptr);
    bool sheet = true, all = false;
    for (const auto& item : ShowMenu(QStringLiteral("File"))) {
        if (item.caption == QStringLiteral("Print preview..."))
            sheet = item.enabled;
        if (item.caption == QStringLiteral("Print preview of all sheets..."))
            all = item.enabled;
    }
    EXPECT_FALSE(sheet);
    ASSERT_TRUE(all);
    int pages = 0;
    WhenDialog([&pages](QWidget* dialog) {
        if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
            pages = widget->pageCount();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Choose({QStringLiteral("File"), QStringLiteral("Print preview of all sheets...")});
    WaitForDialogs();
    EXPECT_GT(pages, 10);
}

}  // namespace
