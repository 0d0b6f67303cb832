#include "app/cuiCompareWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "platform/cmcHost.h"

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString U(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

}  // namespace

cuiCompareWindow::cuiCompareWindow(QWidget* owner, const cuiImageComparison& comparison,
                                   const std::string& nameA, const std::string& nameB)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowMinMaxButtonsHint),
      comparison_(comparison) {
    setObjectName(QStringLiteral("compareWindow"));
    setWindowTitle(QStringLiteral("Compare: %1 with %2").arg(U(nameA), U(nameB)));
    auto* layout = new QVBoxLayout(this);

    std::set<std::string> sheets;
    for (const cuiImageDifference& d : comparison_.differences)
        sheets.insert(d.reference);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    if (comparison_.Equal())
        summary_->setText(QStringLiteral("%1 and %2 hold the same image.").arg(U(nameA), U(nameB)));
    else
        summary_->setText(
            QStringLiteral("%1 %2 in %3 %4 (%5 %6). Double-click a line to open its "
                           "sheet at the cell.")
                .arg(comparison_.differences.size())
                .arg(comparison_.differences.size() == 1 ? "cell differs" : "cells differ")
                .arg(sheets.size())
                .arg(sheets.size() == 1 ? "sheet" : "sheets")
                .arg(comparison_.differentBytes)
                .arg(comparison_.differentBytes == 1 ? "byte" : "bytes"));
    layout->addWidget(summary_);

    list_ = new QTreeWidget(this);
    FillList(list_, comparison_,
             {QStringLiteral("Sheet"), QStringLiteral("Row"), QStringLiteral("Column"), U(nameA),
              U(nameB)});
    connect(list_, &QTreeWidget::itemActivated, this, &cuiCompareWindow::OnActivated);
    layout->addWidget(list_, 1);

    unshown_ = new QLabel(this);
    unshown_->setWordWrap(true);
    unshown_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!comparison_.unshown.empty())
        unshown_->setText(QStringLiteral("Bytes no sheet shows differ at %1.")
                              .arg(QString::fromLatin1(comparison_.UnshownText().c_str())));
    unshown_->setVisible(!comparison_.unshown.empty());
    layout->addWidget(unshown_);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    // Enter belongs to the list: it opens the line's cell.
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    bottom->addWidget(close_);
    layout->addLayout(bottom);
    resize(FittingWidth(), 420);
}

int cuiCompareWindow::FittingWidth() const {
    // Wide enough for every column where the work area allows, so that no text of a difference
    // is only reached by scrolling; never narrower than it always was, unless the work area is.
    int columns = 0;
    for (int c = 0; c < list_->columnCount(); ++c)
        columns += list_->columnWidth(c);
    const QMargins margins = layout()->contentsMargins();
    const int needed = columns + 2 * list_->frameWidth() +
                       list_->verticalScrollBar()->sizeHint().width() + margins.left() +
                       margins.right();
    const int available = cmcHost::Instance().WorkArea().width;
    return std::max(std::min(std::max(kMinimumWidth, needed), available), 1);
}

void cuiCompareWindow::FillList(QTreeWidget* list, const cuiImageComparison& comparison,
                                const QStringList& captions) {
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHeaderLabels(captions);
    for (std::size_t i = 0; i < comparison.differences.size(); ++i) {
        const cuiImageDifference& d = comparison.differences[i];
        auto* item = new QTreeWidgetItem(
            list, {U(d.sheetCaption), U(d.rowCaption), U(d.columnCaption), U(d.textA), U(d.textB)});
        item->setData(0, kIndexRole, int(i));
        item->setToolTip(0, U(d.reference));
    }
    // Room between the columns, so that one text does not run into the next.
    for (int c = 0; c < list->columnCount(); ++c) {
        list->resizeColumnToContents(c);
        list->setColumnWidth(c, list->columnWidth(c) + 16);
    }
    if (list->topLevelItemCount() > 0)
        list->setCurrentItem(list->topLevelItem(0));
}

void cuiCompareWindow::SetOpenCellCallback(OpenCellCallback callback, void* context) {
    callback_ = callback;
    context_ = context;
}

void cuiCompareWindow::OnActivated(QTreeWidgetItem* item, int) {
    if (!item || !callback_)
        return;
    const int index = item->data(0, kIndexRole).toInt();
    if (index < 0 || std::size_t(index) >= comparison_.differences.size())
        return;
    callback_(context_, comparison_.differences[std::size_t(index)]);
}
