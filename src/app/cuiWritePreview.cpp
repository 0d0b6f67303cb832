#include "app/cuiWritePreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/cuiAppText.h"
#include "app/cuiCompareWindow.h"
#include "text/cmcGTex.h"
#include "text/cmcTextFormat.h"
#include "text/cmcTextUtil.h"

cuiWritePreview::cuiWritePreview(QWidget* owner, cmcGTex& dictionary,
                                 const cuiImageComparison& comparison, bool same)
    : QDialog(owner) {
    setObjectName(QStringLiteral("writePreview"));
    setWindowTitle(cuiLocalText(dictionary.Text("GI_Mess_Preview_Title")));
    auto* layout = new QVBoxLayout(this);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    summary_->setText(
        same ? cuiLocalText(dictionary.Text("GI_Mess_Preview_Same"))
             : cuiLocalText(FormatText(dictionary.Text("GI_Mess_Preview_Count"),
                                       {std::to_string(comparison.differences.size())})));
    layout->addWidget(summary_);

    list_ = new QTreeWidget(this);
    QStringList captions;
    for (int n = 0; n < 5; ++n)
        captions << cuiLocalText(dictionary.Line("GI_Mess_Preview_Columns", n));
    cuiCompareWindow::FillList(list_, comparison, captions);
    list_->setVisible(!comparison.differences.empty());
    layout->addWidget(list_, 1);

    unshown_ = new QLabel(this);
    unshown_->setWordWrap(true);
    if (!comparison.unshown.empty())
        unshown_->setText(cuiLocalText(
            FormatText(dictionary.Text("GI_Mess_Preview_Unshown"), {comparison.UnshownText()})));
    unshown_->setVisible(!comparison.unshown.empty());
    layout->addWidget(unshown_);

    question_ = new QLabel(this);
    question_->setWordWrap(true);
    question_->setText(cuiLocalText(ReadTextBlock(dictionary, "GI_Mess_Confirm_PreviewWrite")));
    layout->addWidget(question_);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    write_ = new QPushButton(cuiLocalText(dictionary.Text("GI_Mess_Preview_Write")), this);
    cancel_ = new QPushButton(cuiLocalText(dictionary.Text("GI_Mess_Preview_Cancel")), this);
    write_->setDefault(true);
    connect(write_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(write_);
    bottom->addWidget(cancel_);
    layout->addLayout(bottom);
    resize(comparison.differences.empty() ? 520 : 760, comparison.differences.empty() ? 220 : 460);
}
