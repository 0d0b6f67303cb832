#pragma once

#include <QDialog>

#include "ui/table/cuiImageCompare.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class cmcGTex;

// The question before a clone write once the radio has been read: what the write changes
// there, cell by cell in the compare window's form (sheet, row, column, the radio's text, the
// new text), with Write and Cancel. When nothing differs it says that the radio already holds
// this data, and still offers the write.
class cuiWritePreview : public QDialog {
    Q_OBJECT
public:
    // comparison: the radio's image (A) against what the write leaves there (B); same: the
    // clone range holds no byte that the write would change.
    cuiWritePreview(QWidget* owner, cmcGTex& dictionary, const cuiImageComparison& comparison,
                    bool same);

    QLabel* Question() const { return question_; }
    QLabel* Summary() const { return summary_; }
    QTreeWidget* List() const { return list_; }
    QLabel* UnshownBytes() const { return unshown_; }
    QPushButton* WriteButton() const { return write_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QLabel* question_;
    QLabel* summary_;
    QTreeWidget* list_;
    QLabel* unshown_;
    QPushButton* write_;
    QPushButton* cancel_;
};
