#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

#include "ui/table/cuiImageCompare.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The compare window: the differences between two images (cuiCompareImages), one line per cell
// with its sheet, row, column and both texts, and the bytes no sheet shows below the list. A
// line activated (double click, Enter) is handed to the open-cell callback, so that the program
// opens that sheet at that cell; the window stays open beside it.
class cuiCompareWindow : public QDialog {
    Q_OBJECT
public:
    using OpenCellCallback = void (*)(void* context, const cuiImageDifference& difference);
    // The width it opens with at least.
    static constexpr int kMinimumWidth = 760;
    // Its texts: the lines of "GI_Compare_Window" (the column captions are "GI_Compare_Columns").
    static constexpr const char* kTextsKey = "GI_Compare_Window";
    enum TextLine {
        kTitleLine = 0,
        kSameLine,
        kSummaryLine,
        kCloseLine,
        kOwnImageLine,  // the name of the program's working image
        kCellLine,      // then each word for one and for more: cells, sheets, bytes
        kCellsLine,
        kSheetLine,
        kSheetsLine,
        kByteLine,
        kBytesLine,
    };

    // nameA, nameB: what the two images are (the working image's name, a file name), UTF-8.
    // The texts come from the program's dictionary (cmcGTex::Main).
    cuiCompareWindow(QWidget* owner, const cuiImageComparison& comparison, const std::string& nameA,
                     const std::string& nameB);

    void SetOpenCellCallback(OpenCellCallback callback, void* context);

    // Fills a list with one line per difference (sheet, row, column, both texts) under the five
    // column captions, each line's data its index in the comparison; the first line current.
    // The write preview shows its comparison in this same form.
    static void FillList(QTreeWidget* list, const cuiImageComparison& comparison,
                         const QStringList& captions);

    const cuiImageComparison& Comparison() const { return comparison_; }
    QTreeWidget* List() const { return list_; }
    QLabel* Summary() const { return summary_; }
    QLabel* UnshownBytes() const { return unshown_; }
    QPushButton* CloseButton() const { return close_; }

private slots:
    void OnActivated(QTreeWidgetItem* item, int column);

private:
    // The width for every column, within the host's work area.
    int FittingWidth() const;

    cuiImageComparison comparison_;
    OpenCellCallback callback_ = nullptr;
    void* context_ = nullptr;
    QLabel* summary_;
    QTreeWidget* list_;
    QLabel* unshown_;
    QPushButton* close_;
};
