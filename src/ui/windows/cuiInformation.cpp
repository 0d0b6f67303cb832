#include "ui/windows/cuiInformation.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/windows/cuiBevelPanel.h"
#include "ui/windows/cuiPlacement.h"

namespace {

constexpr int kBevel = 2;
constexpr int kBorder = 8;
constexpr int kButtonMargin = 5;  // from the client area's right and bottom edges

}  // namespace

cuiInformation* cuiInformation::Show(const cuiMainCore& core, QWidget* owner,
                                     const std::string& caption, cmcGTex& dictionary,
                                     const std::string& baseName, const cuiImageList* images) {
    return new cuiInformation(core, owner, caption, dictionary, baseName, images);
}

cuiInformation::cuiInformation(const cuiMainCore& core, QWidget* owner, const std::string& caption,
                               cmcGTex& dictionary, const std::string& baseName,
                               const cuiImageList* images)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      owner_(owner) {
    setObjectName(QStringLiteral("information"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLocal8Bit(caption.c_str()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel = new cuiBevelPanel(this, kBevel, kBorder, true);
    panel_ = panel;
    layout->addWidget(panel_);
    sheet_ = std::make_unique<cuiSheet>(core, panel->Client(), nullptr, 0, 0, dictionary, baseName,
                                        images);
    sheet_->Build();
    sheet_->Grid()->SetScrollBarsEnabled(false);
    const int width = sheet_->FullWidth() + panel->Chrome();
    const int panelHeight = sheet_->FullHeight() + panel->Chrome();
    panel_->setFixedHeight(panelHeight);

    button_ = new QPushButton(
        QString::fromLocal8Bit(dictionary.Text("GI_AppInd_Button_OkCancel").c_str()), this);
    button_->setDefault(true);  // Enter; Escape is the dialog's own cancel
    connect(button_, &QPushButton::clicked, this, &QDialog::close);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, kButtonMargin, kButtonMargin, kButtonMargin);
    bottom->addStretch(1);
    bottom->addWidget(button_);
    layout->addLayout(bottom);
    setFixedSize(width, panelHeight + button_->sizeHint().height() + 2 * kButtonMargin);
    CenterOver(this, owner);

    // Modal without a modal loop: the owner takes no input meanwhile. A disabled owner would
    // disable this window too, which is its child.
    if (owner_) {
        focusBefore_ = owner_->window()->focusWidget();
        owner_->setEnabled(false);
    }
    setEnabled(true);
    show();
    // Its owner takes no input now, so this window is where the keys must go.
    activateWindow();
    button_->setFocus(Qt::OtherFocusReason);
}

cuiInformation::~cuiInformation() {
    sheet_.reset();
    if (owner_) {
        owner_->setEnabled(true);
        owner_->activateWindow();
        // Disabling took the focus from the owner's controls; it goes back where it was.
        QWidget* focus = focusBefore_ ? focusBefore_.data() : owner_.data();
        focus->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void cuiShowInformation(const cuiMainCore& core, QWidget* owner, const std::string& title,
                        cmcGTex& dictionary, const std::string& sheetName,
                        const cuiImageList* images) {
    cuiInformation::Show(core, owner, title, dictionary, sheetName, images);
}
