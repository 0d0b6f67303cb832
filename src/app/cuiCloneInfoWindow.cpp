#include "app/cuiCloneInfoWindow.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"
#include "ui/sheet/cuiSheetFactory.h"
#include "ui/windows/cuiPlacement.h"

cuiCloneInfoWindow::cuiCloneInfoWindow(QWidget* mainWindow, const cuiMainCore& core,
                                       cmcGTex& dictionary, const cuiImageList* images)
    : QDialog(mainWindow) {
    setObjectName(QStringLiteral("cloneInformation"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLocal8Bit(dictionary.Text("GI_Sys_AppTitle").c_str()));
    auto* layout = new QVBoxLayout(this);
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("cloneInformationSheet"));
    layout->addWidget(area, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close_ = buttons->button(QDialogButtonBox::Close);
    close_->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);

    sheet_ = cuiCreateSheet(core, area, "GI_Sheet_CloneInfo", dictionary, images);
    sheet_->Build();
    // The whole sheet in view, without scroll bars and without room to spare: the grid's
    // cells, its frame and its panel's bevel, and the title above.
    cuiGrid* grid = sheet_->Grid();
    const int around = 2 * grid->frameWidth() + 8;
    int width = grid->ContentWidth() + around;
    int height = grid->ContentHeight() + around;
    if (QLabel* title = sheet_->TitleLabel()) {
        width = std::max(width, title->sizeHint().width() + 8);
        height += title->parentWidget()->height();
    }
    area->setFixedSize(width, height);
    adjustSize();
    CenterOver(this, mainWindow);
    close_->setFocus();
}

cuiCloneInfoWindow::~cuiCloneInfoWindow() {
    // The sheet's widgets are this window's children: the sheet goes first.
    sheet_.reset();
}
