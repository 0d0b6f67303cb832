#pragma once

#include <QPointer>
#include <string>

#include "cells/cuiMainCore.h"
#include "ui/windows/cuiSheetDialog.h"

class QPushButton;
class cmcGTex;
class cuiImageList;

// The information window: a read-only sheet (the clone information) in a dialog-style window
// with one OK button. It behaves as modal without a modal loop: its owner is disabled while it is
// open, and enabled and given the focus again when it goes. Made with Show; the window deletes
// itself when it closes (its button, Escape or its close box).
class cuiInformation : public cuiSheetDialog {
    Q_OBJECT
public:
    // Shows the window centred over the owner, with the caption and the sheet baseName of the
    // dictionary; returns it (not owned by the caller).
    static cuiInformation* Show(const cuiMainCore& core, QWidget* owner, const std::string& caption,
                                cmcGTex& dictionary, const std::string& baseName,
                                const cuiImageList* images);
    ~cuiInformation() override;

    QPushButton* Button() const { return button_; }

private:
    cuiInformation(const cuiMainCore& core, QWidget* owner, const std::string& caption,
                   cmcGTex& dictionary, const std::string& baseName, const cuiImageList* images);

    QPointer<QWidget> owner_;
    QPointer<QWidget> focusBefore_;  // the control of the owner's window that had the focus
    QPushButton* button_ = nullptr;
};

// The entry point the views' controller calls for the clone information window (the caption
// "GI_Sys_AppTitle"'s text, the sheet "GI_Sheet_CloneInfo"): shows the window over the owner.
void cuiShowInformation(const cuiMainCore& core, QWidget* owner, const std::string& title,
                        cmcGTex& dictionary, const std::string& sheetName,
                        const cuiImageList* images);
