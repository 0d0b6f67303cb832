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

#include "app/cuiAppText.h"
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
    cmcGTex& texts = *cmcGTex::Main();
    const auto line = [&texts](int n) { return texts.Line(kTextsKey, n); };
    // A count and its word, for one or for more.
    const auto count = [&line](std::size_t n, int one) {
        return QStringList{QString::number(n), cuiLocalText(line(n == 1 ? one : one + 1))};
    };
    setObjectName(QStringLiteral("compareWindow"));
    setWindowTitle(cuiFillText(line(kTitleLine), {U(nameA), U(nameB)}));
    auto* layout = new QVBoxLayout(this);

    std::set<std::string> sheets;
    for (const cuiImageDifference& d : comparison_.differences)
        sheets.insert(d.reference);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    if (comparison_.Equal())
        summary_->setText(cuiFillText(line(kSameLine), {U(nameA), U(nameB)}));
    else
        summary_->setText(cuiFillText(
            line(kSummaryLine), count(comparison_.differences.size(), kCellLine) +
                                    count(sheets.size(), kSheetLine) +
                                    count(std::size_t(comparison_.differentBytes), kByteLine)));
    layout->addWidget(summary_);

    list_ = new QTreeWidget(this);
    QStringList captions;
    for (int n = 0; n < 3; ++n)
        captions << cuiLocalText(texts.Line("GI_Compare_Columns", n));
    FillList(list_, comparison_, captions << U(nameA) << U(nameB));
    connect(list_, &QTreeWidget::itemActivated, this, &cuiCompareWindow::OnActivated);
    layout->addWidget(list_, 1);

    unshown_ = new QLabel(this);
    unshown_->setWordWrap(true);
    unshown_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!comparison_.unshown.empty())
        unshown_->setText(cuiFillText(texts.Text("GI_Mess_Preview_Unshown"),
                                      {QString::fromLatin1(comparison_.UnshownText().c_str())}));
    unshown_->setVisible(!comparison_.unshown.empty());
    layout->addWidget(unshown_);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    close_ = new QPushButton(cuiLocalText(line(kCloseLine)), this);
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
