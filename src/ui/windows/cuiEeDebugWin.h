#pragma once

#include <string>

#include "cells/cuiMainCore.h"
#include "ui/windows/cuiSheetDialog.h"

class QPushButton;
class cmcGTex;
class cuiImageList;
struct cmcEvent;

// The memory dump window: a modeless dialog with a sheet that lists the memory image in
// hexadecimal, 16 bytes a row (the byte cells' behaviours show the bytes, red where they differ
// from the reference image, open the bit-field editor on Enter and search the next or previous
// difference with F3 and F4), and three buttons: OK closes it, "Set Comp" sends event 8 and then
// posts event 23, "Redraw" sends event 25.
//
// Event 23 repaints every labelled cell; event 24 with an address moves the cursor to that byte:
// column (address mod 16) x 2 + 3, row address / 16 + 3, so the sheet puts three columns and three
// rows before its byte cells. The controller makes it with new from its Debug menu (caption: the
// text of "GI_Sys_AppTitle", base name "GI_Sheet_EeDebugWin"); it deletes itself when closed.
class cuiEeDebugWin : public cuiSheetDialog {
    Q_OBJECT
public:
    static constexpr const char* kBaseName = "GI_Sheet_EeDebugWin";
    static constexpr int kBytesPerRow = 16;
    static constexpr int kFirstByteCol = 3;
    static constexpr int kFirstByteRow = 3;

    // Shows the window at once, centred over the owner (which stays enabled).
    cuiEeDebugWin(const cuiMainCore& core, QWidget* owner, const std::string& caption,
                  cmcGTex& dictionary, const std::string& baseName, const cuiImageList* images);
    ~cuiEeDebugWin() override;

    QPushButton* OkButton() const { return ok_; }
    QPushButton* SetCompButton() const { return setComp_; }
    QPushButton* RedrawButton() const { return redraw_; }

    // The cell of the byte at an address; false when the sheet has no such row.
    bool CellOfAddress(int address, int* col, int* row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static void OnEvent(void* self, const cmcEvent& event);
    void SetComp();
    void Redraw();

    QPushButton* ok_ = nullptr;
    QPushButton* setComp_ = nullptr;
    QPushButton* redraw_ = nullptr;
    bool registered_ = false;
};
