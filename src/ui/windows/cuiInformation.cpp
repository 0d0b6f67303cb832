#include "ui/windows/cuiInformation.h"

#include <QPushButton>

#include "text/cmcGTex.h"
#include "ui/sheet/cuiGrid.h"
#include "ui/sheet/cuiSheet.h"

cuiInformation* cuiInformation::Show(const cuiMainCore& core, QWidget* owner,
                                     const std::string& caption, cmcGTex& dictionary,
                                     const std::string& baseName, const cuiImageList* images) {
    return new cuiInformation(core, owner, caption, dictionary, baseName, images);
}

cuiInformation::cuiInformation(const cuiMainCore& core, QWidget* owner, const std::string& caption,
                               cmcGTex& dictionary, const std::string& baseName,
                               const cuiImageList* images)
    : cuiSheetDialog(core, owner, "information", caption, dictionary, baseName, images),
      owner_(owner) {
    sheet_->Grid()->SetScrollBarsEnabled(false);
    button_ = new QPushButton(
        QString::fromLocal8Bit(dictionary.Text("GI_AppInd_Button_OkCancel").c_str()), this);
    button_->setDefault(true);  // Enter; Escape is the dialog's own cancel
    connect(button_, &QPushButton::clicked, this, &QDialog::close);
    AddButtons(PanelHeight(sheet_->FullHeight()), {button_});

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
