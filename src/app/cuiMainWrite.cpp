// The GUI controller's part of the clone write: the preview question with the comparison of the
// radio and the data, the cells a read back found different, and the Clone menu's check item
// for the read back after a write.
#include <QAction>
#include <QMenu>
#include <algorithm>

#include "app/TForm1.h"
#include "app/cuiAppText.h"
#include "app/cuiMain.h"
#include "app/cuiWritePreview.h"
#include "cells/cmcCellNames.h"
#include "text/cmcGTex.h"
#include "ui/chrome/cuiMenu.h"
#include "ui/table/cuiImageCompare.h"
#include "ui/windows/cuiPlacement.h"

int cuiMain::ConfirmWritePreview(const cmcEeprom& radio, const cmcEeprom& next) {
    if (!form_)
        return kPreviewNotShown;
    const cuiImageComparison comparison = cuiCompareImages(Core(), radio, next);
    cuiFocusBack focus(form_);  // the keyboard goes back where it was
    cuiWritePreview dialog(form_, Dictionary(), comparison, session_.PreviewDifferingBytes() == 0);
    return dialog.exec() == QDialog::Accepted ? kPreviewWrite : kPreviewCancel;
}

std::vector<std::string> cuiMain::DifferingCells(const cmcEeprom& a, const cmcEeprom& b, int limit,
                                                 int* count) {
    const cuiImageComparison comparison = cuiCompareImages(Core(), a, b);
    if (count != nullptr)
        *count = static_cast<int>(comparison.differences.size());
    return comparison.Lines(static_cast<std::size_t>(std::max(limit, 0)));
}

void cuiMain::AddWriteItems() {
    QAction* info = menu_ ? menu_->FindItemByLabel(CL_Menu_Clone_Info) : nullptr;
    QMenu* clone = nullptr;
    if (info != nullptr)
        for (QObject* o : info->associatedObjects())
            if ((clone = qobject_cast<QMenu*>(o)) != nullptr)
                break;
    if (clone == nullptr)
        return;
    clone->addSeparator();
    verifyItem_ = new QAction(cuiLocalText(Dictionary().Text("GI_Menu_Clone_Verify")), form_);
    verifyItem_->setObjectName(QStringLiteral("verifyAfterWrite"));
    verifyItem_->setCheckable(true);
    verifyItem_->setChecked(session_.VerifyAfterWriteSetting());
    clone->addAction(verifyItem_);
    // Only the technician's choice changes the setting: the menu's refresh of its cells' states
    // may set the check mark of an item without a cell, which must not reach the setting.
    QObject::connect(verifyItem_, &QAction::triggered, form_,
                     [this](bool on) { session_.SetVerifyAfterWriteSetting(on); });
    // The menu shows the setting as it is, after the refresh.
    QObject::connect(clone, &QMenu::aboutToShow, form_,
                     [this] { verifyItem_->setChecked(session_.VerifyAfterWriteSetting()); });
}
