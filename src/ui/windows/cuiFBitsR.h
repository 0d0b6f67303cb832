#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cells/cmcCellCapsule.h"
#include "cells/cuiMainCore.h"

class QPushButton;
class cmcCellCanvas;
class cmcGTex;
class cuiImageList;
class cuiSheet;
struct cmcEvent;

// The bit-field editor: a small frameless popup beside a cell with one cell per bit of a value.
// Space or a double click toggles a bit; OK, Enter or simply leaving the window (a click
// elsewhere, event 21) hands the value back to the opening cell's behaviour once, as decimal text
// with input kind 2; Cancel or Escape drops it, and so does the opening sheet going away
// (event 1 naming its grid).
//
// Bit cells are numbered 1, 2 ... from the left; cell n stands for bit 26 - n of the value (cell
// 1 is bit 25), so a byte is edited as the byte shifted left by 18 with bits 1 to 8. Its sheet is
// a named resource sheet, or one generated from the bit range ("GI_Sheet_FBitsR"), whose cell
// models come from the main dictionary as every sheet's do. Made with Open; the object deletes
// itself once its window has closed.
class cuiFBitsR : public QWidget {
    Q_OBJECT
public:
    // Header styles of the generated sheet: the bit numbers in decimal, in hexadecimal, or in
    // decimal with 10 shown as 0.
    enum HeaderStyle : uint8_t { kHeaderDecimal = 0, kHeaderHex = 1, kHeaderTenAsZero = 2 };
    // How a set bit is marked: the text "o", or a drawn tick.
    enum MarkStyle : uint8_t { kMarkText = 0, kMarkTick = 1 };
    static constexpr const char* kGeneratedBaseName = "GI_Sheet_FBitsR";

    // Opens the editor and returns it (the caller does not own it). opener: the capsule of the
    // cell that opened it (copied; its owner control, the opening grid, owns the window;
    // mainWindow does when the opener names no widget). dictionary: the one the named sheet is
    // read from. An empty sheetName generates the sheet for the bit range and header style.
    static cuiFBitsR* Open(const cuiMainCore& core, QWidget* mainWindow,
                           const cmcCellCapsule& opener, cmcGTex& dictionary, uint32_t value,
                           int firstBit, int lastBit, int headerStyle, int markStyle,
                           const std::string& sheetName, const cuiImageList* images);
    ~cuiFBitsR() override;

    // The 32 lines of the generated sheet for a bit range (its pop-up menus' items from the
    // program's dictionary, "GI_Sheet_FBitsR_PMenu").
    static std::vector<std::string> GenerateBitSheet(int firstBit, int lastBit, int headerStyle);
    // The tick a set bit shows with mark style kMarkTick, in a cell rectangle.
    static void DrawTick(cmcCellCanvas& canvas, const cmcCellRect& cell, uint32_t color);

    uint32_t Value() const { return value_; }
    // The value has been handed back.
    bool Done() const { return done_; }
    bool Cancelled() const { return cancelled_; }
    cuiSheet* Sheet() const { return sheet_.get(); }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // OK: hands the value back (once) and closes.
    void CommitBits();
    // Cancel: closes without handing anything back.
    void Cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    cuiFBitsR(const cuiMainCore& core, QWidget* owner, const cmcCellCapsule& opener,
              cmcGTex& dictionary, uint32_t value, int firstBit, int lastBit, int headerStyle,
              int markStyle, const std::string& sheetName, const cuiImageList* images);
    void BuildWindow(const cuiImageList* images, const std::string& sheetName);
    // Leaving the window: the value goes back unless cancelled.
    void Deactivated();
    void Release();
    static int Behaviour(void* self, cmcCellCapsule& capsule, bool notify);
    static void OnEvent(void* self, const cmcEvent& event);

    cuiMainCore core_;
    QObject* ownerControl_;
    QPointer<QWidget> owner_;  // the opening grid, when it is a widget
    cmcCellCapsule opening_;
    cmcGTex& dictionary_;
    std::unique_ptr<cmcGTex> generated_;
    std::vector<std::string> lines_;
    std::vector<const char*> linePointers_;
    uint32_t value_;
    int firstBit_;
    int lastBit_;
    uint8_t headerStyle_;
    uint8_t markStyle_;
    std::unique_ptr<cuiSheet> sheet_;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool done_ = false;
    bool cancelled_ = false;
    bool released_ = false;
    bool registered_ = false;
};

// The entry point the views' controller calls for cuiViews::OpenBitEditor: opens the editor
// beside the opener's cell with the controller's images.
void cuiOpenBitEditor(const cuiMainCore& core, QWidget* mainWindow, const cmcCellCapsule& opener,
                      cmcGTex& dictionary, uint32_t value, int firstBit, int lastBit,
                      int headerStyle, int markStyle, const std::string& sheetName,
                      const cuiImageList* images);
