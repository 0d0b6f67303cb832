#include "app/cuiFindWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/cuiAppText.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"

namespace {

constexpr int kIndexRole = Qt::UserRole;

QString U(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

}  // namespace

cuiFindWindow::cuiFindWindow(QWidget* owner, cmcGTex& dictionary)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dictionary_(dictionary) {
    setObjectName(QStringLiteral("findWindow"));
    setWindowTitle(cuiLocalText(dictionary.Line("GI_Find_Window", 0)));
    auto* layout = new QVBoxLayout(this);

    auto* fields = new QGridLayout;
    auto* label = new QLabel(cuiLocalText(dictionary.Line("GI_Find_Window", 1)), this);
    text_ = new QLineEdit(this);
    text_->setMaxLength(256);
    label->setBuddy(text_);
    fields->addWidget(label, 0, 0);
    fields->addWidget(text_, 0, 1, 1, 3);
    matchCase_ = new QCheckBox(cuiLocalText(dictionary.Line("GI_Find_Window", 2)), this);
    wholeCell_ = new QCheckBox(cuiLocalText(dictionary.Line("GI_Find_Window", 3)), this);
    scope_ = new QComboBox(this);
    scope_->addItem(cuiLocalText(dictionary.Line("GI_Find_Window", 4)));  // this sheet
    scope_->addItem(cuiLocalText(dictionary.Line("GI_Find_Window", 5)));  // all sheets
    scope_->setCurrentIndex(1);
    fields->addWidget(matchCase_, 1, 1);
    fields->addWidget(wholeCell_, 1, 2);
    fields->addWidget(scope_, 1, 3);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    next_ = new QPushButton(cuiLocalText(dictionary.Line("GI_Find_Window", 6)), this);
    previous_ = new QPushButton(cuiLocalText(dictionary.Line("GI_Find_Window", 7)), this);
    listAll_ = new QPushButton(cuiLocalText(dictionary.Line("GI_Find_Window", 8)), this);
    auto* close = new QPushButton(cuiLocalText(dictionary.Line("GI_Find_Window", 9)), this);
    // Enter in the text field finds the next match; Enter on a line of the list opens that line
    // only, so no button is the dialog's default.
    for (QPushButton* b : {next_, previous_, listAll_, close})
        b->setAutoDefault(false);
    connect(text_, &QLineEdit::returnPressed, this, [this] { Ask(Step::Next); });
    buttons->addWidget(next_);
    buttons->addWidget(previous_);
    buttons->addWidget(listAll_);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(next_, &QPushButton::clicked, this, [this] { Ask(Step::Next); });
    connect(previous_, &QPushButton::clicked, this, [this] { Ask(Step::Previous); });
    connect(listAll_, &QPushButton::clicked, this, [this] {
        if (listCallback_ != nullptr)
            listCallback_(context_);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    auto* shiftF3 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] { Ask(Step::Next); });
    connect(shiftF3, &QShortcut::activated, this, [this] { Ask(Step::Previous); });

    count_ = new QLabel(this);
    count_->hide();
    layout->addWidget(count_);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList captions;
    for (int n = 0; n < 4; ++n)
        captions << cuiLocalText(dictionary.Line("GI_Find_Columns", n));
    list_->setHeaderLabels(captions);
    list_->hide();
    connect(list_, &QTreeWidget::itemActivated, this, &cuiFindWindow::OnActivated);
    layout->addWidget(list_, 1);
    resize(560, 140);
}

void cuiFindWindow::SetCallbacks(StepCallback step, ListCallback list, OpenCallback open,
                                 void* context) {
    step_ = step;
    listCallback_ = list;
    open_ = open;
    context_ = context;
}

std::string cuiFindWindow::Text() const {
    return text_->text().toUtf8().toStdString();
}

cuiFindOptions cuiFindWindow::Options() const {
    cuiFindOptions options;
    options.matchCase = matchCase_->isChecked();
    options.wholeCell = wholeCell_->isChecked();
    return options;
}

bool cuiFindWindow::AllSheets() const {
    return scope_->currentIndex() == 1;
}

void cuiFindWindow::ShowMatches(const std::vector<cuiFindMatch>& matches) {
    matches_ = matches;
    list_->clear();
    for (std::size_t i = 0; i < matches_.size(); ++i) {
        const cuiFindMatch& m = matches_[i];
        auto* item = new QTreeWidgetItem(
            list_, {U(m.sheetCaption), U(m.rowCaption), U(m.columnCaption), U(m.text)});
        item->setData(0, kIndexRole, int(i));
    }
    for (int c = 0; c < list_->columnCount(); ++c) {
        list_->resizeColumnToContents(c);
        list_->setColumnWidth(c, list_->columnWidth(c) + 16);
    }
    count_->setText(cuiLocalText(
        FormatText(dictionary_.Text("GI_Find_Count"), {std::to_string(matches_.size())})));
    count_->show();
    list_->show();
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    if (height() < 360)
        resize(width() < 640 ? 640 : width(), 420);
}

void cuiFindWindow::Raise() {
    show();
    raise();
    activateWindow();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
}

void cuiFindWindow::Ask(Step step) {
    if (step_ != nullptr)
        step_(context_, step);
}

void cuiFindWindow::OnActivated(QTreeWidgetItem* item, int) {
    if (item == nullptr || open_ == nullptr)
        return;
    const int index = item->data(0, kIndexRole).toInt();
    if (index < 0 || std::size_t(index) >= matches_.size())
        return;
    open_(context_, matches_[std::size_t(index)]);
}
