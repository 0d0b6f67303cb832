#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "cells/cuiMainCore.h"

class QFrame;
class QPushButton;
class cmcGTex;
class cuiImageList;
class cuiSheet;

// The frame of the windows that show one sheet of the resource file above a row of buttons (the
// information window, the memory window): a dialog with a title bar and a close box only, deleted
// when it closes; a bevelled panel fills its top, and the sheet is built in the panel at once.
// The window sizes its panel, adds its buttons with AddButtons, which fixes its size and centres
// it over the owner.
class cuiSheetDialog : public QDialog {
public:
    cuiSheet* Sheet() const { return sheet_.get(); }
    QFrame* Panel() const { return panel_; }

protected:
    cuiSheetDialog(const cuiMainCore& core, QWidget* owner, const char* objectName,
                   const std::string& caption, cmcGTex& dictionary, const std::string& baseName,
                   const cuiImageList* images);
    ~cuiSheetDialog() override;

    // The width the whole sheet takes in the panel, the panel's frame included.
    int FullPanelWidth() const;
    // The height the panel is given for a sheet area of sheetHeight pixels.
    int PanelHeight(int sheetHeight) const;
    // Fixes the panel's height, puts the buttons side by side at the bottom right under it, in
    // the order given, and gives the window its size (the panel's width) and place.
    void AddButtons(int panelHeight, const std::vector<QPushButton*>& buttons);

    std::unique_ptr<cuiSheet> sheet_;

private:
    QFrame* panel_ = nullptr;
    int chrome_ = 0;
};
