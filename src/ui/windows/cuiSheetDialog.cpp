#include "ui/windows/cuiSheetDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/sheet/cuiSheet.h"
#include "ui/windows/cuiBevelPanel.h"
#include "ui/windows/cuiPlacement.h"

namespace {

constexpr int kBevel = 2;
constexpr int kBorder = 8;
constexpr int kButtonMargin = 5;  // from the client edges, and between the buttons

}  // namespace

cuiSheetDialog::cuiSheetDialog(const cuiMainCore& core, QWidget* owner, const char* objectName,
                               const std::string& caption, cmcGTex& dictionary,
                               const std::string& baseName, const cuiImageList* images)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QString::fromLatin1(objectName));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLocal8Bit(caption.c_str()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* panel = new cuiBevelPanel(this, kBevel, kBorder, true);
    panel_ = panel;
    chrome_ = panel->Chrome();
    layout->addWidget(panel_);
    sheet_ = std::make_unique<cuiSheet>(core, panel->Client(), nullptr, 0, 0, dictionary, baseName,
                                        images);
    sheet_->Build();
}

cuiSheetDialog::~cuiSheetDialog() {
    sheet_.reset();
}

int cuiSheetDialog::FullPanelWidth() const {
    return sheet_->FullWidth() + chrome_;
}

int cuiSheetDialog::PanelHeight(int sheetHeight) const {
    return sheetHeight + chrome_;
}

void cuiSheetDialog::AddButtons(int panelHeight, const std::vector<QPushButton*>& buttons) {
    const int width = FullPanelWidth();
    panel_->setFixedHeight(panelHeight);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, kButtonMargin, kButtonMargin, kButtonMargin);
    bottom->setSpacing(kButtonMargin);
    bottom->addStretch(1);
    int buttonHeight = 0;
    for (QPushButton* b : buttons) {
        bottom->addWidget(b);
        buttonHeight = std::max(buttonHeight, b->sizeHint().height());
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(bottom);
    setFixedSize(width, panelHeight + buttonHeight + 2 * kButtonMargin);
    CenterOver(this, parentWidget());
}
