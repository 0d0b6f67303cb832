#pragma once

#include <memory>

#include <QDialog>

#include "cells/cuiMainCore.h"

class QPushButton;
class cmcGTex;
class cuiImageList;
class cuiSheet;

// What the radio reported at the last identification, in a window of its own over the main
// window: the clone information sheet ("GI_Sheet_CloneInfo") and a button that closes it. It
// blocks nothing; it deletes itself when closed. (A plain stand-in for the information window
// of the dialog set, which shows the same sheet.)
class cuiCloneInfoWindow : public QDialog {
public:
    cuiCloneInfoWindow(QWidget* mainWindow, const cuiMainCore& core, cmcGTex& dictionary,
                       const cuiImageList* images);
    ~cuiCloneInfoWindow() override;

    cuiSheet* Sheet() const { return sheet_.get(); }
    QPushButton* CloseButton() const { return close_; }

private:
    std::unique_ptr<cuiSheet> sheet_;
    QPushButton* close_;
};
